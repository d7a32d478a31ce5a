#pragma once
// What a failed Result says, or "" when it succeeded: lets a test compare or print the message
// without reading one that is not there.

#include <string>

#include "util/result.h"

namespace orvane::testing {

template <class T>
std::string FailureText(const Result<T>& result) {
  return result ? std::string() : result.Message();
}

}  // namespace orvane::testing
