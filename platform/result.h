#pragma once
// Errors as values: a reader returns either what it read or an Error with a
// readable message (and, for binary files, the byte offset where it stopped).
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace lum {

struct Error {
  std::string message;
  int64_t offset = -1;  // byte offset in the input, -1 when it does not apply

  std::string text() const {
    if (offset < 0) return message;
    return message + " (at byte " + std::to_string(offset) + ")";
  }
};

template <typename T>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Error error) : state_(std::move(error)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<0>(state_); }
  const T& value() const { return std::get<0>(state_); }
  T& operator*() { return value(); }
  T* operator->() { return &value(); }
  const Error& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, Error> state_;
};

// For operations that only succeed or fail.
class Status {
 public:
  Status() = default;
  Status(Error error) : error_(std::move(error)) {}
  bool ok() const { return !error_; }
  explicit operator bool() const { return ok(); }
  const Error& error() const { return *error_; }

 private:
  std::optional<Error> error_;
};

}  // namespace lum
