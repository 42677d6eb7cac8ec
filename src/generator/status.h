// The outcome of an operation that can fail, carried across layers instead of
// an exception: ok, or a one-line reason meant for the user.
#pragma once

#include <string>
#include <utility>

namespace qv {

class Status {
 public:
  static Status Ok() { return Status(); }
  static Status Error(std::string reason) { return Status(std::move(reason)); }

  bool ok() const { return reason_.empty(); }
  // Empty when ok.
  const std::string& reason() const { return reason_; }

 private:
  Status() = default;
  explicit Status(std::string reason)
      : reason_(reason.empty() ? std::string("unknown failure") : std::move(reason)) {}

  std::string reason_;
};

}  // namespace qv
