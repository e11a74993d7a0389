#include "csv/ChannelCsv.h"

#include "config/Language.h"
#include "csv/BusyLockComment.h"
#include "csv/CsvText.h"
#include "csv/CsvValues.h"
#include "editor/ChannelGrid.h"
#include "editor/ToneTable.h"

#include <QHash>
#include <QRegularExpression>
#include <map>

using namespace ChannelCodec;
using CsvValues::Tone;

namespace {

constexpr int kMhzDecimals = 6;
constexpr std::int64_t kHzPerGridUnit = 10;

// Reasons a row is refused; %1 and %2 take the values from the file.
constexpr CBilingual kNoColumns { "This is no channel list: the first line must name the columns, among them Location and Frequency.",
    "这不是信道表: 第一行须为列名, 其中须有 Location 和 Frequency。" };
constexpr CBilingual kBadLocation { "Location \"%1\" is not a channel number.", "位置 \"%1\" 不是信道号。" };
constexpr CBilingual kBeyondLocation { "Location %1 lies beyond channel 16.", "位置 %1 超出第 16 信道。" };
constexpr CBilingual kBeyondLocationFromZero { "Location %1 (counted from 0) lies beyond channel 16.",
    "位置 %1 (从 0 起算) 超出第 16 信道。" };
constexpr CBilingual kTwice { "Channel %1 is already given on line %2.", "信道 %1 已在第 %2 行给出。" };
constexpr CBilingual kBadFrequency { "Frequency \"%1\" is not a frequency in MHz.", "频率 \"%1\" 不是以 MHz 为单位的频率。" };
constexpr CBilingual kBadOffset { "Offset \"%1\" is not a frequency in MHz.", "Offset \"%1\" 不是以 MHz 为单位的频率。" };
constexpr CBilingual kRxOutOfBand { "Receive frequency %1 MHz lies outside the radio's band.", "接收频率 %1 MHz 超出电台频段。" };
constexpr CBilingual kTxOutOfBand { "Transmit frequency %1 MHz lies outside the radio's band.", "发射频率 %1 MHz 超出电台频段。" };
constexpr CBilingual kRxOffStep { "Receive frequency %1 MHz is off the 5 kHz and 6.25 kHz steps.", "接收频率 %1 MHz 不在 5 kHz 或 6.25 kHz 步进上。" };
constexpr CBilingual kTxOffStep { "Transmit frequency %1 MHz is off the 5 kHz and 6.25 kHz steps.", "发射频率 %1 MHz 不在 5 kHz 或 6.25 kHz 步进上。" };
constexpr CBilingual kDuplexOff { "Duplex \"off\": this radio cannot switch transmitting off.", "Duplex \"off\": 本电台不能关闭发射。" };
constexpr CBilingual kBadDuplex { "Duplex \"%1\" is unknown.", "未知的 Duplex \"%1\"。" };
constexpr CBilingual kBadToneMode { "Tone mode \"%1\" is one this radio cannot do.", "本电台不支持亚音模式 \"%1\"。" };
constexpr CBilingual kBadCross { "CrossMode \"%1\" is unknown.", "未知的 CrossMode \"%1\"。" };
constexpr CBilingual kBadTone { "Tone \"%1\" is not in the radio's tone list.", "亚音 \"%1\" 不在电台的亚音表中。" };
constexpr CBilingual kBadPolarity { "DtcsPolarity \"%1\" is unknown.", "未知的 DtcsPolarity \"%1\"。" };
constexpr CBilingual kBadMode { "Mode \"%1\" is one this radio cannot do.", "本电台不支持模式 \"%1\"。" };
constexpr CBilingual kBadSkip { "Skip \"%1\" is unknown.", "未知的 Skip \"%1\"。" };
constexpr CBilingual kBadPower { "Power \"%1\" is unknown.", "未知的 Power \"%1\"。" };
constexpr CBilingual kLine { "Line %1: %2", "第 %1 行: %2" };

// Files written for other radios give power in watts; below 2 W is this radio's low level, below
// 4 W its middle one.
constexpr std::int64_t kLowWattsTenths = 20, kMiddleWattsTenths = 40;

struct RowRefused
{
    QString reason;
};

// The columns of one record by their header names; a missing column reads as "".
class CColumns
{
public:
    explicit CColumns(const QStringList &header)
    {
        for (int i = 0; i < header.size(); ++i)
            m_Index.insert(header.at(i).trimmed().toLower(), i);
    }
    bool Has(const char *name) const { return m_Index.contains(QString::fromLatin1(name).toLower()); }
    QString Get(const CsvText::Record &record, const char *name) const
    {
        const int i = m_Index.value(QString::fromLatin1(name).toLower(), -1);
        return i < 0 ? QString() : record.fields.value(i).trimmed();
    }

private:
    QHash<QString, int> m_Index;
};

// Builds the grid texts of one row against the channel they would replace.
class CRowReader
{
public:
    CRowReader(const CColumns &columns, const CsvText::Record &record, const RowTexts &target, bool programmed,
        BandLimits limits, bool chinese)
        : c(columns), r(record), m_Target(target), m_bProgrammed(programmed), m_Limits(limits), m_bChinese(chinese)
    {
    }

    RowTexts Read()
    {
        RowTexts t;
        const QString frequency = c.Get(r, "Frequency");
        const auto rx = CsvValues::ParseScaled(frequency, kMhzDecimals);
        if (!rx)
            refuse(kBadFrequency, frequency);
        t[kRxFrequency - 1] = frequencyText(*rx, kRxFrequency, kRxOutOfBand, kRxOffStep);
        t[kTxFrequency - 1] = transmitText(*rx);
        readTones(t);
        t[kBandwidth - 1] = bandwidthText();
        t[kScan - 1] = scanText();
        t[kBusyLock - 1] = busyText();
        t[kPower - 1] = powerText();
        return t;
    }

private:
    [[noreturn]] void refuse(const CBilingual &reason, const QString &value = QString()) const
    {
        const QString text = reason.Text(m_bChinese);
        throw RowRefused { text.contains(QLatin1String("%1")) ? text.arg(value) : text };
    }
    const QString &target(int column) const { return m_Target[column - 1]; }

    // A value the channel already shows stands as it is; anything new must pass the grid's checks.
    QString frequencyText(std::int64_t hz, int column, const CBilingual &outOfBand, const CBilingual &offStep) const
    {
        const QString shown = CsvValues::FormatScaled(hz, kMhzDecimals);
        if (hz % kHzPerGridUnit != 0)
            refuse(offStep, shown);
        const QString text = CsvValues::HzToGridText(hz);
        if (text == target(column))
            return text;
        const FrequencyCheck check = CheckFrequency(text, m_Limits.lower, m_Limits.upper);
        if (check.verdict == FrequencyVerdict::OutOfRange)
            refuse(outOfBand, shown);
        if (check.verdict == FrequencyVerdict::OffStep)
            refuse(offStep, shown);
        return check.displayText;
    }

    QString transmitText(std::int64_t rx) const
    {
        const QString duplex = c.Get(r, "Duplex").toLower();
        if (duplex.isEmpty())
            return frequencyText(rx, kTxFrequency, kTxOutOfBand, kTxOffStep);
        if (duplex == QLatin1String("off")) {
            // Only a receive-only channel that is already in the image can stay one.
            if (m_bProgrammed && target(kTxFrequency).isEmpty())
                return QString();
            refuse(kDuplexOff);
        }
        if (duplex != QLatin1String("+") && duplex != QLatin1String("-") && duplex != QLatin1String("split"))
            refuse(kBadDuplex, c.Get(r, "Duplex"));
        const QString offsetText = c.Get(r, "Offset");
        const auto offset = CsvValues::ParseScaled(offsetText, kMhzDecimals);
        if (!offset)
            refuse(kBadOffset, offsetText);
        const std::int64_t tx = duplex == QLatin1String("split") ? *offset
            : duplex == QLatin1String("+")                        ? rx + *offset
                                                                  : rx - *offset;
        if (tx <= 0)
            refuse(kTxOutOfBand, CsvValues::FormatScaled(tx, kMhzDecimals));
        return frequencyText(tx, kTxFrequency, kTxOutOfBand, kTxOffStep);
    }

    Tone ctcss(const char *column) const
    {
        const QString text = c.Get(r, column);
        const auto tenths = CsvValues::ParseScaled(text, 1);
        if (!tenths || *tenths <= 0)
            refuse(kBadTone, text);
        Tone tone;
        tone.kind = Tone::Kind::Ctcss;
        tone.tenths = static_cast<int>(*tenths);
        return tone;
    }

    Tone dcs(const char *column, int polarityIndex) const
    {
        const QString text = c.Get(r, column);
        const auto code = CsvValues::ParseScaled(text, 0);
        if (!code || *code > 777)
            refuse(kBadTone, text);
        QString polarity = c.Get(r, "DtcsPolarity").toUpper();
        if (polarity.isEmpty())
            polarity = QStringLiteral("NN");
        static const QRegularExpression valid(QStringLiteral("^[NR][NR]$"));
        if (!valid.match(polarity).hasMatch())
            refuse(kBadPolarity, c.Get(r, "DtcsPolarity"));
        Tone tone;
        tone.kind = Tone::Kind::Dcs;
        tone.code = static_cast<int>(*code);
        tone.inverted = polarity.at(polarityIndex) == QLatin1Char('R');
        return tone;
    }

    void readTones(RowTexts &t) const
    {
        const QString mode = c.Get(r, "Tone").toUpper();
        Tone tx, rx;
        if (mode.isEmpty()) {
        } else if (mode == QLatin1String("TONE")) {
            tx = ctcss("rToneFreq");
        } else if (mode == QLatin1String("TSQL")) {
            tx = rx = ctcss("cToneFreq");
        } else if (mode == QLatin1String("DTCS")) {
            tx = dcs("DtcsCode", 0);
            rx = dcs("DtcsCode", 1);
        } else if (mode == QLatin1String("CROSS")) {
            // Files from before CrossMode existed knew only one kind of cross: tone out, tone in.
            QString cross = c.Get(r, "CrossMode").toUpper();
            if (cross.isEmpty())
                cross = QStringLiteral("TONE->TONE");
            const QStringList sides = cross.split(QStringLiteral("->"));
            static const QStringList known { QString(), QStringLiteral("TONE"), QStringLiteral("DTCS") };
            if (sides.size() != 2 || !known.contains(sides.at(0)) || !known.contains(sides.at(1))
                || (sides.at(0).isEmpty() && sides.at(1).isEmpty()))
                refuse(kBadCross, c.Get(r, "CrossMode"));
            if (sides.at(0) == QLatin1String("TONE"))
                tx = ctcss("rToneFreq");
            else if (sides.at(0) == QLatin1String("DTCS"))
                tx = dcs("DtcsCode", 0);
            if (sides.at(1) == QLatin1String("TONE"))
                rx = ctcss("cToneFreq");
            else if (sides.at(1) == QLatin1String("DTCS"))
                rx = dcs(c.Has("RxDtcsCode") ? "RxDtcsCode" : "DtcsCode", 1);
        } else {
            refuse(kBadToneMode, c.Get(r, "Tone"));
        }
        t[kEncodeTone - 1] = toneText(tx, kEncodeTone);
        t[kDecodeTone - 1] = toneText(rx, kDecodeTone);
    }

    QString toneText(const Tone &tone, int column) const
    {
        const QString text = CsvValues::ToGridText(tone, m_bChinese);
        if (text == target(column) || ToneTable::BuildToneList(m_bChinese).contains(text))
            return text;
        refuse(kBadTone, text);
    }

    QString bandwidthText() const
    {
        const QString mode = c.Get(r, "Mode").toUpper();
        if (mode.isEmpty())
            return m_bProgrammed ? target(kBandwidth) : kWide.Text(m_bChinese);
        if (mode == QLatin1String("FM"))
            return kWide.Text(m_bChinese);
        if (mode == QLatin1String("NFM"))
            return kNarrow.Text(m_bChinese);
        refuse(kBadMode, c.Get(r, "Mode"));
    }

    QString scanText() const
    {
        const QString skip = c.Get(r, "Skip").toUpper();
        if (skip.isEmpty() || skip == QLatin1String("P"))
            return kYes.Text(m_bChinese);
        if (skip == QLatin1String("S"))
            return kNo.Text(m_bChinese);
        refuse(kBadSkip, c.Get(r, "Skip"));
    }

    QString busyText() const
    {
        if (const auto busy = BusyLockComment::Read(c.Get(r, "Comment"))) {
            for (const CBilingual *item : { &kOff, &kCarrier, &kQtDqt })
                if (item->Matches(*busy))
                    return item->Text(m_bChinese);
        }
        return m_bProgrammed ? target(kBusyLock) : kOff.Text(m_bChinese);
    }

    QString powerText() const
    {
        const QString power = c.Get(r, "Power");
        const QString p = power.toLower();
        if (p.isEmpty())
            return m_bProgrammed ? target(kPower) : kHigh.Text(m_bChinese);
        if (p == QLatin1String("high") || kHigh.Matches(power))
            return kHigh.Text(m_bChinese);
        if (p == QLatin1String("middle") || p == QLatin1String("mid") || p == QLatin1String("medium")
            || kMiddle.Matches(power))
            return kMiddle.Text(m_bChinese);
        if (p == QLatin1String("low") || kLow.Matches(power))
            return kLow.Text(m_bChinese);
        if (p.endsWith(QLatin1Char('w'))) {
            if (const auto tenths = CsvValues::ParseScaled(p.chopped(1), 1)) {
                if (*tenths < kLowWattsTenths)
                    return kLow.Text(m_bChinese);
                return (*tenths < kMiddleWattsTenths ? kMiddle : kHigh).Text(m_bChinese);
            }
        }
        refuse(kBadPower, power);
    }

    const CColumns &c;
    const CsvText::Record &r;
    const RowTexts m_Target; // a copy: callers pass the decoded channel as a temporary
    bool m_bProgrammed;
    BandLimits m_Limits;
    bool m_bChinese;
};

bool isBlank(const CsvText::Record &record)
{
    for (const QString &field : record.fields)
        if (!field.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

namespace ChannelCsv {

ImportPlan Plan(const QByteArray &bytes, const CRadioImage &image, BandLimits limits, bool chinese)
{
    ImportPlan plan;
    const std::vector<CsvText::Record> records = CsvText::Parse(bytes);
    const CColumns columns(records.empty() ? QStringList() : records.front().fields);
    if (records.empty() || !columns.Has("Location") || !columns.Has("Frequency")) {
        plan.fileRefused = true;
        plan.refusals.push_back({ 0, kNoColumns.Text(chinese) });
        return plan;
    }

    // Files for radios that count their memories from 0 put their first row at Location 0.
    int base = 1;
    for (std::size_t i = 1; i < records.size(); ++i)
        if (CsvValues::ParseScaled(columns.Get(records[i], "Location"), 0) == 0)
            base = 0;

    std::map<int, int> lineOfChannel;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const CsvText::Record &record = records[i];
        if (isBlank(record))
            continue;
        const QString locationText = columns.Get(record, "Location");
        const auto location = CsvValues::ParseScaled(locationText, 0);
        if (!location) {
            plan.refusals.push_back({ record.line, kBadLocation.Text(chinese).arg(locationText) });
            continue;
        }
        const std::int64_t channel = *location + (1 - base);
        if (channel < 1 || channel > ImageMap::kChannelCount) {
            const CBilingual &beyond = base == 0 ? kBeyondLocationFromZero : kBeyondLocation;
            plan.refusals.push_back({ record.line, beyond.Text(chinese).arg(locationText) });
            continue;
        }
        const int ch = static_cast<int>(channel);
        if (const auto seen = lineOfChannel.find(ch); seen != lineOfChannel.end()) {
            plan.refusals.push_back({ record.line, kTwice.Text(chinese).arg(ch).arg(seen->second) });
            continue;
        }
        lineOfChannel[ch] = record.line;
        try {
            CRowReader reader(columns, record, DecodeChannel(image, ch, chinese), !IsEmptyChannel(image, ch), limits,
                chinese);
            plan.rows.emplace_back(ch, reader.Read());
        } catch (const RowRefused &refused) {
            plan.refusals.push_back({ record.line, refused.reason });
        }
    }
    return plan;
}

int Apply(const ImportPlan &plan, CRadioImage &image, bool chinese)
{
    if (plan.rows.empty())
        return 0;
    CChannelGrid grid(chinese);
    grid.LoadImage(image);
    for (const auto &[channel, texts] : plan.rows)
        for (int col = 1; col < CChannelGrid::kCols; ++col)
            grid.SetText(channel, col, texts[col - 1]);
    grid.StoreGrid(image);
    return static_cast<int>(plan.rows.size());
}

QString Describe(const Refusal &refusal, bool chinese)
{
    if (refusal.line == 0)
        return refusal.reason;
    return kLine.Text(chinese).arg(refusal.line).arg(refusal.reason);
}

} // namespace ChannelCsv
