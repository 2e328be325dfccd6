#pragma once

#include <string>

#include "platform/classes/format.h"

// The platform's exception hierarchy. Every failure of the class library and of the
// decoders is raised as an Exception carrying a readable message.
class Exception {
  public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    virtual ~Exception() = default;

    std::string Message;
};

class EOutOfMemory : public Exception {
  public:
    using Exception::Exception;
};

class EInvalidOperation : public Exception {
  public:
    using Exception::Exception;
};

class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

class EStreamError : public Exception {
  public:
    using Exception::Exception;
};

class EFCreateError : public EStreamError {
  public:
    using EStreamError::EStreamError;
};

class EFOpenError : public EStreamError {
  public:
    using EStreamError::EStreamError;
};

class EReadError : public EStreamError {
  public:
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
  public:
    using EStreamError::EStreamError;
};
