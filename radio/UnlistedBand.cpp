#include "radio/UnlistedBand.h"

#include "config/IniFile.h"
#include "config/Language.h"
#include "radio/BandFit.h"
#include "image/RadioImage.h"

namespace {

constexpr CBilingual kUnlistedType { "Product type byte 0x%1 is not among the configured types",
    "产品类型字节 0x%1 不在配置的类型中" };
constexpr CBilingual kUnlistedBand { "Band byte 0x%1 is not among the bands configured for %2",
    "频段字节 0x%1 不在为 %2 配置的频段中" };
constexpr CBilingual kCheckedAgainst { "; typed frequencies are checked against %1.", "; 输入的频率按 %1 检查。" };
constexpr CBilingual kNoBand { "0 to 1 MHz, as no band is configured for it", "0 至 1 MHz (未为其配置频段)" };
constexpr CBilingual kRefusedOutside {
    "; channel(s) %1 lie outside %2: nothing was sent. Choose the band with: program-cli product FILE "
    "--band TEXT, or add --allow-out-of-band to write them anyway.",
    "; 信道 %1 超出 %2: 未发送任何数据。请用 program-cli product FILE --band TEXT 选择频段, "
    "或加上 --allow-out-of-band 仍然写入。"
};

QString unlistedByteHex(std::uint8_t byte)
{
    return QString::asprintf("%02X", byte);
}

// "Band byte 0x09 is not among the bands configured for QR-260", or empty when listed.
QString unlistedWhat(const CIniFile &ini, const CRadioImage &image, bool chinese)
{
    const std::uint8_t type = image.Byte(ImageMap::kProductType);
    const std::uint8_t band = image.Byte(ImageMap::kFrequencyBand);
    if (ProductCatalog::IsListed(ini, type, band))
        return QString();
    if (type >= ProductCatalog::TypeList(ini).size())
        return kUnlistedType.Text(chinese).arg(unlistedByteHex(type));
    return kUnlistedBand.Text(chinese).arg(unlistedByteHex(band), ProductCatalog::TypeText(ini, type));
}

// The band text the bytes select, or what an empty one means.
QString checkedBand(const CIniFile &ini, const CRadioImage &image, bool chinese)
{
    const QString band = ProductCatalog::BandText(
        ini, image.Byte(ImageMap::kProductType), image.Byte(ImageMap::kFrequencyBand));
    return band.trimmed().isEmpty() ? kNoBand.Text(chinese) : band.trimmed();
}

} // namespace

namespace UnlistedBand {

QString StatusNote(const CIniFile &ini, const CRadioImage &image, bool chinese)
{
    const QString what = unlistedWhat(ini, image, chinese);
    return what.isEmpty() ? what : what + kCheckedAgainst.Text(chinese).arg(checkedBand(ini, image, chinese));
}

QString CheckedBand(const CIniFile &ini, const CRadioImage &image, bool chinese)
{
    return checkedBand(ini, image, chinese);
}

QString WriteRefusal(const CIniFile &ini, const CRadioImage &image, const std::vector<int> &outside, bool chinese)
{
    return unlistedWhat(ini, image, chinese)
        + kRefusedOutside.Text(chinese).arg(BandFit::ChannelNumbers(outside), checkedBand(ini, image, chinese));
}

} // namespace UnlistedBand
