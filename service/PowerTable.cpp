#include "service/PowerTable.h"

#include "config/Language.h"
#include "config/StringTable.h"
#include "image/RadioImage.h"

#include <algorithm>

namespace PowerTable {

int Address(const CServiceBand& band, int index, int level)
{
    return ImageMap::kPowerTable + kLevels * band.Entry(index) + level;
}

std::vector<int> Points(const CServiceBand& band)
{
    return band.Points(kCapacity);
}

std::vector<Row> Rows(const CRadioImage& image, const CServiceBand& band)
{
    const std::vector<int> points = Points(band);
    std::vector<Row> rows;
    for (int i = 0; i < int(points.size()); ++i) {
        Row row { points[std::size_t(i)], {} };
        for (int level = 0; level < kLevels; ++level)
            row.values[std::size_t(level)] = image.Byte(Address(band, i, level));
        rows.push_back(row);
    }
    return rows;
}

void SetValue(CRadioImage& image, const CServiceBand& band, int index, int level, int value)
{
    image.SetByte(Address(band, index, level), static_cast<std::uint8_t>(std::clamp(value, 0, kMaxValue)));
}

int IndexOf(const CServiceBand& band, int mhz)
{
    const std::vector<int> points = Points(band);
    const auto it = std::find(points.begin(), points.end(), mhz);
    return it == points.end() ? -1 : int(it - points.begin());
}

std::optional<QString> CellText(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    // Only digits: a number of any length is above 255 once it has four of them after its zeros.
    QString digits = text;
    while (digits.size() > 1 && digits.front() == QLatin1Char('0'))
        digits.remove(0, 1);
    if (digits.size() > 3 || digits.toInt() > kMaxValue)
        return QString::number(kMaxValue);
    return text;
}

QString RefusedMessage(bool chinese)
{
    static constexpr CBilingual kPowerRange { "A power level is a whole number from 0 to 255.",
        "功率值须为 0 至 255 的整数。" };
    return StringTable::Message(StringTable::kOutOfRange) + QLatin1Char('\n') + kPowerRange.Text(chinese);
}

} // namespace PowerTable
