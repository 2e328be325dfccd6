#include "platform/imaging/byte_reader.h"

#include "platform/classes/format.h"

const uint8_t* TByteReader::Need(size_t Offset, size_t Count) const {
    if (!Has(Offset, Count))
        throw EInvalidGraphic(Format("%s picture is truncated or damaged", kind_));
    return data_ + Offset;
}
