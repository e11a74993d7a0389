#pragma once

#include "radio/ProductCatalog.h"

#include <QString>

#include <vector>

// The frequency points at which the radio keeps its alignment values for the current band, and where
// in a table they start. Points run from the band's lowest MHz in 10 MHz steps (the next multiple of
// 10, the top of the band last); bands above 400 MHz start their entries at their distance from
// 400 MHz in 10 MHz steps, lower bands at the first entry.
//
// A table has room for a fixed number of entries. Points that would fall past its end have no bytes
// in the radio: they are left out of the table (never read or written), and Note() says which.
class CServiceBand {
public:
    static constexpr int kStepMHz = 10;
    static constexpr int kHighBandStartMHz = 400;

    explicit CServiceBand(const BandLimits& limits);

    int LowerMHz() const { return m_nLower; }
    int UpperMHz() const { return m_nUpper; }
    // Every point of the band, lowest first.
    const std::vector<int>& AllPoints() const { return m_Points; }
    // The entry of the first point.
    int Offset() const { return m_nOffset; }

    // The points that have an entry in a table of `capacity` entries.
    std::vector<int> Points(int capacity) const;
    // The entry of point index i (0-based): Offset() + i.
    int Entry(int index) const { return m_nOffset + index; }
    // Empty when every point fits, otherwise one line naming the points left out.
    QString Note(int capacity, bool chinese) const;

private:
    int FittingCount(int capacity) const;

    int m_nLower = 0;
    int m_nUpper = 0;
    int m_nOffset = 0;
    std::vector<int> m_Points;
};
