#include "csv/ChannelCsv.h"

#include "csv/CsvText.h"
#include "csv/CsvValues.h"
#include "csv/BusyLockComment.h"

using namespace ChannelCodec;
using CsvValues::Tone;

namespace {

// Transmit frequencies this far from the receive one are written as a split, not as an offset.
constexpr std::int64_t kSplitHz = 70000000;
constexpr std::int64_t kStep5kHz = 5000;
constexpr int kMhzDecimals = 6;

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
// the squelch.
ToneColumns toneColumns(const Tone &tx, const Tone &rx)
{
    using K = Tone::Kind;
    ToneColumns c;
    if (tx.kind == K::None && rx.kind == K::None)
        return c;
    if (tx.kind == K::Ctcss && rx.kind == K::None) {
        c.mode = QStringLiteral("Tone");
        c.rTone = toneHz(tx);
        return c;
    }
    if (tx.kind == K::Ctcss && rx.kind == K::Ctcss && tx.tenths == rx.tenths) {
        c.mode = QStringLiteral("TSQL");
        c.cTone = toneHz(rx);
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
    if (tx.kind == K::Ctcss)
        c.rTone = toneHz(tx);
    if (tx.kind == K::Dcs)
        c.code = dcsCode(tx);
    if (rx.kind == K::Ctcss)
        c.cTone = toneHz(rx);
    if (rx.kind == K::Dcs)
        c.rxCode = dcsCode(rx);
    c.polarity = QString(tx.kind == K::Dcs ? polarity(tx) : QLatin1Char('N'))
        + (rx.kind == K::Dcs ? polarity(rx) : QLatin1Char('N'));
    return c;
}

QStringList exportRow(int channel, const RowTexts &t)
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
    const ToneColumns tones = toneColumns(CsvValues::FromGridText(t[kEncodeTone - 1]),
        CsvValues::FromGridText(t[kDecodeTone - 1]));
    const QString power = kMiddle.Matches(t[kPower - 1]) ? QStringLiteral("Middle")
        : kLow.Matches(t[kPower - 1])                    ? QStringLiteral("Low")
                                                         : QStringLiteral("High");
    return {
        QString::number(channel),
        QString(), // this radio has no channel names
        CsvValues::FormatScaled(rx, kMhzDecimals),
        duplex,
        CsvValues::FormatScaled(offset, kMhzDecimals),
        tones.mode,
        tones.rTone,
        tones.cTone,
        tones.code,
        tones.polarity,
        tones.rxCode,
        tones.cross,
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
    return { "Location", "Name", "Frequency", "Duplex", "Offset", "Tone", "rToneFreq", "cToneFreq",
        "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep", "Skip", "Power",
        "Comment", "URCALL", "RPT1CALL", "RPT2CALL", "DVCODE" };
}

QByteArray Export(const CRadioImage &image)
{
    QByteArray out = CsvText::Line(HeaderNames());
    for (int channel = 1; channel <= ImageMap::kChannelCount; ++channel) {
        if (IsEmptyChannel(image, channel))
            continue;
        out += CsvText::Line(exportRow(channel, DecodeChannel(image, channel, false)));
    }
    return out;
}

} // namespace ChannelCsv
