#include "config/NumberParse.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

#if defined(_WIN32)
#include <locale.h>
#else
#include <locale.h>
#if defined(__APPLE__)
#include <xlocale.h>
#endif
#endif

namespace {

#if defined(_WIN32)
_locale_t cLocale()
{
    static _locale_t locale = _create_locale(LC_ALL, "C");
    return locale;
}
double strtodC(const char *text, char **end) { return _strtod_l(text, end, cLocale()); }
long long strtollC(const char *text, char **end) { return _strtoi64_l(text, end, 10, cLocale()); }
#else
locale_t cLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}
double strtodC(const char *text, char **end) { return strtod_l(text, end, cLocale()); }
long long strtollC(const char *text, char **end) { return strtoll_l(text, end, 10, cLocale()); }
#endif

} // namespace

namespace NumberParse {

double Atof(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return strtodC(bytes.constData(), nullptr);
}

double AtofDecimalComma(const QString &text)
{
    QString point = text;
    point.replace(QLatin1Char(','), QLatin1Char('.'));
    return Atof(point);
}

int Atoi(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    const long long value = strtollC(bytes.constData(), nullptr);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::int64_t TruncateToInt64(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9223372036854775807.0)
        return INT64_MAX;
    if (value <= -9223372036854775808.0)
        return INT64_MIN;
    return static_cast<std::int64_t>(std::trunc(value));
}

QString FormatFixed(double value, int decimals)
{
    // The largest double has 309 integer digits.
    std::array<char, 512> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, std::clamp(decimals, 0, 100));
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

} // namespace NumberParse
