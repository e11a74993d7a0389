#include "service/ServiceBand.h"

#include "config/Language.h"

#include <algorithm>

namespace {

// Past this many points a band text is nonsense; the list stops there rather than grow without end.
constexpr int kMaxPoints = 1000;

constexpr CBilingual kNoRoom {
    "The radio has no room for %1 MHz in this table; not shown, never read or written.",
    "电台在此表中没有 %1 MHz 的位置; 不显示, 也不读写。"
};

int ClampToInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, -1000000, 1000000));
}

} // namespace

CServiceBand::CServiceBand(const BandLimits& limits)
    : m_nLower(ClampToInt(limits.lower / ProductCatalog::kUnitsPerMHz))
    , m_nUpper(ClampToInt(limits.upper / ProductCatalog::kUnitsPerMHz - 1))
{
    m_nOffset = m_nLower <= kHighBandStartMHz ? 0 : (m_nLower - kHighBandStartMHz) / kStepMHz;
    // A band whose top lies below its bottom has one point.
    int point = m_nLower;
    m_Points.push_back(point);
    while (point < m_nUpper && int(m_Points.size()) < kMaxPoints) {
        // The remainder may be negative for a negative start; the step is still 1 to 19.
        point = std::min(point + kStepMHz - point % kStepMHz, m_nUpper);
        m_Points.push_back(point);
    }
}

int CServiceBand::FittingCount(int capacity) const
{
    return std::clamp(capacity - m_nOffset, 0, int(m_Points.size()));
}

std::vector<int> CServiceBand::Points(int capacity) const
{
    return { m_Points.begin(), m_Points.begin() + FittingCount(capacity) };
}

QString CServiceBand::Note(int capacity, bool chinese) const
{
    const int fitting = FittingCount(capacity);
    if (fitting == int(m_Points.size()))
        return {};
    const int first = m_Points.at(std::size_t(fitting));
    const int last = m_Points.back();
    const QString range
        = first == last ? QString::number(first) : QStringLiteral("%1 - %2").arg(first).arg(last);
    return kNoRoom.Text(chinese).arg(range);
}
