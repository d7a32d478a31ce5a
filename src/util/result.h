#pragma once
// The one failure style: an operation that can fail returns Result<T>, or Result<> when it
// yields nothing but success. A failure carries one message, worded so that it can be shown
// to the user as it stands. Nothing is thrown across layers; `std::bad_alloc` is the one
// exception the compile thread catches, and it turns into a Result there too.

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace orvane {

struct Failure {
  std::string Message;
};

inline Failure Fail(std::string message) { return Failure{std::move(message)}; }

template <class T = void>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

  bool Ok() const { return state_.index() == 0; }
  explicit operator bool() const { return Ok(); }

  T& Value() {
    assert(Ok());
    return std::get<0>(state_);
  }
  const T& Value() const {
    assert(Ok());
    return std::get<0>(state_);
  }
  T ValueOr(T fallback) const { return Ok() ? std::get<0>(state_) : std::move(fallback); }

  const Failure& Error() const {
    assert(!Ok());
    return std::get<1>(state_);
  }
  const std::string& Message() const { return Error().Message; }

 private:
  std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Failure failure) : failure_(std::move(failure)), ok_(false) {}

  bool Ok() const { return ok_; }
  explicit operator bool() const { return ok_; }

  const Failure& Error() const {
    assert(!ok_);
    return failure_;
  }
  const std::string& Message() const { return Error().Message; }

 private:
  Failure failure_;
  bool ok_ = true;
};

}  // namespace orvane
