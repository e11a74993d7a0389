#include "editor/ChannelRows.h"

#include "config/Language.h"
#include "radio/ChannelGrid.h"
#include "radio/ToneTable.h"

#include <algorithm>

using namespace ChannelCodec;

namespace ChannelRows {

namespace {

constexpr int kChannels = ImageMap::kChannelCount;

constexpr CBilingual kNoReceive { "Line %1: no receive frequency", "第%1行: 没有接收频率" };
constexpr CBilingual kOutOfRange { "Line %1: %2 %3 is out of range", "第%1行: %2 %3 超出范围" };
constexpr CBilingual kOffStep { "Line %1: %2 %3 is not on the 5 kHz or 6.25 kHz step",
    "第%1行: %2 %3 不符合步进(5K/6.25K)" };
constexpr CBilingual kNotAChoice { "Line %1: \"%2\" is not a choice of %3", "第%1行: \"%2\" 不是%3的选项" };
constexpr CBilingual kTooManyColumns { "Line %1: more columns than the grid has", "第%1行: 列数多于表格" };
constexpr CBilingual kInsertRefused {
    "Channel 16 is in use: delete a channel first, so that none is pushed out.",
    "信道16已被使用: 请先删除一个信道, 以免有信道被挤出。"
};
constexpr CBilingual kTooLong { "%1 channels do not fit from channel %2 on.", "从信道%2起放不下%1个信道。" };
constexpr CBilingual kNothing { "The clipboard holds no channels.", "剪贴板中没有信道。" };

// The choices of columns 5..8 in list order; a new channel's value comes first.
const std::vector<const CBilingual*>& choices(int column)
{
    static const std::vector<const CBilingual*> bandwidth { &kWide, &kNarrow };
    static const std::vector<const CBilingual*> scan { &kYes, &kNo };
    static const std::vector<const CBilingual*> busy { &kOff, &kCarrier, &kQtDqt };
    static const std::vector<const CBilingual*> power { &kHigh, &kMiddle, &kLow };
    switch (column) {
    case kBandwidth:
        return bandwidth;
    case kScan:
        return scan;
    case kBusyLock:
        return busy;
    default:
        return power;
    }
}

std::int64_t receiveUnits(const Slot& slot)
{
    CRadioImage scratch;
    Put(scratch, 1, slot);
    return FrequencyUnits(DecodeFrequency(scratch.ChannelRecord(1).first<4>()));
}

bool isProgrammed(const Slot& slot)
{
    CRadioImage scratch;
    Put(scratch, 1, slot);
    return !IsEmptyChannel(scratch, 1);
}

QString listedChoice(const QString& text, int column, bool chinese)
{
    for (const CBilingual* choice : choices(column))
        if (choice->Matches(text) || text.compare(QLatin1String(choice->english), Qt::CaseInsensitive) == 0)
            return choice->Text(chinese);
    return {};
}

// A header row copied along from a spreadsheet: it names the receive column.
bool isHeaderLine(const QStringList& fields)
{
    return std::any_of(fields.begin(), fields.end(), [](const QString& field) {
        const QString name = field.trimmed();
        return name == CChannelGrid::HeaderText(kRxFrequency, false)
            || name == CChannelGrid::HeaderText(kRxFrequency, true);
    });
}

// One pasted line into the grid's texts; the reason when refused.
QString checkLine(QStringList fields, int line, BandLimits limits, bool chinese, RowTexts& texts)
{
    const QString where = QString::number(line);
    if (fields.size() > kFieldCount + 1)
        return kTooManyColumns.Text(chinese).arg(where);
    if (fields.size() == kFieldCount + 1)
        fields.removeFirst(); // the channel number it was copied from
    while (fields.size() < kFieldCount)
        fields << QString();
    for (QString& field : fields)
        field = field.trimmed();

    texts = {};
    if (std::all_of(fields.begin(), fields.end(), [](const QString& f) { return f.isEmpty(); }))
        return {}; // an empty channel
    if (fields[0].isEmpty())
        return kNoReceive.Text(chinese).arg(where);

    for (int col : { kRxFrequency, kTxFrequency }) {
        const QString typed = fields[col - 1];
        if (col == kTxFrequency && typed.isEmpty()) {
            texts[col - 1] = texts[kRxFrequency - 1]; // the transmit frequency follows the receive one
            continue;
        }
        const FrequencyCheck check = CheckFrequency(typed, limits.lower, limits.upper);
        const QString name = CChannelGrid::HeaderText(col, chinese);
        if (check.verdict == FrequencyVerdict::OutOfRange)
            return kOutOfRange.Text(chinese).arg(where, name, typed);
        if (check.verdict == FrequencyVerdict::OffStep)
            return kOffStep.Text(chinese).arg(where, name, typed);
        texts[col - 1] = check.displayText;
    }
    for (int col = kDecodeTone; col <= kPower; ++col) {
        const QString typed = fields[col - 1];
        QString value;
        if (col == kDecodeTone || col == kEncodeTone)
            value = typed.isEmpty() ? kNone.Text(chinese) : ToneTable::ListedTone(typed, chinese);
        else
            value = typed.isEmpty() ? choices(col).front()->Text(chinese) : listedChoice(typed, col, chinese);
        if (value.isEmpty())
            return kNotAChoice.Text(chinese).arg(where, typed, CChannelGrid::HeaderText(col, chinese));
        texts[col - 1] = value;
    }
    return {};
}

} // namespace

Slot Take(const CRadioImage& image, int channel)
{
    Slot slot;
    const auto record = image.ChannelRecord(channel);
    std::copy(record.begin(), record.end(), slot.record.begin());
    slot.scan = image.ScanFlag(channel);
    return slot;
}

void Put(CRadioImage& image, int channel, const Slot& slot)
{
    image.CopyIn(ImageMap::channelOffset(channel), slot.record);
    image.SetScanFlag(channel, slot.scan);
}

Slot EmptySlot()
{
    Slot slot;
    slot.record.fill(ImageMap::kUnset);
    slot.scan = true;
    return slot;
}

void Clear(CRadioImage& image, Range range)
{
    if (!range.IsValid())
        return;
    for (int channel = range.first; channel <= range.last; ++channel)
        Put(image, channel, EmptySlot());
}

void Remove(CRadioImage& image, Range range)
{
    if (!range.IsValid())
        return;
    const int count = range.Count();
    for (int channel = range.first; channel <= kChannels; ++channel) {
        const int from = channel + count;
        Put(image, channel, from <= kChannels ? Take(image, from) : EmptySlot());
    }
}

bool Insert(CRadioImage& image, int at, int count)
{
    if (at < 1 || at > kChannels || count < 1 || at + count - 1 > kChannels)
        return false;
    for (int channel = kChannels - count + 1; channel <= kChannels; ++channel)
        if (channel >= at && isProgrammed(Take(image, channel)))
            return false;
    for (int channel = kChannels; channel >= at + count; --channel)
        Put(image, channel, Take(image, channel - count));
    for (int channel = at; channel < at + count; ++channel)
        Put(image, channel, EmptySlot());
    return true;
}

bool Move(CRadioImage& image, Range range, int delta)
{
    if (!range.IsValid() || (delta != -1 && delta != 1))
        return false;
    if ((delta < 0 && range.first == 1) || (delta > 0 && range.last == kChannels))
        return false;
    // The neighbour jumps over the range to the other side.
    const int neighbour = delta < 0 ? range.first - 1 : range.last + 1;
    const Slot moved = Take(image, neighbour);
    if (delta < 0) {
        for (int channel = range.first; channel <= range.last; ++channel)
            Put(image, channel - 1, Take(image, channel));
        Put(image, range.last, moved);
    } else {
        for (int channel = range.last; channel >= range.first; --channel)
            Put(image, channel + 1, Take(image, channel));
        Put(image, range.first, moved);
    }
    return true;
}

void SortByReceive(CRadioImage& image)
{
    std::vector<Slot> channels;
    for (int channel = 1; channel <= kChannels; ++channel)
        channels.push_back(Take(image, channel));
    std::stable_sort(channels.begin(), channels.end(), [](const Slot& a, const Slot& b) {
        const bool pa = isProgrammed(a);
        const bool pb = isProgrammed(b);
        if (pa != pb)
            return pa;
        return pa && receiveUnits(a) < receiveUnits(b);
    });
    for (int channel = 1; channel <= kChannels; ++channel)
        Put(image, channel, channels[std::size_t(channel - 1)]);
}

QString CopyText(const CRadioImage& image, Range range, bool chinese)
{
    QString text;
    if (!range.IsValid())
        return text;
    for (int channel = range.first; channel <= range.last; ++channel) {
        const RowTexts texts = DecodeChannel(image, channel, chinese);
        QStringList fields { QString::number(channel) };
        fields.append(QStringList(texts.begin(), texts.end()));
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

PasteResult ParsePaste(const QString& text, BandLimits limits, bool chinese)
{
    PasteResult result;
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normalised.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast(); // the final line break, and blank lines after the data
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        if (isHeaderLine(fields))
            continue;
        RowTexts texts;
        const QString error = checkLine(fields, i + 1, limits, chinese, texts);
        if (!error.isEmpty())
            result.errors << error;
        else
            result.rows.push_back(texts);
    }
    return result;
}

bool ApplyPaste(CRadioImage& image, int at, const std::vector<RowTexts>& rows, bool chinese)
{
    if (at < 1 || rows.empty() || at + int(rows.size()) - 1 > kChannels)
        return false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int channel = at + int(i);
        const RowTexts& texts = rows[i];
        if (texts[kRxFrequency - 1].isEmpty()) {
            Put(image, channel, EmptySlot());
            continue;
        }
        // As the grid stores: only the fields whose text differs from what the bytes show are
        // written, so pasting a channel back over itself changes no byte.
        // Into an empty channel every field is written; its other bytes stay, as when typed.
        const bool wasEmpty = IsEmptyChannel(image, channel);
        const RowTexts shown = wasEmpty ? RowTexts {} : DecodeChannel(image, channel, chinese);
        for (int col = kRxFrequency; col <= kPower; ++col)
            if (wasEmpty || !(texts[col - 1] == shown[col - 1]))
                EncodeField(image, channel, col, texts[col - 1]);
    }
    return true;
}

QString InsertRefusedMessage(bool chinese)
{
    return kInsertRefused.Text(chinese);
}

QString PasteTooLongMessage(int rows, int at, bool chinese)
{
    return kTooLong.Text(chinese).arg(rows).arg(at);
}

QString NothingToPasteMessage(bool chinese)
{
    return kNothing.Text(chinese);
}

} // namespace ChannelRows
