#include "config/Language.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "radio/OptionalFeatures.h"
#include "radio/ProductCatalog.h"
#include "radio/ChannelGrid.h"
#include "image/DataFile.h"

using CliTexts::kBandLabel;
using CliTexts::kTypeLabel;

namespace {

constexpr CBilingual kOutsideList { "(not in the list: byte 0x%1)", "(不在列表中: 字节 0x%1)" };

} // namespace

// The 16 channels as the grid shows them, TAB-separated, then the product and the radio-wide options.
int RunShow(CCliContext &context, const QStringList &args)
{
    QString path;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--lang")) {
            if (!context.TakeLanguage(args.value(++i)))
                return context.UsageError(QStringLiteral("--lang takes english or chinese"));
        } else if (path.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            path = arg;
        } else {
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
    }
    if (path.isEmpty())
        return context.UsageError(QStringLiteral("show needs a FILE"));

    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    const bool zh = context.IsChinese();
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path, zh)); // in the language asked for
    CChannelGrid grid(zh);
    grid.LoadImage(image);
    QTextStream &out = context.Out();
    for (int channel = 1; channel < CChannelGrid::kRows; ++channel) {
        out << channel;
        for (int col = 1; col < CChannelGrid::kCols; ++col)
            out << '\t' << grid.Text(channel, col);
        out << '\n';
    }
    out << '\n';

    const std::uint8_t type = image.Byte(ImageMap::kProductType);
    const std::uint8_t band = image.Byte(ImageMap::kFrequencyBand);
    out << kTypeLabel.Text(zh) << ": " << ProductCatalog::ShownTypeText(context.Ini(), type, zh) << '\n';
    out << kBandLabel.Text(zh) << ": " << ProductCatalog::ShownBandText(context.Ini(), type, band, zh)
        << '\n';
    for (const QString &line : OptionalFeatures::Lines(image, zh, kOutsideList.Text(zh)))
        out << line << '\n';
    out.flush();
    return CCliContext::kDone;
}
