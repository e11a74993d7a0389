#pragma once

#include "config/Language.h"
#include "service/ServiceBand.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class CRadioImage;

// The receiver and modulation alignment values between 0x300 and 0x31A: a squelch level per frequency
// point, two squelch thresholds, six receiver parameters, three microphone gains and three deviation
// limits. Every value has a legal range; the sanitiser puts anything outside it back to a safe value
// before it is shown and after it is stored.
namespace ParamTable {

constexpr int kSquelchBase = 0x300;
constexpr int kSquelchCapacity = 13; // 0x300 - 0x30C
constexpr int kSquelchMin = 5;
constexpr int kSquelchMax = 100;

// The values with one byte of their own, in image order.
enum Field {
    kSqlClose, // 0x30D
    kNarrowSql, // 0x30E, sign-magnitude: bit 7 negative, bits 0-6 magnitude
    kRx1Wide,
    kRx1Narrow,
    kRx2Wide,
    kRx2Narrow,
    kRx3Wide,
    kRx3Narrow, // 0x30F - 0x314
    kMic1Gain,
    kMic2Gain,
    kMic3Gain, // 0x315 - 0x317
    kMaxDeviation,
    kCtcssDeviation,
    kDcsDeviation, // 0x318 - 0x31A
    kFieldCount
};

struct FieldInfo {
    const char* name; // as program-cli params takes it
    int offset;
    int min;
    int max;
    int safe; // what an out-of-range value becomes
};

const FieldInfo& Info(Field field);
// The field named name, if any.
std::optional<Field> FieldNamed(const QString& name);

// The Narrow SQL threshold's byte as a signed value: 0x83 is -3.
int NarrowFromByte(std::uint8_t byte);
// -3 gives 0x83; magnitudes are taken modulo 128, as the radio keeps seven bits.
std::uint8_t NarrowToByte(int value);

// The value of a field as the dialog shows it (the Narrow SQL threshold signed).
int Value(const CRadioImage& image, Field field);
bool InRange(Field field, int value);
// Stores value; a value outside the field's range is stored as the field's safe value instead, so a
// typed 300 never wraps round to a legal-looking 44.
void SetValue(CRadioImage& image, Field field, int value);

// The points with a squelch byte, as the SQL grid lists them, and where point index i lives.
std::vector<int> SquelchPoints(const CServiceBand& band);
int SquelchAddress(const CServiceBand& band, int index);
int SquelchIndexOf(const CServiceBand& band, int mhz);
// Stores a squelch level; outside 5..100 it becomes 5.
void SetSquelch(CRadioImage& image, const CServiceBand& band, int index, int value);

// One value the sanitiser put right.
struct Correction {
    QString name; // "sql:130", "mic1", ...
    int offset;
    int was; // as shown (the Narrow SQL threshold signed)
    int now;
};
// The name of a field, and of the squelch level of a point, as the dialog labels them.
QString Label(Field field, bool chinese);
QString SquelchLabel(int mhz, bool chinese);
// Empty when typed is the number that was stored; else one line saying what was stored instead:
// "MIC1 Gain: "200" is not a whole number from 0 to 31; 0 was stored."
QString StoredNote(const QString& label, const QString& typed, int min, int max, int stored, bool chinese);
// The notes under one heading, for one message after the values were stored.
QString StoredMessage(const QStringList& notes, bool chinese);

// Puts every value the dialog shows back into its range: the squelch bytes of the points it lists
// (at their place for the band), then every field in image order. Nothing else is touched.
std::vector<Correction> Sanitise(CRadioImage& image, const CServiceBand& band);

} // namespace ParamTable
