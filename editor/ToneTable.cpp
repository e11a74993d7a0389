#include "editor/ToneTable.h"

#include "config/NumberParse.h"

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
