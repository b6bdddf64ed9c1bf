#pragma once
// The progress bar of the user interface for the length of a step: begun
// when made, ended when the step ends however it ends, or earlier by end().

#include "app/user_interface.h"

namespace tarvosen {

class ProgressScope {
  public:
    ProgressScope(UserInterface& user, int maximum) : user_(user) { user_.progressBegin(maximum); }
    ~ProgressScope() { end(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void setPosition(int position) { user_.progressSetPosition(position); }

    void end() {
        if (active_) user_.progressEnd();
        active_ = false;
    }

  private:
    UserInterface& user_;
    bool active_ = true;
};

}  // namespace tarvosen
