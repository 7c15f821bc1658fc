// An environment variable of this process (and of the children it starts), set for a scope.
#pragma once

#include <string>

namespace quill::test {

// The variable's value; empty when it is not set. `had` tells whether it is.
std::string environmentValue(const char *name, bool *had = nullptr);

// Sets an environment variable for this process and its children while in scope.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const std::string &name, const std::string &value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

  private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};

} // namespace quill::test
