#pragma once

#include <QString>
#include <optional>

// The integer notation the settings file and the port field share: leading spaces, one optional
// sign, then decimal digits within the signed 32-bit range, or one to eight hexadecimal digits
// after "$", "x", "X", "0x" or "0X" taken as a 32-bit two's-complement pattern. Nothing may
// follow the digits; empty text does not conform.
namespace IntegerSyntax {

std::optional<qint32> parse(const QString &text);

// The message of a text that does not conform, as the close of the window reports it.
QString notValidMessage(const QString &text);

} // namespace IntegerSyntax
