// The outcome of an operation that can fail, carried across layers instead of
// an exception: ok, or a one-line reason meant for the user.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace qv {

// The common failures of the system the user can do something about; the
// windows say them in their own language, the system's words following.
enum class SystemFailure {
  kOther,
  kNotFound,
  kNoPermission,
  kNoSpace,
  kReadOnly,
  kTooLarge,
  kBusy
};

class Status {
 public:
  static Status Ok() { return Status(); }
  static Status Error(std::string reason) { return Status(std::move(reason)); }
  static Status SystemError(std::string reason, SystemFailure failure) {
    Status status(std::move(reason));
    status.failure_ = failure;
    return status;
  }

  bool ok() const { return reason_.empty(); }
  // Empty when ok.
  const std::string& reason() const { return reason_; }
  // kOther when ok or when the system did not say.
  SystemFailure failure() const { return failure_; }

 private:
  Status() = default;
  explicit Status(std::string reason)
      : reason_(reason.empty() ? std::string("unknown failure") : std::move(reason)) {}

  std::string reason_;
  SystemFailure failure_ = SystemFailure::kOther;
};

// A value, or the Status that says why there is none. Made from either; a
// Result made from a Status must be made from a failed one.
template <typename T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit on purpose
  Result(Status status) : status_(std::move(status)) { assert(!status_.ok()); }  // NOLINT

  bool ok() const { return value_.has_value(); }
  const Status& status() const { return status_; }

  // Only when ok().
  T& value() & { return *value_; }
  const T& value() const& { return *value_; }
  T&& value() && { return std::move(*value_); }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  T& operator*() & { return *value_; }
  const T& operator*() const& { return *value_; }

 private:
  std::optional<T> value_;
  Status status_ = Status::Ok();
};

}  // namespace qv
