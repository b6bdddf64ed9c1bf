#pragma once
// The outcome of a step that can be refused or can fail: true when the step
// was done, otherwise whether it was refused (the input did not suit it,
// said to the user) or failed, with the description of why.

#include <string>
#include <utility>

namespace tarvosen {

class Outcome {
  public:
    enum class Status { Done, Refused, Failed };

    static Outcome Done() { return Outcome(Status::Done, {}); }
    static Outcome Refused(std::string description) {
        return Outcome(Status::Refused, std::move(description));
    }
    static Outcome Failed(std::string description) {
        return Outcome(Status::Failed, std::move(description));
    }

    explicit operator bool() const { return status_ == Status::Done; }
    Status status() const { return status_; }
    // Empty for a step that was done.
    const std::string& description() const { return description_; }

  private:
    Outcome(Status status, std::string description)
        : status_(status), description_(std::move(description)) {}

    Status status_;
    std::string description_;
};

}  // namespace tarvosen
