#pragma once
// Failures that end a command. The front ends catch them at the command
// boundary: the window shows the text in an error box, the command line prints
// it and exits with the status named below.

#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "i18n/message_catalogue.h"

namespace tarvosen {

// A failure's text as a catalogue message: its id, its English text with
// places %1..%9, and the values for them.
struct FailureMessage {
    int id = 0;
    std::string english;
    std::vector<std::string> values;
};

// A failure of the platform or of the data: a file that cannot be read or
// written, a number that cannot be converted, a device error. Exit status 3.
// Built from a FailureMessage, it is shown in the user's language; what()
// is always the English text.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit Failure(FailureMessage message)
        : std::runtime_error(FillInValues(message)), message_(std::move(message)) {}

    // The text in the language of `texts`.
    std::string text(const MessageTexts& texts) const {
        if (message_.id == 0) return what();
        return texts(message_.id, message_.english, message_.values);
    }

private:
    static std::string FillInValues(const FailureMessage& m) {
        return MessageTexts{}(m.id, m.english, m.values);
    }

    FailureMessage message_;
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

// What a front end shows for a failure that ended a command: a Failure's
// text in the language of `texts`, any other exception's what().
inline std::string FailureText(const std::exception& e, const MessageTexts& texts) {
    if (const auto* failure = dynamic_cast<const Failure*>(&e)) return failure->text(texts);
    return e.what();
}

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
