// A value or the reason there is none. Fallible steps of the service (decoding a file, reading
// tags, asking the upstream) return this, and the caller decides whether to warn or skip.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace lyr::service {

template <typename T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  static Result failure(std::string why) {
    Result r;
    r.error_ = std::move(why);
    return r;
  }

  explicit operator bool() const { return value_.has_value(); }
  T& value() { return *value_; }
  const T& value() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  const std::string& error() const { return error_; }

 private:
  Result() = default;
  std::optional<T> value_;
  std::string error_;
};

}  // namespace lyr::service
