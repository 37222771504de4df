// Result<T>: a value, or the reason it could not be produced. The one way internal code of the
// platform, the runtime and the window system says that a step failed (docs/errors.md); picture
// decoding, the template block, the unit property blocks and DLL-command binding answer this way.
// Contract: exactly one of value() and error() is meaningful; value() on an error is a
// programming fault (asserted). Errors are short phrases for logs and tests, or the message the
// caller reports as it stands; callers decide what the application learns ("no picture", a
// refused template, a runtime error).
#pragma once

#include <cassert>
#include <cstddef>
#include <string>
#include <utility>
#include <variant>

namespace lyr {

struct Error {
  std::string what;
  std::size_t position = 0;  // byte offset where the fault was found, where the reader reports one
};

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Error error) : state_(std::move(error)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & {
    assert(ok());
    return std::get<0>(state_);
  }
  const T& value() const& {
    assert(ok());
    return std::get<0>(state_);
  }
  T&& value() && {
    assert(ok());
    return std::get<0>(std::move(state_));
  }
  const std::string& error() const {
    assert(!ok());
    return std::get<1>(state_).what;
  }
  const Error& failure() const {
    assert(!ok());
    return std::get<1>(state_);
  }
  Error take_error() && { return std::get<1>(std::move(state_)); }

 private:
  std::variant<T, Error> state_;
};

inline Error fail(std::string what, std::size_t position = 0) {
  return Error{std::move(what), position};
}

// A step that produced nothing but may fail.
struct Done {};
using Status = Result<Done>;
inline Status done() {
  return Done{};
}

}  // namespace lyr

// Propagates the error of an expression yielding Result<...>; otherwise binds its value.
#define LYR_TRY_CONCAT2(a, b) a##b
#define LYR_TRY_CONCAT(a, b) LYR_TRY_CONCAT2(a, b)
#define LYR_TRY_ASSIGN(decl, expr)                                     \
  auto LYR_TRY_CONCAT(lyr_try_, __LINE__) = (expr);                    \
  if (!LYR_TRY_CONCAT(lyr_try_, __LINE__).ok())                        \
    return std::move(LYR_TRY_CONCAT(lyr_try_, __LINE__)).take_error(); \
  decl = std::move(LYR_TRY_CONCAT(lyr_try_, __LINE__)).value()
#define LYR_TRY(expr)                                                        \
  do {                                                                       \
    auto lyr_try_status = (expr);                                            \
    if (!lyr_try_status.ok()) return std::move(lyr_try_status).take_error(); \
  } while (0)
