#include "platform/classes/persistent.h"

#include "platform/classes/exception.h"

void TPersistent::Assign(const TPersistent* Source) {
    if (Source == nullptr) throw EConvertError(Format("Cannot assign a nil to a %s", ClassName()));
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
    const char* target = Dest != nullptr ? Dest->ClassName() : "nil";
    throw EConvertError(Format("Cannot assign a %s to a %s", ClassName(), target));
}
