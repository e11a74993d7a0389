#include "radio/DecimalMultiply.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kSignificantDigits = 15;
// The product is carried in limbs of 8 decimal digits, so every partial product fits 64 bits.
constexpr std::uint64_t kLimb = 100000000;

struct Decimal
{
    std::uint64_t digits = 0; // exactly 15 digits
    int exponent = 0;         // value = digits × 10^exponent
    bool negative = false;
};

// Scientific notation with 14 decimals gives the 15 significant digits, rounded to nearest (ties to
// even, as the C library does), and the decimal exponent; independent of the user's locale.
Decimal toDecimal(double value)
{
    std::array<char, 64> text {};
    const char *end = std::to_chars(text.data(), text.data() + text.size(), std::fabs(value),
                                    std::chars_format::scientific, kSignificantDigits - 1).ptr;
    Decimal d;
    d.negative = std::signbit(value);
    const char *p = text.data();
    for (; p < end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits = d.digits * 10 + std::uint64_t(*p - '0');
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    d.exponent = exponent - (kSignificantDigits - 1);
    return d;
}

// Writes limb at out (8 digits with leading zeros when padded); returns the end. Plain arithmetic, no
// allocation: the grid multiplies for every frequency and tone it stores.
char *appendLimb(char *out, char *end, std::uint64_t limb, bool padded)
{
    char digits[8];
    int length = 0;
    do {
        digits[length++] = char('0' + limb % 10);
        limb /= 10;
    } while (limb != 0 && length < 8);
    while (padded && length < 8)
        digits[length++] = '0';
    while (length > 0 && out < end)
        *out++ = digits[--length];
    return out;
}

} // namespace

double DecimalMultiply(double a, double b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return 0.0;
    if (a == 0.0 || b == 0.0)
        return 0.0;
    const Decimal x = toDecimal(a);
    const Decimal y = toDecimal(b);

    // (xh·10^8 + xl)(yh·10^8 + yl), exactly, limb by limb from the lowest.
    const std::uint64_t xh = x.digits / kLimb, xl = x.digits % kLimb;
    const std::uint64_t yh = y.digits / kLimb, yl = y.digits % kLimb;
    std::uint64_t limbs[4];
    std::uint64_t sum = xl * yl;
    limbs[0] = sum % kLimb;
    sum = sum / kLimb + xh * yl + xl * yh;
    limbs[1] = sum % kLimb;
    sum = sum / kLimb + xh * yh;
    limbs[2] = sum % kLimb;
    limbs[3] = sum / kLimb;

    std::array<char, 64> text {};
    char *const end = text.data() + text.size();
    char *out = text.data();
    if (x.negative != y.negative)
        *out++ = '-';
    out = appendLimb(out, end, limbs[3], false);
    for (int i = 2; i >= 0; --i)
        out = appendLimb(out, end, limbs[i], true);
    *out++ = 'e';
    out = std::to_chars(out, end, x.exponent + y.exponent).ptr;
    // The nearest double to the exact decimal product (infinity beyond the range); the text has no
    // decimal point, so the user's locale plays no part.
    return std::strtod(text.data(), nullptr);
}
