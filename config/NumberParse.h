#pragma once

#include <QString>
#include <cstdint>

// Number parsing with the C library's rules, independent of the user's locale, so that a typed
// "146.52" means the same on every machine.
namespace NumberParse {

// As atof: leading blanks skipped, optional sign, digits with optional point and exponent (also the
// hexadecimal, infinity and NaN forms); stops at the first character that cannot continue the number;
// no number at all gives 0.
double Atof(const QString &text);
// As Atof, with a comma read as the decimal point, the way it is typed where the comma is the
// decimal sign: "146,5" is 146.5, never 146.
double AtofDecimalComma(const QString &text);

// As atoi: leading blanks, optional sign, decimal digits; no digits gives 0; values beyond int are
// clamped to INT_MIN / INT_MAX.
int Atoi(const QString &text);

// Truncates toward zero; NaN gives 0 and values beyond the 64-bit range are clamped.
std::int64_t TruncateToInt64(double value);

// As printf "%.<decimals>f" in the C locale, sign of zero and "nan", "-nan", "inf" included, so a
// typed "-0" shows as "-0.00000" on every machine.
QString FormatFixed(double value, int decimals);

} // namespace NumberParse
