#pragma once
// Failures that end a command. The front ends catch them at the command
// boundary: the window shows the text in an error box, the command line prints
// it and exits with the status named below.

#include <stdexcept>
#include <string>

namespace tarvosen {

// A failure of the platform or of the data: a file that cannot be read or
// written, a number that cannot be converted, a device error. Exit status 3.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FileError : public Failure {
public:
    using Failure::Failure;
};

// A text that must be a number and is not (dialog fields, strict reads).
class ConversionError : public Failure {
public:
    using Failure::Failure;
};

class DeviceError : public Failure {
public:
    using Failure::Failure;
};

// Wrong use of the command line (unknown option, missing argument). Exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command that is in the table but not yet built. Exit status 2.
class NotBuiltError : public UsageError {
public:
    using UsageError::UsageError;
};

}  // namespace tarvosen
