// Result<T>: a value, or the reason there is none. Every fallible step of the service (decoding a
// file, reading tags, parsing a request or the config file, asking the upstream) answers this way,
// and the caller decides whether to warn, skip or refuse.
// Contract: exactly one of value() and error() is meaningful; value() on a failure is a
// programming fault (asserted). Reasons are short English phrases, written for logs and replies.
#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace lyr::service {

struct Failure {
  std::string why;
};

inline Failure fail(std::string why) {
  return Failure{std::move(why)};
}

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Failure failure) : state_(std::move(failure)) {}

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
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const std::string& error() const {
    assert(!ok());
    return std::get<1>(state_).why;
  }
  Failure take_failure() && {
    assert(!ok());
    return std::get<1>(std::move(state_));
  }

 private:
  std::variant<T, Failure> state_;
};

// A step that yields nothing but may fail.
struct Done {};
using Status = Result<Done>;
inline Status done() {
  return Done{};
}

}  // namespace lyr::service

// Propagates the failure of an expression yielding a Result; otherwise binds its value.
#define SERVICE_TRY_CONCAT2(a, b) a##b
#define SERVICE_TRY_CONCAT(a, b) SERVICE_TRY_CONCAT2(a, b)
#define SERVICE_TRY_ASSIGN(decl, expr)                                           \
  auto SERVICE_TRY_CONCAT(service_try_, __LINE__) = (expr);                      \
  if (!SERVICE_TRY_CONCAT(service_try_, __LINE__).ok())                          \
    return std::move(SERVICE_TRY_CONCAT(service_try_, __LINE__)).take_failure(); \
  decl = std::move(SERVICE_TRY_CONCAT(service_try_, __LINE__)).value()
#define SERVICE_TRY(expr)                                                              \
  do {                                                                                 \
    auto service_try_status = (expr);                                                  \
    if (!service_try_status.ok()) return std::move(service_try_status).take_failure(); \
  } while (0)
