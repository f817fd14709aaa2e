#pragma once
// A value a loader made, or the failure that kept it from being made. The platform's loaders answer
// only with an empty handle; keeping the failure lets tests and the command-line tool say why
// ("unknown control class" is not "truncated template" is not "too large").
#include "system/ErrorReport.h"

#include <optional>
#include <utility>

template <typename T> class Made {
public:
    Made(T value) : value_(std::move(value)) {}
    Made(ErrorReport failure) : failure_(std::move(failure)) {}

    explicit operator bool() const { return !failure_.has_value(); }
    T &value() { return value_; }
    const T &value() const { return value_; }
    // The value, or an empty one when it was not made.
    T take() && { return std::move(value_); }
    const std::optional<ErrorReport> &failure() const { return failure_; }

private:
    T value_{};
    std::optional<ErrorReport> failure_;
};

// Runs `make`, keeping a raised failure as the reason instead of letting it travel on.
template <typename F> auto MadeBy(F &&make) -> Made<decltype(make())> {
    try {
        return make();
    } catch (const ErrorReport &failure) {
        return failure;
    }
}
