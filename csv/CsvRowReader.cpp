#include "csv/CsvRowReader.h"

#include "csv/BusyLockComment.h"

#include <QRegularExpression>

using namespace ChannelCodec;
using CsvValues::Tone;
using CsvValues::kHzPerGridUnit;
using CsvValues::kMhzDecimals;

namespace {

// Larger than any tone word holds, small enough for an int.
constexpr std::int64_t kBeyondAnyWord = 1000000;

// Reasons a row is refused; %1 and %2 take the values from the file.
constexpr CBilingual kBadFrequency { "Frequency \"%1\" is not a frequency in MHz.", "频率 \"%1\" 不是以 MHz 为单位的频率。" };
constexpr CBilingual kBadOffset { "Offset \"%1\" is not a frequency in MHz.", "Offset \"%1\" 不是以 MHz 为单位的频率。" };
constexpr CBilingual kRxOutOfBand { "Receive frequency %1 MHz lies outside the radio's band, %2 MHz.",
    "接收频率 %1 MHz 超出电台频段 %2 MHz。" };
constexpr CBilingual kTxOutOfBand { "Transmit frequency %1 MHz lies outside the radio's band, %2 MHz.",
    "发射频率 %1 MHz 超出电台频段 %2 MHz。" };
constexpr CBilingual kRxOffStep { "Receive frequency %1 MHz is off the 5 kHz and 6.25 kHz steps.", "接收频率 %1 MHz 不在 5 kHz 或 6.25 kHz 步进上。" };
constexpr CBilingual kTxOffStep { "Transmit frequency %1 MHz is off the 5 kHz and 6.25 kHz steps.", "发射频率 %1 MHz 不在 5 kHz 或 6.25 kHz 步进上。" };
constexpr CBilingual kDuplexOff { "Duplex \"off\": this radio cannot switch transmitting off.", "Duplex \"off\": 本电台不能关闭发射。" };
constexpr CBilingual kBadDuplex { "Duplex \"%1\" is unknown.", "未知的 Duplex \"%1\"。" };
constexpr CBilingual kBadToneMode { "Tone mode \"%1\" is one this radio cannot do.", "本电台不支持亚音模式 \"%1\"。" };
constexpr CBilingual kBadCross { "CrossMode \"%1\" is unknown.", "未知的 CrossMode \"%1\"。" };
constexpr CBilingual kEmptyTone { "%1 is empty, but the row's tone mode %2 needs a value there.",
    "%1 为空, 但该行的亚音模式 %2 需要此列的值。" };
constexpr CBilingual kBadCtcss { "%1 \"%2\" is not a tone in Hz with at most one decimal.", "%1 \"%2\" 不是以 Hz 为单位、至多一位小数的亚音。" };
constexpr CBilingual kCtcssNotHeld { "The radio cannot hold the CTCSS tone %1 Hz.", "电台无法存储 CTCSS 亚音 %1 Hz。" };
constexpr CBilingual kBadDcs { "%1 \"%2\" is not a DCS code of three octal digits.", "%1 \"%2\" 不是三位八进制的 DCS 码。" };
constexpr CBilingual kBadPolarity { "DtcsPolarity \"%1\" is unknown.", "未知的 DtcsPolarity \"%1\"。" };
constexpr CBilingual kBadMode { "Mode \"%1\" is one this radio cannot do.", "本电台不支持模式 \"%1\"。" };
constexpr CBilingual kBadSkip { "Skip \"%1\" is unknown.", "未知的 Skip \"%1\"。" };
constexpr CBilingual kBadPower { "Power \"%1\" is unknown.", "未知的 Power \"%1\"。" };

// Files written for other radios give power in watts; below 2 W is this radio's low level, below
// 4 W its middle one.
constexpr std::int64_t kLowWattsTenths = 20, kMiddleWattsTenths = 40;

// "130-161": the band's limits in MHz, without trailing zeros.
QString bandMhz(BandLimits limits)
{
    const auto mhz = [](std::int64_t units) {
        QString text = CsvValues::FormatScaled(units, 5);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        return text;
    };
    return mhz(limits.lower) + QChar(0x2013) + mhz(limits.upper);
}

} // namespace

CCsvRowReader::CCsvRowReader(const CCsvColumns &columns, const CsvText::Record &record, const RowTexts &target,
    bool programmed, BandLimits limits, bool chinese)
    : c(columns)
    , r(record)
    , m_Target(target)
    , m_bProgrammed(programmed)
    , m_Limits(limits)
    , m_bChinese(chinese)
{
}

RowTexts CCsvRowReader::Read()
{
    RowTexts t;
    const QString frequency = c.Number(r, CCsvColumns::Frequency);
    const auto rx = CsvValues::ParseScaled(frequency, kMhzDecimals);
    if (!rx)
        refuse(kBadFrequency, frequency);
    t[kRxFrequency - 1] = frequencyText(*rx, kRxFrequency);
    t[kTxFrequency - 1] = transmitText(*rx);
    readTones(t);
    t[kBandwidth - 1] = bandwidthText();
    t[kScan - 1] = scanText();
    t[kBusyLock - 1] = busyText();
    t[kPower - 1] = powerText();
    return t;
}

void CCsvRowReader::refuse(const CBilingual &reason, const QString &first, const QString &second, bool outOfBand) const
{
    QString text = reason.Text(m_bChinese);
    if (text.contains(QLatin1String("%2")))
        text = text.arg(first, second);
    else if (text.contains(QLatin1String("%1")))
        text = text.arg(first);
    throw Refused { text, outOfBand };
}

// A value the channel already shows stands as it is; anything new must pass the grid's checks.
QString CCsvRowReader::frequencyText(std::int64_t hz, int column) const
{
    const bool receive = column == kRxFrequency;
    const auto shown = [hz] { return CsvValues::FormatScaled(hz, kMhzDecimals); };
    if (hz % kHzPerGridUnit != 0)
        refuse(receive ? kRxOffStep : kTxOffStep, shown());
    const QString text = CsvValues::HzToGridText(hz);
    if (text == target(column))
        return text;
    const FrequencyCheck check = CheckFrequency(text, m_Limits.lower, m_Limits.upper);
    if (check.verdict == FrequencyVerdict::OutOfRange)
        refuse(receive ? kRxOutOfBand : kTxOutOfBand, shown(), bandMhz(m_Limits), true);
    if (check.verdict == FrequencyVerdict::OffStep)
        refuse(receive ? kRxOffStep : kTxOffStep, shown());
    return check.displayText;
}

QString CCsvRowReader::transmitText(std::int64_t rx) const
{
    const QString duplex = c.Get(r, CCsvColumns::Duplex).toLower();
    if (duplex.isEmpty())
        return frequencyText(rx, kTxFrequency);
    if (duplex == QLatin1String("off")) {
        // Only a receive-only channel that is already in the image can stay one.
        if (m_bProgrammed && target(kTxFrequency).isEmpty())
            return QString();
        refuse(kDuplexOff);
    }
    if (duplex != QLatin1String("+") && duplex != QLatin1String("-") && duplex != QLatin1String("split"))
        refuse(kBadDuplex, c.Get(r, CCsvColumns::Duplex));
    const QString offsetText = c.Number(r, CCsvColumns::Offset);
    const auto offset = CsvValues::ParseScaled(offsetText, kMhzDecimals);
    if (!offset)
        refuse(kBadOffset, offsetText);
    const std::int64_t tx = duplex == QLatin1String("split") ? *offset
        : duplex == QLatin1String("+")                        ? rx + *offset
                                                              : rx - *offset;
    if (tx <= 0)
        refuse(kTxOutOfBand, CsvValues::FormatScaled(tx, kMhzDecimals), bandMhz(m_Limits), true);
    return frequencyText(tx, kTxFrequency);
}

// The mode as the row states it, for messages: "DTCS", "Cross (Tone->DTCS)".
QString CCsvRowReader::toneMode() const
{
    const QString mode = c.Get(r, CCsvColumns::Tone);
    if (mode.compare(QLatin1String("cross"), Qt::CaseInsensitive) == 0
        && !c.Get(r, CCsvColumns::CrossMode).isEmpty())
        return QStringLiteral("%1 (%2)").arg(mode, c.Get(r, CCsvColumns::CrossMode));
    return mode;
}

// Any tone the channel's tone word can hold goes in; one outside the tone list is noted.
Tone CCsvRowReader::ctcss(CCsvColumns::Column column) const
{
    const QString name = CCsvColumns::NameOf(column);
    const QString text = c.Number(r, column);
    if (text.isEmpty())
        refuse(kEmptyTone, name, toneMode());
    const auto tenths = CsvValues::ParseScaled(text, 1);
    if (!tenths)
        refuse(kBadCtcss, name, text);
    Tone tone;
    tone.kind = Tone::Kind::Ctcss;
    tone.tenths = static_cast<int>(std::min(*tenths, kBeyondAnyWord));
    std::uint8_t low = 0, kind = 0;
    if (!CsvValues::ToToneWord(tone, low, kind))
        refuse(kCtcssNotHeld, text);
    return tone;
}

Tone CCsvRowReader::dcs(CCsvColumns::Column column, int polarityIndex) const
{
    const QString name = CCsvColumns::NameOf(column);
    const QString text = c.Get(r, column);
    if (text.isEmpty())
        refuse(kEmptyTone, name, toneMode());
    const auto code = CsvValues::ParseScaled(text, 0);
    Tone tone;
    tone.kind = Tone::Kind::Dcs;
    tone.code = static_cast<int>(std::min(code.value_or(-1), kBeyondAnyWord));
    std::uint8_t low = 0, kind = 0;
    if (!code || !CsvValues::ToToneWord(tone, low, kind))
        refuse(kBadDcs, name, text);
    QString polarity = c.Get(r, CCsvColumns::DtcsPolarity).toUpper();
    if (polarity.isEmpty())
        polarity = QStringLiteral("NN");
    static const QRegularExpression valid(QStringLiteral("^[NR][NR]$"));
    if (!valid.match(polarity).hasMatch())
        refuse(kBadPolarity, c.Get(r, CCsvColumns::DtcsPolarity));
    tone.inverted = polarity.at(polarityIndex) == QLatin1Char('R');
    return tone;
}

void CCsvRowReader::readTones(RowTexts &t)
{
    const QString mode = c.Get(r, CCsvColumns::Tone).toUpper();
    Tone tx, rx;
    if (mode.isEmpty()) {
    } else if (mode == QLatin1String("TONE")) {
        tx = ctcss(CCsvColumns::RToneFreq);
    } else if (mode == QLatin1String("TSQL")) {
        tx = rx = ctcss(CCsvColumns::CToneFreq);
    } else if (mode == QLatin1String("DTCS")) {
        tx = dcs(CCsvColumns::DtcsCode, 0);
        rx = dcs(CCsvColumns::DtcsCode, 1);
    } else if (mode == QLatin1String("CROSS")) {
        // Files from before CrossMode existed knew only one kind of cross: tone out, tone in.
        QString cross = c.Get(r, CCsvColumns::CrossMode).toUpper();
        if (cross.isEmpty())
            cross = QStringLiteral("TONE->TONE");
        const QStringList sides = cross.split(QStringLiteral("->"));
        static const QStringList known { QString(), QStringLiteral("TONE"), QStringLiteral("DTCS") };
        if (sides.size() != 2 || !known.contains(sides.at(0)) || !known.contains(sides.at(1))
            || (sides.at(0).isEmpty() && sides.at(1).isEmpty()))
            refuse(kBadCross, c.Get(r, CCsvColumns::CrossMode));
        if (sides.at(0) == QLatin1String("TONE"))
            tx = ctcss(CCsvColumns::RToneFreq);
        else if (sides.at(0) == QLatin1String("DTCS"))
            tx = dcs(CCsvColumns::DtcsCode, 0);
        if (sides.at(1) == QLatin1String("TONE"))
            rx = ctcss(CCsvColumns::CToneFreq);
        else if (sides.at(1) == QLatin1String("DTCS"))
            rx = dcs(c.Has(CCsvColumns::RxDtcsCode) ? CCsvColumns::RxDtcsCode : CCsvColumns::DtcsCode, 1);
    } else {
        refuse(kBadToneMode, c.Get(r, CCsvColumns::Tone));
    }
    t[kEncodeTone - 1] = toneText(tx);
    t[kDecodeTone - 1] = toneText(rx);
}

QString CCsvRowReader::toneText(const Tone &tone)
{
    if (!CsvValues::IsStandard(tone) && !m_OddTones.contains(CsvValues::Name(tone)))
        m_OddTones << CsvValues::Name(tone);
    return CsvValues::ToGridText(tone, m_bChinese);
}

QString CCsvRowReader::bandwidthText() const
{
    const QString mode = c.Get(r, CCsvColumns::Mode).toUpper();
    if (mode.isEmpty())
        return m_bProgrammed ? target(kBandwidth) : kWide.Text(m_bChinese);
    if (mode == QLatin1String("FM"))
        return kWide.Text(m_bChinese);
    if (mode == QLatin1String("NFM"))
        return kNarrow.Text(m_bChinese);
    refuse(kBadMode, c.Get(r, CCsvColumns::Mode));
}

QString CCsvRowReader::scanText() const
{
    const QString skip = c.Get(r, CCsvColumns::Skip).toUpper();
    if (skip.isEmpty() || skip == QLatin1String("P"))
        return kYes.Text(m_bChinese);
    if (skip == QLatin1String("S"))
        return kNo.Text(m_bChinese);
    refuse(kBadSkip, c.Get(r, CCsvColumns::Skip));
}

QString CCsvRowReader::busyText() const
{
    if (const auto busy = BusyLockComment::Read(c.Get(r, CCsvColumns::Comment))) {
        for (const CBilingual *item : { &kOff, &kCarrier, &kQtDqt })
            if (item->Matches(*busy))
                return item->Text(m_bChinese);
    }
    return m_bProgrammed ? target(kBusyLock) : kOff.Text(m_bChinese);
}

// Level names in either language, the short forms other tools write, or watts.
QString CCsvRowReader::powerText() const
{
    const QString power = c.Number(r, CCsvColumns::Power);
    const QString p = power.toLower();
    if (p.isEmpty())
        return m_bProgrammed ? target(kPower) : kHigh.Text(m_bChinese);
    if (p == QLatin1String("high") || kHigh.Matches(power))
        return kHigh.Text(m_bChinese);
    if (p == QLatin1String("middle") || p == QLatin1String("mid") || p == QLatin1String("med")
        || p == QLatin1String("medium") || kMiddle.Matches(power))
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
