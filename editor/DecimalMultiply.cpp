#include "editor/DecimalMultiply.h"

#include "app/NumberParse.h"

#include <QString>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr int kSignificantDigits = 15;

struct Decimal
{
    std::string digits; // exactly 15 digits, no leading zero
    int exponent = 0;   // value = digits × 10^exponent
    bool negative = false;
};

// Scientific notation with 14 decimals gives the 15 significant digits, rounded to nearest (ties to
// even, as the C library does), and the decimal exponent; independent of the user's locale.
Decimal toDecimal(double value)
{
    std::array<char, 64> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                   std::chars_format::scientific, kSignificantDigits - 1).ptr;
    const std::string text(buffer.data(), end);
    Decimal d;
    d.negative = std::signbit(value);
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            d.digits.push_back(text[i]);
    }
    d.exponent = std::stoi(text.substr(e + 1)) - (kSignificantDigits - 1);
    return d;
}

std::string multiplyDigits(const std::string &a, const std::string &b)
{
    std::string product(a.size() + b.size(), 0);
    for (int i = static_cast<int>(a.size()) - 1; i >= 0; --i) {
        int carry = 0;
        for (int j = static_cast<int>(b.size()) - 1; j >= 0; --j) {
            const int sum = product[i + j + 1] + (a[i] - '0') * (b[j] - '0') + carry;
            product[i + j + 1] = static_cast<char>(sum % 10);
            carry = sum / 10;
        }
        product[i] = static_cast<char>(product[i] + carry);
    }
    for (char &c : product)
        c = static_cast<char>(c + '0');
    return product;
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
    const std::string digits = multiplyDigits(x.digits, y.digits);
    const QString text = QStringLiteral("%1%2e%3")
                             .arg(x.negative != y.negative ? QStringLiteral("-") : QString())
                             .arg(QString::fromStdString(digits))
                             .arg(x.exponent + y.exponent);
    return NumberParse::Atof(text);
}
