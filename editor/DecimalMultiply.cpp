#include "editor/DecimalMultiply.h"

#include "app/NumberParse.h"

#include <QString>
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

// "%.14e" gives the 15 significant digits, rounded to nearest, and the decimal exponent.
Decimal toDecimal(double value)
{
    const QString text = QString::asprintf("%.*e", kSignificantDigits - 1, std::fabs(value));
    Decimal d;
    d.negative = std::signbit(value);
    const int e = text.indexOf(QLatin1Char('e'));
    for (int i = 0; i < e; ++i) {
        if (text.at(i).isDigit())
            d.digits.push_back(text.at(i).toLatin1());
    }
    d.exponent = text.mid(e + 1).toInt() - (kSignificantDigits - 1);
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
