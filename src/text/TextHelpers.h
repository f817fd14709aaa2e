#pragma once
#include <QString>
#include <cstdint>
#include <optional>

// The part of the text before its first NUL character, or the whole text.
QString TrimAtNul(const QString &text);
// Whether a node text "reads as a number": one or more ASCII decimal digits and nothing else.
// Integer identifiers are always written so; other forms (signs, blanks, exponents) are names.
bool ReadsAsNumber(const QString &text);
// The value of a text that reads as a number, if it fits 32 bits.
std::optional<std::uint32_t> NumberValue(const QString &text);
