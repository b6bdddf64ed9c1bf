#pragma once
// The progress bar of the user interface for the length of a step: begun
// when made, ended when the step ends however it ends, or earlier by end().

#include "app/user_interface.h"

namespace tarvosen {

class ProgressScope {
  public:
    ProgressScope(UserInterface& user, int maximum) : user_(user) { user_.progressBegin(maximum); }
    // Runs while a cancel or a failure unwinds the step: ending the bar must
    // not throw then, or the program ends.
    ~ProgressScope() {
        try {
            end();
        } catch (...) {
        }
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void setPosition(int position) { user_.progressSetPosition(position); }

    void end() {
        if (!active_) return;
        active_ = false;
        user_.progressEnd();
    }

  private:
    UserInterface& user_;
    bool active_ = true;
};

}  // namespace tarvosen
