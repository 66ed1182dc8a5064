#pragma once
// How a run of the engine ends, and the error values that carry that ending
// from the point of failure up to main(). Helpers never exit on their own.

#include <string>
#include <utility>
#include <variant>

#include "records/ExitStatus.h"

namespace zelvic {

// The exit statuses the converter and its tests rely on, shared with them.
using pelorine::ExitStatus;

struct Error {
    ExitStatus code = ExitStatus::Failed;
    std::string message;
};

inline Error badCommandLine(std::string message) {
    return {ExitStatus::BadCommandLine, std::move(message)};
}
inline Error sourceUnreadable(std::string message) {
    return {ExitStatus::SourceUnreadable, std::move(message)};
}
inline Error conversionFailed(std::string message) {
    return {ExitStatus::Failed, std::move(message)};
}

// A value or the error that prevented it.
template <typename T>
class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<T>(state_); }
    const T& value() const { return std::get<T>(state_); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    const Error& error() const { return std::get<Error>(state_); }

private:
    std::variant<T, Error> state_;
};

// Success carries nothing.
struct Nothing {};
using Outcome = Result<Nothing>;
inline Outcome success() {
    return Nothing{};
}

// FFmpeg's text for an error code, made once where the failure is reported.
std::string avErrorText(int code);

}  // namespace zelvic
