#include "csv/CsvValues.h"

#include "config/NumberParse.h"
#include "editor/ChannelCodec.h"

namespace {
constexpr std::int64_t kValueCeiling = 1000000000000;
constexpr std::int64_t kHzPerGridUnit = 10;
}

namespace CsvValues {

std::optional<std::int64_t> ParseScaled(const QString &text, int decimals)
{
    const QString t = text.trimmed();
    std::int64_t value = 0;
    int fraction = -1; // digits read after the point; -1 before it
    bool anyDigit = false;
    for (QChar c : t) {
        if (c == QLatin1Char('.') && fraction < 0) {
            fraction = 0;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        anyDigit = true;
        const int digit = c.unicode() - '0';
        if (fraction >= decimals) {
            if (digit != 0)
                return std::nullopt;
            continue;
        }
        value = value * 10 + digit;
        if (value >= kValueCeiling)
            return std::nullopt;
        if (fraction >= 0)
            ++fraction;
    }
    if (!anyDigit)
        return std::nullopt;
    for (int k = std::max(fraction, 0); k < decimals; ++k)
        value *= 10;
    return value;
}

QString FormatScaled(std::int64_t value, int decimals)
{
    std::int64_t scale = 1;
    for (int k = 0; k < decimals; ++k)
        scale *= 10;
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    const std::int64_t v = value < 0 ? -value : value;
    if (decimals == 0)
        return sign + QString::number(v);
    return sign + QString::number(v / scale) + QLatin1Char('.')
        + QStringLiteral("%1").arg(v % scale, decimals, 10, QLatin1Char('0'));
}

std::optional<std::int64_t> GridTextToHz(const QString &text)
{
    const auto units = ParseScaled(text, 5);
    if (!units)
        return std::nullopt;
    return *units * kHzPerGridUnit;
}

QString HzToGridText(std::int64_t hz)
{
    return FormatScaled(hz / kHzPerGridUnit, 5);
}

Tone FromGridText(const QString &text)
{
    Tone tone;
    if (text.isEmpty() || ChannelCodec::kNone.Matches(text))
        return tone;
    if (text.startsWith(QLatin1Char('D'))) {
        tone.kind = Tone::Kind::Dcs;
        tone.code = NumberParse::Atoi(text.mid(1));
        tone.inverted = !text.contains(QLatin1Char('N'));
        return tone;
    }
    tone.kind = Tone::Kind::Ctcss;
    tone.tenths = static_cast<int>(ParseScaled(text, 1).value_or(0));
    return tone;
}

QString ToGridText(const Tone &tone, bool chinese)
{
    switch (tone.kind) {
    case Tone::Kind::None: return ChannelCodec::kNone.Text(chinese);
    case Tone::Kind::Dcs: return QString::asprintf(tone.inverted ? "D%03dI" : "D%03dN", tone.code);
    case Tone::Kind::Ctcss: return FormatScaled(tone.tenths, 1);
    }
    return {};
}

} // namespace CsvValues
