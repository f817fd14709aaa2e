#pragma once
// The one failure type of the program: a code and a description, raised where a failure happens
// and caught only by the trap of the command that was running.
#include <QString>
#include <cstdint>
#include <exception>
#include <limits>
#include <type_traits>

class ErrorReport : public std::exception {
public:
    // Codes with a fixed meaning; any other code carries its own description.
    static constexpr qint32 InvalidArgument = 5;
    static constexpr qint32 Overflow = 6;
    static constexpr qint32 OutOfMemory = 7;
    static constexpr qint32 OutOfRange = 9;
    static constexpr qint32 FileNotFound = 53;
    static constexpr qint32 FileAccess = 75;
    static constexpr qint32 InvalidPicture = 481;
    // Reasons a loader made nothing, in the platform's own numbering.
    static constexpr qint32 InvalidMenu = 1401;
    static constexpr qint32 WindowClassNotFound = 1407;
    static constexpr qint32 ResourceNotFound = 1814;
    static constexpr qint32 NotEnoughQuota = 1816;
    static constexpr qint32 DialogCancelled = 32755;

    ErrorReport(qint32 code, QString description) : code_(code), description_(std::move(description)) {}

    qint32 code() const noexcept { return code_; }
    const QString &description() const noexcept { return description_; }
    const char *what() const noexcept override { return "ErrorReport"; }

    [[noreturn]] static void outOfRange();
    [[noreturn]] static void overflow();
    [[noreturn]] static void outOfMemory();
    [[noreturn]] static void invalidArgument();
    [[noreturn]] static void invalidPicture();
    // The reason a loader gives for a resource the file does not hold.
    static ErrorReport missingResource();

private:
    qint32 code_;
    QString description_;
};

// A failure in the program's own words, as a person reads it: its description, or its code where it
// has none.
QString FailureText(const ErrorReport &failure);

// Integer arithmetic that raises code 6 instead of wrapping.
template <typename T> T CheckedAdd(T a, T b) {
    T r;
    if (__builtin_add_overflow(a, b, &r)) ErrorReport::overflow();
    return r;
}
template <typename T> T CheckedSub(T a, T b) {
    T r;
    if (__builtin_sub_overflow(a, b, &r)) ErrorReport::overflow();
    return r;
}
template <typename T> T CheckedMul(T a, T b) {
    T r;
    if (__builtin_mul_overflow(a, b, &r)) ErrorReport::overflow();
    return r;
}
// Narrowing conversion that raises code 6 when the value does not fit.
template <typename To, typename From> To CheckedCast(From v) {
    static_assert(std::is_integral_v<To> && std::is_integral_v<From>);
    To r;
    if (__builtin_add_overflow(v, From{0}, &r)) ErrorReport::overflow();
    return r;
}
