#include "service/ParamTable.h"

#include "image/RadioImage.h"

#include <algorithm>
#include <array>

namespace ParamTable {

namespace {

constexpr std::uint8_t kNegative = 0x80;
constexpr std::uint8_t kMagnitude = 0x7F;

constexpr std::array<FieldInfo, kFieldCount> kFields = { {
    { "sqlclose", 0x30D, 1, 10, 1 },
    { "narrowsql", 0x30E, -10, 10, 0 },
    { "rx1w", 0x30F, 5, 125, 5 },
    { "rx1n", 0x310, 5, 125, 5 },
    { "rx2w", 0x311, 5, 125, 5 },
    { "rx2n", 0x312, 5, 125, 5 },
    { "rx3w", 0x313, 5, 125, 5 },
    { "rx3n", 0x314, 5, 125, 5 },
    { "mic1", 0x315, 0, 31, 0 },
    { "mic2", 0x316, 0, 127, 0 },
    { "mic3", 0x317, 0, 15, 0 },
    { "maxdev", 0x318, 30, 150, 30 },
    { "ctcssdev", 0x319, 5, 30, 5 },
    { "dcsdev", 0x31A, 5, 30, 5 },
} };

constexpr CBilingual kParamLabels[kFieldCount] = {
    { "SQL close threshold", "静噪关闭门限" },
    { "Narrow SQL threshold", "窄带静噪门限" },
    { "Param 1 Wide", "参数1 宽带" },
    { "Param 1 Narrow", "参数1 窄带" },
    { "Param 2 Wide", "参数2 宽带" },
    { "Param 2 Narrow", "参数2 窄带" },
    { "Param 3 Wide", "参数3 宽带" },
    { "Param 3 Narrow", "参数3 窄带" },
    { "MIC1 Gain", "MIC1 增益" },
    { "MIC2 Gain", "MIC2 增益" },
    { "MIC3 Gain", "MIC3 增益" },
    { "Max Deviation", "最大频偏" },
    { "Ctcss Deviation", "CTCSS 频偏" },
    { "Dcs Deviation", "DCS 频偏" },
};
constexpr CBilingual kParamSquelchLabel { "SQL %1 MHz", "静噪 %1 MHz" };
constexpr CBilingual kParamStoredNote { "%1: \"%2\" is not a whole number from %3 to %4; %5 was stored.",
    "%1: \"%2\" 不是 %3 至 %4 之间的整数; 已存入 %5。" };
constexpr CBilingual kParamStoredHeading { "Not every value was stored as typed:", "以下数值未按输入存入:" };

} // namespace

QString Label(Field field, bool chinese)
{
    return kParamLabels[std::size_t(field)].Text(chinese);
}

QString SquelchLabel(int mhz, bool chinese)
{
    return kParamSquelchLabel.Text(chinese).arg(mhz);
}

QString StoredNote(const QString& label, const QString& typed, int min, int max, int stored, bool chinese)
{
    bool ok = false;
    const int value = typed.trimmed().toInt(&ok);
    if (ok && value == stored)
        return QString();
    return kParamStoredNote.Text(chinese).arg(label, typed, QString::number(min), QString::number(max), QString::number(stored));
}

QString StoredMessage(const QStringList& notes, bool chinese)
{
    return kParamStoredHeading.Text(chinese) + QLatin1Char('\n') + notes.join(QLatin1Char('\n'));
}

const FieldInfo& Info(Field field)
{
    return kFields.at(std::size_t(field));
}

std::optional<Field> FieldNamed(const QString& name)
{
    for (int f = 0; f < kFieldCount; ++f)
        if (name == QLatin1String(kFields[std::size_t(f)].name))
            return Field(f);
    return std::nullopt;
}

int NarrowFromByte(std::uint8_t byte)
{
    const int magnitude = byte & kMagnitude;
    return (byte & kNegative) ? -magnitude : magnitude;
}

std::uint8_t NarrowToByte(int value)
{
    const int magnitude = (value < 0 ? -value : value) & kMagnitude;
    return static_cast<std::uint8_t>(value < 0 ? (kNegative | magnitude) : magnitude);
}

int Value(const CRadioImage& image, Field field)
{
    const std::uint8_t byte = image.Byte(Info(field).offset);
    return field == kNarrowSql ? NarrowFromByte(byte) : byte;
}

bool InRange(Field field, int value)
{
    return value >= Info(field).min && value <= Info(field).max;
}

void SetValue(CRadioImage& image, Field field, int value)
{
    if (!InRange(field, value))
        value = Info(field).safe;
    image.SetByte(Info(field).offset, field == kNarrowSql ? NarrowToByte(value) : std::uint8_t(value));
}

std::vector<int> SquelchPoints(const CServiceBand& band)
{
    return band.Points(kSquelchCapacity);
}

int SquelchAddress(const CServiceBand& band, int index)
{
    return kSquelchBase + band.Entry(index);
}

int SquelchIndexOf(const CServiceBand& band, int mhz)
{
    const std::vector<int> points = SquelchPoints(band);
    const auto it = std::find(points.begin(), points.end(), mhz);
    return it == points.end() ? -1 : int(it - points.begin());
}

void SetSquelch(CRadioImage& image, const CServiceBand& band, int index, int value)
{
    if (value < kSquelchMin || value > kSquelchMax)
        value = kSquelchMin;
    image.SetByte(SquelchAddress(band, index), std::uint8_t(value));
}

std::vector<Correction> Sanitise(CRadioImage& image, const CServiceBand& band)
{
    std::vector<Correction> corrections;
    const std::vector<int> points = SquelchPoints(band);
    for (int i = 0; i < int(points.size()); ++i) {
        const int address = SquelchAddress(band, i);
        const int was = image.Byte(address);
        if (was < kSquelchMin || was > kSquelchMax) {
            image.SetByte(address, kSquelchMin);
            corrections.push_back(
                { QStringLiteral("sql:%1").arg(points[std::size_t(i)]), address, was, kSquelchMin });
        }
    }
    for (int f = 0; f < kFieldCount; ++f) {
        const Field field = Field(f);
        const int was = Value(image, field);
        if (!InRange(field, was)) {
            SetValue(image, field, Info(field).safe);
            corrections.push_back(
                { QLatin1String(Info(field).name), Info(field).offset, was, Info(field).safe });
        }
    }
    return corrections;
}

} // namespace ParamTable
