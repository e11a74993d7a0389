#include "csv/ChannelCsv.h"

#include "config/Language.h"
#include "csv/CsvColumns.h"
#include "csv/CsvRowReader.h"
#include "csv/CsvText.h"
#include "csv/CsvValues.h"
#include "radio/ChannelGrid.h"
#include "radio/ToneTable.h"

#include <map>
#include <limits>
#include <optional>

using namespace ChannelCodec;

namespace {

constexpr CBilingual kBadLocation { "Location \"%1\" is not a channel number.", "位置 \"%1\" 不是信道号。" };
constexpr CBilingual kBeyondLocation { "Location %1 lies beyond channel 16.", "位置 %1 超出第 16 信道。" };
constexpr CBilingual kBeyondLocationFromZero { "Location %1 (counted from 0) lies beyond channel 16.",
    "位置 %1 (从 0 起算) 超出第 16 信道。" };
constexpr CBilingual kTwice { "Channel %1 is already given on line %2.", "信道 %1 已在第 %2 行给出。" };
constexpr CBilingual kOddTones { "Taken as it stands, though not in the standard tone list: %1.",
    "不在标准亚音表中, 按原值导入: %1。" };
constexpr CBilingual kLine { "Line %1: %2", "第 %1 行: %2" };
constexpr CBilingual kLeftOutOne { "left out 1 row outside Locations %2", "略去 Location %2 之外的 1 行" };
constexpr CBilingual kLeftOut { "left out %1 rows outside Locations %2", "略去 Location %2 之外的 %1 行" };

bool isBlank(const CsvText::Record &record)
{
    for (const QString &field : record.fields)
        if (!field.trimmed().isEmpty())
            return false;
    return true;
}

std::optional<int> locationOf(const CCsvColumns &columns, const CsvText::Record &record)
{
    const auto location = CsvValues::ParseScaled(columns.Get(record, CCsvColumns::Location), 0);
    if (!location || *location > std::numeric_limits<int>::max() / 2)
        return std::nullopt;
    return static_cast<int>(*location);
}

// Files for radios that count their memories from 0 put their first row at Location 0.
int fileFirstLocation(const CCsvColumns &columns, const std::vector<CsvText::Record> &records)
{
    for (std::size_t i = 1; i < records.size(); ++i)
        if (locationOf(columns, records[i]) == 0)
            return 0;
    return 1;
}

// A DCS code outside the code table has no text the grid encodes: its tone word is written as is.
void writeUnnamedCodes(const RowTexts &texts, int channel, CRadioImage &image)
{
    const std::pair<int, int> tones[] = { { kDecodeTone, ImageMap::Channel::kDecodeTone },
        { kEncodeTone, ImageMap::Channel::kEncodeTone } };
    for (const auto &[column, offset] : tones) {
        const CsvValues::Tone tone = CsvValues::FromGridText(texts[column - 1]);
        if (tone.kind != CsvValues::Tone::Kind::Dcs || tone.code == 0 || DcsCodeToValue(tone.code) != 0)
            continue;
        std::uint8_t low = 0, kind = 0;
        if (!CsvValues::ToToneWord(tone, low, kind))
            continue;
        const int at = ImageMap::channelOffset(channel) + offset;
        image.SetByte(at, low);
        image.SetByte(at + 1, kind);
    }
}

} // namespace

namespace ChannelCsv {

ImportPlan Plan(const QByteArray &bytes, const CRadioImage &image, BandLimits limits, bool chinese, int firstLocation)
{
    ImportPlan plan;
    const CCsvColumns::File file = CCsvColumns::Read(bytes, chinese);
    if (!file.refusal.isEmpty()) {
        plan.fileRefused = true;
        plan.refusals.push_back({ file.refusalLine, file.refusal });
        return plan;
    }
    const std::vector<CsvText::Record> &records = file.table.records;
    const CCsvColumns& columns = file.columns;
    const bool chosen = firstLocation != kFileFirstLocation;
    plan.firstLocation = chosen ? firstLocation : fileFirstLocation(columns, records);

    std::map<int, int> lineOfChannel;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const CsvText::Record &record = records[i];
        if (isBlank(record))
            continue;
        const auto location = locationOf(columns, record);
        if (!location) {
            plan.refusals.push_back(
                { record.line, kBadLocation.Text(chinese).arg(columns.Get(record, CCsvColumns::Location)) });
            continue;
        }
        const std::int64_t channel = std::int64_t(*location) - plan.firstLocation + 1;
        if (channel < 1 || channel > ImageMap::kChannelCount) {
            if (chosen) {
                ++plan.leftOut;
                continue;
            }
            const CBilingual &beyond = plan.firstLocation == 0 ? kBeyondLocationFromZero : kBeyondLocation;
            plan.refusals.push_back({ record.line, beyond.Text(chinese).arg(*location) });
            ++plan.beyond;
            continue;
        }
        const int ch = static_cast<int>(channel);
        if (const auto seen = lineOfChannel.find(ch); seen != lineOfChannel.end()) {
            plan.refusals.push_back({ record.line, kTwice.Text(chinese).arg(ch).arg(seen->second) });
            continue;
        }
        lineOfChannel[ch] = record.line;
        try {
            CCsvRowReader reader(columns, record, DecodeChannel(image, ch, chinese), !IsEmptyChannel(image, ch), limits,
                chinese);
            plan.rows.emplace_back(ch, reader.Read());
            if (!reader.OddTones().isEmpty())
                plan.notes.push_back({ record.line, kOddTones.Text(chinese).arg(reader.OddTones().join(QStringLiteral(", "))) });
        } catch (const CCsvRowReader::Refused &refused) {
            plan.refusals.push_back({ record.line, refused.reason });
            plan.outOfBand = plan.outOfBand || refused.outOfBand;
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
    for (const auto &[channel, texts] : plan.rows)
        writeUnnamedCodes(texts, channel, image);
    return static_cast<int>(plan.rows.size());
}

QString Describe(const Refusal &refusal, bool chinese)
{
    if (refusal.line == 0)
        return refusal.reason;
    return kLine.Text(chinese).arg(refusal.line).arg(refusal.reason);
}

QString LocationRange(const ImportPlan &plan)
{
    return QString::number(plan.firstLocation) + QChar(0x2013)
        + QString::number(plan.firstLocation + ImageMap::kChannelCount - 1);
}

QString LeftOutText(const ImportPlan &plan, bool chinese)
{
    if (plan.leftOut == 0)
        return QString();
    const CBilingual &text = plan.leftOut == 1 ? kLeftOutOne : kLeftOut;
    return text.Text(chinese)
        .replace(QLatin1String("%1"), QString::number(plan.leftOut))
        .replace(QLatin1String("%2"), LocationRange(plan));
}

Locations ListLocations(const QByteArray &bytes)
{
    Locations list;
    const CCsvColumns::File file = CCsvColumns::Read(bytes, false);
    if (!file.refusal.isEmpty())
        return list;
    list.readable = true;
    const std::vector<CsvText::Record> &records = file.table.records;
    const CCsvColumns& columns = file.columns;
    list.fileFirst = fileFirstLocation(columns, records);
    for (std::size_t i = 1; i < records.size(); ++i) {
        const auto location = locationOf(columns, records[i]);
        if (!location)
            continue;
        const CsvText::Record &r = records[i];
        list.rows.push_back(
            { *location, r.line, columns.Get(r, CCsvColumns::Frequency), columns.Get(r, CCsvColumns::Duplex),
                columns.Get(r, CCsvColumns::Offset), columns.Get(r, CCsvColumns::Tone) });
        list.lowest = list.rows.size() == 1 ? *location : std::min(list.lowest, *location);
        list.highest = std::max(list.highest, *location);
    }
    return list;
}

} // namespace ChannelCsv
