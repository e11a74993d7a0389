#include "radio/ChannelGrid.h"

#include "config/Language.h"
#include "config/StringTable.h"
#include "radio/CellMessage.h"
#include "radio/ShownChannel.h"
#include "radio/ToneTable.h"

using namespace ChannelCodec;

namespace {

constexpr CBilingual kHeaders[CChannelGrid::kCols] = {
    { "CH", "信道" },           { "Rx Frequency", "接收频率" }, { "Tx Frequency", "发射频率" },
    { "QT/DQT Dec", "QT/DQT解码" }, { "QT/DQT Enc", "QT/DQT编码" }, { "W/N", "宽/窄" },
    { "Scan", "扫描" },         { "Busy Lock", "繁忙锁定" },    { "Power", "功率" },
};

constexpr CBilingual kToneCellTakes { "A tone is None, a listed CTCSS tone in Hz (62.5 to 254.1) or a listed DCS "
                                      "code as DnnnN or DnnnI (D023N).",
    "亚音须为 无、列表中的 CTCSS 亚音 (62.5 至 254.1 Hz) 或列表中的 DCS 码 DnnnN 或 DnnnI (D023N)。" };

// Columns 3..8 of a channel that was just given a receive frequency.
constexpr const CBilingual *kNewChannelDefaults[] = { &kNone, &kNone, &kWide, &kYes, &kOff, &kHigh };

bool isChannelCell(int row, int col)
{
    return row >= 1 && row < CChannelGrid::kRows && col >= 1 && col < CChannelGrid::kCols;
}

} // namespace

CChannelGrid::CChannelGrid(bool chinese)
    : m_bChinese(chinese)
{
    for (int col = 0; col < kCols; ++col)
        m_Text[0][col] = HeaderText(col, chinese);
    for (int row = 1; row < kRows; ++row)
        m_Text[row][0] = RowLabel(row);
}

const QString &CChannelGrid::Text(int row, int col) const
{
    return m_Text.at(row).at(col);
}

void CChannelGrid::SetText(int row, int col, const QString &text)
{
    m_Text.at(row).at(col) = text;
}

ChannelCodec::RowTexts CChannelGrid::RowTexts(int channel) const
{
    ChannelCodec::RowTexts texts;
    for (int col = 1; col < kCols; ++col)
        texts[col - 1] = m_Text.at(channel)[col];
    return texts;
}

QString CChannelGrid::HeaderText(int col, bool chinese)
{
    return kHeaders[col].Text(chinese);
}

QString CChannelGrid::RowLabel(int row)
{
    return QString::asprintf("%2d", row);
}

void CChannelGrid::LoadImage(const CRadioImage &image)
{
    for (int channel = 1; channel < kRows; ++channel) {
        const ChannelCodec::RowTexts texts = DecodeShownChannel(image, channel, m_bChinese);
        for (int col = 1; col < kCols; ++col)
            m_Text[channel][col] = texts[col - 1];
    }
}

void CChannelGrid::StoreGrid(CRadioImage &image) const
{
    for (int channel = 1; channel < kRows; ++channel) {
        // A field is encoded only when its text differs from what the image's bytes already show:
        // bytes the grid cannot show exactly (a DCS code outside the table, flag bits the texts do
        // not tell apart) stay as they came until the user changes that very field.
        // A channel without a transmit frequency shows its flags and tones as empty cells, yet its bytes
        // hold them: neither the empty text nor the text of what the bytes hold changes them.
        const ChannelCodec::RowTexts shown = DecodeShownChannel(image, channel, m_bChinese);
        const ChannelCodec::RowTexts held = DecodeChannel(image, channel, m_bChinese);
        const ChannelCodec::RowTexts texts = RowTexts(channel);
        for (int col = 1; col < kCols; ++col) {
            if (texts[col - 1] != shown[col - 1] && texts[col - 1] != held[col - 1])
                EncodeField(image, channel, col, texts[col - 1]);
        }
    }
    image.SetByte(ImageMap::kGridStoredMark, ImageMap::kGridStoredValue);
}

void CChannelGrid::ClearRow(int row)
{
    for (int col = 1; col < kCols; ++col)
        m_Text[row][col].clear();
}

void CChannelGrid::FillNewChannelDefaults(int row)
{
    for (int col = kDecodeTone; col < kCols; ++col)
        m_Text[row][col] = kNewChannelDefaults[col - kDecodeTone]->Text(m_bChinese);
}

// Leaving a cell and Enter commit alike; the view still says which it was, as the grid's events do.
CChannelGrid::Outcome CChannelGrid::Commit(int row, int col, const QString &editorText, Trigger)
{
    if (!isChannelCell(row, col))
        return Outcome::Accepted;
    const QString rx = m_Text[row][kRxFrequency];
    const QString tx = m_Text[row][kTxFrequency];
    QString &cell = m_Text[row][col];

    if (col == kRxFrequency) {
        if (editorText.isEmpty()) {
            ClearRow(row); // the channel is deleted
            return Outcome::Accepted;
        }
        const FrequencyCheck check = CheckFrequency(editorText, m_Limits.lower, m_Limits.upper);
        // A refused receive frequency keeps the row as it was: a typing slip over a channel must not
        // throw the channel and its tones away, and an empty channel stays empty.
        if (!StartsAsNumber(editorText))
            return Outcome::BadFormat;
        if (check.verdict != FrequencyVerdict::Accepted)
            return check.verdict == FrequencyVerdict::OutOfRange ? Outcome::OutOfRange : Outcome::OffStep;
        cell = check.displayText;
        if (rx.isEmpty()) {
            m_Text[row][kTxFrequency] = check.displayText;
            FillNewChannelDefaults(row);
        }
        return Outcome::Accepted;
    }

    if (col == kTxFrequency) {
        if (editorText.isEmpty()) {
            cell = rx; // the transmit frequency follows the receive frequency
            return Outcome::Accepted;
        }
        if (!StartsAsNumber(editorText))
            return Outcome::BadFormat;
        const FrequencyCheck check = CheckFrequency(editorText, m_Limits.lower, m_Limits.upper);
        if (check.verdict == FrequencyVerdict::Accepted) {
            cell = rx.isEmpty() ? QString() : check.displayText;
            return Outcome::Accepted;
        }
        // A refused transmit frequency keeps what the cell held, however it was confirmed: emptying
        // the cell or the row would throw away a channel for a typing slip.
        return check.verdict == FrequencyVerdict::OutOfRange ? Outcome::OutOfRange : Outcome::OffStep;
    }

    QString value = editorText;
    if (col == kDecodeTone || col == kEncodeTone) {
        if (editorText == cell)
            return Outcome::Accepted; // what the cell holds stays, a tone the list lacks included
        // A text the list lacks is refused, never matched to a tone near it: 100.5 is not 100.0.
        value = ToneTable::ListedTone(editorText, m_bChinese);
        if (value.isEmpty())
            return Outcome::BadTone;
    }
    cell = (rx.isEmpty() && tx.isEmpty()) ? QString() : value;
    return Outcome::Accepted;
}

std::vector<std::pair<int, int>> CChannelGrid::EnterMoves(int row, int col)
{
    if (col < kCols - 1)
        return { { row, col + 1 } };
    if (row < kRows - 1)
        return { { row, 1 }, { row + 1, 1 } };
    return { { 1, col }, { 1, 1 } };
}

std::pair<int, int> CChannelGrid::BackMove(int row, int col)
{
    if (col > 1)
        return { row, col - 1 };
    if (row > 1)
        return { row - 1, kCols - 1 };
    return { kRows - 1, kCols - 1 };
}

QString CChannelGrid::Message(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Accepted: return {};
    case Outcome::OutOfRange: return StringTable::Message(StringTable::kOutOfRange);
    case Outcome::OffStep: return StringTable::Message(StringTable::kOffStep);
    case Outcome::BadFormat:
    case Outcome::BadTone: return StringTable::Message(StringTable::kDataFormat);
    }
    return {};
}

QString CChannelGrid::MessageFor(Outcome outcome, int channel, const QString &typed, const QString &bandText) const
{
    const QString first = Message(outcome);
    switch (outcome) {
    case Outcome::OutOfRange:
        return first + QLatin1Char('\n') + CellMessage::OutOfRange(channel, typed, m_Limits, bandText, m_bChinese);
    case Outcome::OffStep: return first + QLatin1Char('\n') + CellMessage::OffStep(channel, typed, m_Limits, m_bChinese);
    case Outcome::BadTone: return first + QLatin1Char('\n') + kToneCellTakes.Text(m_bChinese);
    case Outcome::Accepted:
    case Outcome::BadFormat: break;
    }
    return first;
}

bool CChannelGrid::StartsAsNumber(const QString &text)
{
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    // "inf" and "nan" read as numbers too, which no band holds: they stay out of range.
    const QStringView rest = QStringView(text).mid(i);
    if (rest.startsWith(QLatin1String("inf"), Qt::CaseInsensitive) || rest.startsWith(QLatin1String("nan"), Qt::CaseInsensitive))
        return true;
    if (i < text.size() && (text.at(i) == QLatin1Char('.') || text.at(i) == QLatin1Char(',')))
        ++i;
    return i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9');
}
