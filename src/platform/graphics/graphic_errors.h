#pragma once

#include "platform/classes/exception.h"

// Raised for pictures that cannot be read, written or handled: corrupt or unsupported
// files, sizes beyond the decoding limit, invalid pixel formats.
class EInvalidGraphic : public Exception {
  public:
    using Exception::Exception;
};
