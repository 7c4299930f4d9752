// A session step that did not give what the session needs: the step's name and what went wrong.
#pragma once

#include <stdexcept>
#include <string>

namespace vxhost {

class SessionFailure : public std::runtime_error {
  public:
    SessionFailure(std::string step, const std::string& reason) : std::runtime_error(reason), step_(std::move(step)) {}
    const std::string& step() const { return step_; }

  private:
    std::string step_;
};

}  // namespace vxhost
