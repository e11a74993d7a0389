#include "cli/CliService.h"

#include "cli/CliContext.h"
#include "image/RadioImage.h"

namespace CliService {

CServiceBand BandOf(const CCliContext& context, const CRadioImage& image)
{
    const QString band = ProductCatalog::BandText(
        context.Ini(), image.Byte(ImageMap::kProductType), image.Byte(ImageMap::kFrequencyBand));
    return CServiceBand(ProductCatalog::LimitsFromBandText(band));
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

} // namespace CliService
