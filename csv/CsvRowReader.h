#pragma once

#include "config/Language.h"
#include "csv/CsvColumns.h"
#include "csv/CsvValues.h"
#include "radio/ProductCatalog.h"
#include "radio/ChannelCodec.h"

#include <QStringList>

// Builds the grid texts of one channel-list row against the channel it would replace, by the grid's
// rules: the band limits, the 5 kHz / 6.25 kHz steps, tones the channel's bytes can hold. A value
// equal to what the channel already shows is taken as it stands.
class CCsvRowReader
{
public:
    // Why the row cannot be placed.
    struct Refused
    {
        QString reason;
        bool outOfBand = false; // a frequency outside the radio's band
    };

    CCsvRowReader(const CCsvColumns &columns, const CsvText::Record &record, const ChannelCodec::RowTexts &target,
        bool programmed, BandLimits limits, bool chinese);

    // The row's grid texts; throws Refused.
    ChannelCodec::RowTexts Read();
    // The row's tones that are not in the radio's tone list ("69.4 Hz"), after Read.
    const QStringList &OddTones() const { return m_OddTones; }

private:
    [[noreturn]] void refuse(const CBilingual &reason, const QString &first = QString(),
        const QString &second = QString(), bool outOfBand = false) const;
    const QString &target(int column) const { return m_Target[column - 1]; }
    QString frequencyText(std::int64_t hz, int column) const;
    QString transmitText(std::int64_t rx) const;
    QString toneMode() const;
    CsvValues::Tone ctcss(CCsvColumns::Column column) const;
    CsvValues::Tone dcs(CCsvColumns::Column column, int polarityIndex) const;
    void readTones(ChannelCodec::RowTexts &t);
    QString toneText(const CsvValues::Tone &tone);
    QString bandwidthText() const;
    QString scanText() const;
    QString busyText() const;
    QString powerText() const;

    const CCsvColumns &c;
    const CsvText::Record &r;
    const ChannelCodec::RowTexts m_Target; // a copy: callers pass the decoded channel as a temporary
    bool m_bProgrammed;
    BandLimits m_Limits;
    bool m_bChinese;
    QStringList m_OddTones;
};
