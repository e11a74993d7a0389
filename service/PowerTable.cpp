#include "service/PowerTable.h"

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

} // namespace PowerTable
