#pragma once

#include <optional>
#include <string>
#include <utility>

namespace sorvel {

// A value, or the reason there is none: what a step that checks outside input returns.
template <typename T>
class Result {
  public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT: a value converts implicitly
    static Result failure(std::string reason) {
        Result r;
        r.reason_ = std::move(reason);
        return r;
    }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when ok().
    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }
    // Only when !ok(): a sentence for a diagnostic line or an alert.
    const std::string& reason() const { return reason_; }

  private:
    Result() = default;
    std::optional<T> value_;
    std::string reason_;
};

}  // namespace sorvel
