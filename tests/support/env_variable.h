#pragma once
// Sets an environment variable for a test's length (nullopt: unsets it).

#include <cstdlib>
#include <optional>
#include <string>

namespace orvane::testing {

class EnvVariable {
 public:
  EnvVariable(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) setenv(name, value->c_str(), 1);
    else unsetenv(name);
  }
  ~EnvVariable() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }
  EnvVariable(const EnvVariable&) = delete;
  EnvVariable& operator=(const EnvVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace orvane::testing
