#include "cli/CliService.h"

#include "cli/CliContext.h"
#include "config/Language.h"
#include "image/RadioImage.h"

namespace {

constexpr CBilingual kUnknownBand { "the file's band (Type:%1  Fre:%2) is not in the configuration's list; "
                                    "choose one with: program-cli product FILE --band TEXT",
    "文件的频段 (类型:%1  频率:%2) 不在配置列表中; 请用 program-cli product FILE --band TEXT 选择" };

} // namespace

namespace CliService {

std::optional<CServiceBand> BandOf(CCliContext& context, const CRadioImage& image)
{
    const std::uint8_t type = image.Byte(ImageMap::kProductType);
    const std::uint8_t band = image.Byte(ImageMap::kFrequencyBand);
    if (!ProductCatalog::IsListed(context.Ini(), type, band)) {
        const bool zh = context.IsChinese();
        context.Fail(kUnknownBand.Text(zh).arg(ProductCatalog::ShownTypeText(context.Ini(), type, zh),
            ProductCatalog::ShownBandText(context.Ini(), type, band, zh)));
        return std::nullopt;
    }
    const QString bandText = ProductCatalog::BandText(context.Ini(), type, band);
    return CServiceBand(ProductCatalog::LimitsFromBandText(bandText));
}

void NoteClipped(CCliContext& context, const CServiceBand& band, int capacity)
{
    const QString note = band.Note(capacity, context.IsChinese());
    if (!note.isEmpty())
        context.Err() << note << Qt::endl;
}

bool ParseInt(const QString& text, int& value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok, 10);
    return ok && !text.trimmed().isEmpty();
}

QString PointList(const std::vector<int>& points)
{
    QStringList texts;
    for (int point : points)
        texts << QString::number(point);
    return texts.isEmpty() ? QStringLiteral("-") : texts.join(QStringLiteral(", "));
}

} // namespace CliService
