#pragma once
// The result of an operation that can fail: ok, or an error with a message made
// once, at the point of failure, in words a user can act on.

#include <string>
#include <utility>

namespace pelorine {

class Status {
public:
    static Status ok() { return Status(); }
    static Status error(std::string message) { return Status(std::move(message)); }

    bool isOk() const { return !failed_; }
    explicit operator bool() const { return isOk(); }
    const std::string& message() const { return message_; }

private:
    Status() = default;
    explicit Status(std::string message) : failed_(true), message_(std::move(message)) {}

    bool failed_ = false;
    std::string message_;
};

}  // namespace pelorine
