#pragma once

#include <stdexcept>
#include <string>

namespace vokari {

// The one family of errors the core raises; windows turn them into messages.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file or folder could not be read, written, created or removed.
class IoError : public Error {
public:
    using Error::Error;
};

// A file's content is not what its reader expects.
class FormatError : public Error {
public:
    using Error::Error;
};

// A keyed collection was asked for a key it does not hold, or given one twice.
class KeyError : public Error {
public:
    using Error::Error;
};

// A caller passed a value the operation refuses.
class ArgumentError : public Error {
public:
    using Error::Error;
};

} // namespace vokari
