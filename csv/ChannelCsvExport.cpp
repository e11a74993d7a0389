#include "csv/ChannelCsv.h"

#include "csv/CsvText.h"
#include "csv/CsvValues.h"
#include "csv/BusyLockComment.h"
#include "config/Language.h"

using namespace ChannelCodec;
using CsvValues::Tone;
using CsvValues::kMhzDecimals;

namespace {

// Transmit frequencies this far from the receive one are written as a split, not as an offset.
constexpr std::int64_t kSplitHz = 70000000;
constexpr std::int64_t kStep5kHz = 5000;

constexpr CBilingual kNotStandard { "Channel %1: not in the standard tone list: %2. Other programs may refuse this row.",
    "信道 %1: %2 不在标准亚音表中, 其他程序可能拒绝此行。" };

// What real files carry in tone columns a mode does not use.
const QString kFillerTone = QStringLiteral("88.5");
const QString kFillerCode = QStringLiteral("023");

QString toneHz(const Tone &tone) { return CsvValues::FormatScaled(tone.tenths, 1); }
QString dcsCode(const Tone &tone) { return QString::asprintf("%03d", tone.code); }
QChar polarity(const Tone &tone) { return tone.inverted ? QLatin1Char('R') : QLatin1Char('N'); }

struct ToneColumns
{
    QString mode, rTone = kFillerTone, cTone = kFillerTone, code = kFillerCode, polarity = QStringLiteral("NN"),
                  rxCode = kFillerCode, cross = QStringLiteral("Tone->Tone");
};

// Transmit side first, as the file's CrossMode does: the encode tone is sent, the decode tone opens
// the squelch. A tone column the mode does not use repeats the row's tone of its kind (and a
// polarity letter the other side's), so a reader that takes, say, rToneFreq for TSQL still gets
// the right tone.
ToneColumns toneColumns(const Tone &tx, const Tone &rx)
{
    using K = Tone::Kind;
    ToneColumns c;
    if (tx.kind == K::None && rx.kind == K::None)
        return c;
    if (tx.kind == K::Ctcss && rx.kind == K::None) {
        c.mode = QStringLiteral("Tone");
        c.rTone = c.cTone = toneHz(tx);
        return c;
    }
    if (tx.kind == K::Ctcss && rx.kind == K::Ctcss && tx.tenths == rx.tenths) {
        c.mode = QStringLiteral("TSQL");
        c.rTone = c.cTone = toneHz(rx);
        return c;
    }
    if (tx.kind == K::Dcs && rx.kind == K::Dcs && tx.code == rx.code) {
        c.mode = QStringLiteral("DTCS");
        c.code = c.rxCode = dcsCode(tx);
        c.polarity = QString(polarity(tx)) + polarity(rx);
        return c;
    }
    c.mode = QStringLiteral("Cross");
    const auto side = [](const Tone &t) {
        return t.kind == K::Ctcss ? QStringLiteral("Tone") : t.kind == K::Dcs ? QStringLiteral("DTCS") : QString();
    };
    c.cross = side(tx) + QStringLiteral("->") + side(rx);
    // With one side of a kind, that side's tone stands for both.
    if (tx.kind == K::Ctcss || rx.kind == K::Ctcss) {
        c.rTone = toneHz(tx.kind == K::Ctcss ? tx : rx);
        c.cTone = toneHz(rx.kind == K::Ctcss ? rx : tx);
    }
    if (tx.kind == K::Dcs || rx.kind == K::Dcs) {
        const Tone &out = tx.kind == K::Dcs ? tx : rx;
        const Tone &in = rx.kind == K::Dcs ? rx : tx;
        c.code = dcsCode(out);
        c.rxCode = dcsCode(in);
        c.polarity = QString(polarity(out)) + polarity(in);
    }
    return c;
}

// The tones straight from the channel's tone words: a DCS code the grid cannot name is still the
// radio's code.
std::pair<Tone, Tone> channelTones(const CRadioImage &image, int channel)
{
    const auto record = image.ChannelRecord(channel);
    using ImageMap::Channel::kDecodeTone, ImageMap::Channel::kEncodeTone;
    return { CsvValues::FromToneWord(record[kEncodeTone], record[kEncodeTone + 1]),
        CsvValues::FromToneWord(record[kDecodeTone], record[kDecodeTone + 1]) };
}

QStringList exportRow(int channel, const RowTexts &t, const std::pair<Tone, Tone> &tones)
{
    const std::int64_t rx = CsvValues::GridTextToHz(t[kRxFrequency - 1]).value_or(0);
    const auto tx = CsvValues::GridTextToHz(t[kTxFrequency - 1]);
    QString duplex;
    std::int64_t offset = 0;
    if (!tx) {
        duplex = QStringLiteral("off"); // a receive-only channel
    } else if (*tx - rx >= kSplitHz || rx - *tx >= kSplitHz) {
        duplex = QStringLiteral("split");
        offset = *tx;
    } else if (*tx > rx) {
        duplex = QStringLiteral("+");
        offset = *tx - rx;
    } else if (*tx < rx) {
        duplex = QStringLiteral("-");
        offset = rx - *tx;
    }
    const ToneColumns columns = toneColumns(tones.first, tones.second);
    // Other tools read power in watts; the import maps these back to the same levels.
    const QString power = kMiddle.Matches(t[kPower - 1]) ? QStringLiteral("2.5W")
        : kLow.Matches(t[kPower - 1])                    ? QStringLiteral("1.0W")
                                                         : QStringLiteral("5.0W");
    return {
        QString::number(channel),
        QString(), // this radio has no channel names
        CsvValues::FormatScaled(rx, kMhzDecimals),
        duplex,
        CsvValues::FormatScaled(offset, kMhzDecimals),
        columns.mode,
        columns.rTone,
        columns.cTone,
        columns.code,
        columns.polarity,
        columns.rxCode,
        columns.cross,
        kNarrow.Matches(t[kBandwidth - 1]) ? QStringLiteral("NFM") : QStringLiteral("FM"),
        rx % kStep5kHz == 0 ? QStringLiteral("5.00") : QStringLiteral("6.25"),
        kNo.Matches(t[kScan - 1]) ? QStringLiteral("S") : QString(),
        power,
        BusyLockComment::Write(t[kBusyLock - 1]),
        QString(), QString(), QString(), QString(),
    };
}

} // namespace

namespace ChannelCsv {

QStringList HeaderNames()
{
    // Built once: every import and export asks for them.
    static const QStringList names { "Location", "Name", "Frequency", "Duplex", "Offset", "Tone", "rToneFreq",
        "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep", "Skip", "Power",
        "Comment", "URCALL", "RPT1CALL", "RPT2CALL", "DVCODE" };
    return names;
}

QByteArray Export(const CRadioImage &image)
{
    QByteArray out = CsvText::Line(HeaderNames());
    for (int channel = 1; channel <= ImageMap::kChannelCount; ++channel) {
        if (IsEmptyChannel(image, channel))
            continue;
        out += CsvText::Line(exportRow(channel, DecodeChannel(image, channel, false), channelTones(image, channel)));
    }
    return out;
}

QStringList ExportWarnings(const CRadioImage &image, bool chinese)
{
    QStringList warnings;
    for (int channel = 1; channel <= ImageMap::kChannelCount; ++channel) {
        if (IsEmptyChannel(image, channel))
            continue;
        const auto [tx, rx] = channelTones(image, channel);
        QStringList odd;
        for (const Tone &tone : { tx, rx })
            if (!CsvValues::IsStandard(tone) && !odd.contains(CsvValues::Name(tone)))
                odd << CsvValues::Name(tone);
        if (!odd.isEmpty())
            warnings << kNotStandard.Text(chinese).arg(channel).arg(odd.join(QStringLiteral(", ")));
    }
    return warnings;
}

} // namespace ChannelCsv
