#include "radio/ToneTable.h"

#include "config/Language.h"
#include "config/NumberParse.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, ToneTable::kCtcssCount> kCtcssTenths = {
    625,  640,  655,  670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,
    974,  1000, 1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514,
    1567, 1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799, 1835, 1862, 1899, 1928, 1966,
    1995, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541,
};

constexpr std::array<int, ToneTable::kListedDcsCount> kDcsCodes = {
    23,  25,  26,  31,  32,  36,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115,
    116, 122, 125, 131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223,
    225, 226, 243, 244, 245, 246, 251, 252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315,
    325, 331, 332, 343, 346, 351, 356, 364, 365, 371, 411, 412, 413, 423, 431, 432, 445, 446,
    452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526, 532, 546, 565, 606, 612, 624,
    627, 631, 632, 645, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754,
};

// Two codes the radio can hold that the editors do not offer.
constexpr std::array<int, 2> kUnlistedDcsCodes = { 17, 50 };

// The stored value is the code's digits read as an octal number.
int octalValue(int code)
{
    return (code / 100) * 64 + (code / 10 % 10) * 8 + code % 10;
}

bool isKnownCode(int code)
{
    return std::find(kDcsCodes.begin(), kDcsCodes.end(), code) != kDcsCodes.end()
        || std::find(kUnlistedDcsCodes.begin(), kUnlistedDcsCodes.end(), code) != kUnlistedDcsCodes.end();
}

// What a typed tone may look like; the lists then decide whether it is one the radio offers.
const QRegularExpression &typedCtcssPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,4})(?:[.,]([0-9]*))?$"));
    return pattern;
}

const QRegularExpression &typedDcsPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^D([0-7]{1,3})([NI])$"), QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

} // namespace

namespace ToneTable {

QStringList BuildToneList(bool chinese)
{
    QStringList list;
    list.reserve(kToneListSize);
    list << (chinese ? QStringLiteral("无") : QStringLiteral("None"));
    for (int tenths : kCtcssTenths)
        list << NumberParse::FormatFixed(tenths / 10.0, 1);
    for (int code : kDcsCodes)
        list << QString::asprintf("D%03dN", code);
    for (int code : kDcsCodes)
        list << QString::asprintf("D%03dI", code);
    return list;
}

std::span<const int> CtcssTenths()
{
    return kCtcssTenths;
}

std::span<const int> ListedDcsCodes()
{
    return kDcsCodes;
}

QString ListedTone(const QString &typed, bool chinese)
{
    const QString text = typed.trimmed();
    const CBilingual none { "None", "无" };
    if (none.Matches(text) || text.compare(QLatin1String(none.english), Qt::CaseInsensitive) == 0)
        return none.Text(chinese);

    if (const QRegularExpressionMatch dcs = typedDcsPattern().match(text); dcs.hasMatch()) {
        const int code = dcs.captured(1).toInt();
        if (std::find(kDcsCodes.begin(), kDcsCodes.end(), code) == kDcsCodes.end())
            return QString();
        return QString::asprintf("D%03d", code) + dcs.captured(2).toUpper();
    }

    // Whole tenths of a hertz only: 100.5 and 88.55 are no tone of the list, whatever they are near.
    if (const QRegularExpressionMatch ctcss = typedCtcssPattern().match(text); ctcss.hasMatch()) {
        const QString decimals = ctcss.captured(2);
        for (qsizetype i = 1; i < decimals.size(); ++i)
            if (decimals.at(i) != QLatin1Char('0'))
                return QString();
        const int tenths = ctcss.captured(1).toInt() * 10 + (decimals.isEmpty() ? 0 : decimals.at(0).digitValue());
        if (std::find(kCtcssTenths.begin(), kCtcssTenths.end(), tenths) == kCtcssTenths.end())
            return QString();
        return NumberParse::FormatFixed(tenths / 10.0, 1);
    }
    return QString();
}

} // namespace ToneTable

int DcsValueToCode(int value)
{
    for (int code : kDcsCodes)
        if (octalValue(code) == value)
            return code;
    for (int code : kUnlistedDcsCodes)
        if (octalValue(code) == value)
            return code;
    return 0;
}

int DcsCodeToValue(int code)
{
    return isKnownCode(code) ? (octalValue(code) & 0xFF) : 0;
}
