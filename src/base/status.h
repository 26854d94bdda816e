// Results that carry their failure and its cause. A routine deep in an engine returns a
// Status (or a Result<T>); the screen turns it into the system's message. Nothing is
// swallowed and nothing is reported as done that was not done.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace kardo::base {

enum class Code {
  OK,
  NOT_FOUND,            // the file does not exist
  PATH_NOT_FOUND,       // a folder of the path does not exist
  TOO_MANY_OPEN_FILES,
  ACCESS_DENIED,        // permissions, or a share that refuses the open
  LOCKED,               // a lock or a shared/exclusive open held by another process
  EXISTS,               // create-exclusive found the file there
  DAMAGED,              // the file's contents are not sound
  INVALID,              // the caller asked for something impossible (unknown field, bad key)
  DOES_NOT_FIT,         // a value that does not fit its field
  IO,                   // any other failure of the operating system
  CANCELLED,            // the operator gave up (Esc) or a wait ran out
};

class Status {
 public:
  Status() = default;
  Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}
  static Status ok() { return {}; }
  bool is_ok() const { return code_ == Code::OK; }
  explicit operator bool() const { return is_ok(); }
  Code code() const { return code_; }
  const std::string& message() const { return message_; }

 private:
  Code code_ = Code::OK;
  std::string message_;
};

// A value or the Status that explains why there is none.
template <class T>
class Result {
 public:
  Result(T value) : v_(std::move(value)) {}          // NOLINT: implicit by design
  Result(Status failure) : v_(std::move(failure)) {}  // NOLINT
  bool is_ok() const { return v_.index() == 0; }
  explicit operator bool() const { return is_ok(); }
  T& value() { return std::get<0>(v_); }
  const T& value() const { return std::get<0>(v_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  Status status() const { return is_ok() ? Status() : std::get<1>(v_); }

 private:
  std::variant<T, Status> v_;
};

}  // namespace kardo::base
