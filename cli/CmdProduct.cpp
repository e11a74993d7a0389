#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "config/FileLock.h"
#include "config/Language.h"
#include "dialogs/ProductChoice.h"
#include "image/DataFile.h"
#include "image/RadioImage.h"

using namespace CliTexts;

namespace {


// The index of an item given by its text or by its 1-based number; -1 when it is neither.
int itemIndex(const QStringList &items, const QString &text)
{
    const int exact = items.indexOf(text);
    if (exact >= 0)
        return exact;
    bool numeric = false;
    const int number = text.toInt(&numeric);
    return numeric && number >= 1 && number <= items.size() ? number - 1 : -1;
}

QString numbered(const QStringList &items)
{
    QStringList lines;
    for (int i = 0; i < items.size(); ++i)
        lines << QStringLiteral("%1 \"%2\"").arg(i + 1).arg(items.at(i));
    return lines.join(QStringLiteral(", "));
}

} // namespace

// Prints the product type and band of a data file; --type and --band store them the way the Product
// Information dialog's OK does, band-class byte included. The per-user settings are never touched.
int RunProduct(CCliContext &context, const QStringList &args)
{
    QString path;
    QString typeArg;
    QString bandArg;
    bool typeGiven = false;
    bool bandGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--lang")) {
            if (!context.TakeLanguage(args.value(++i)))
                return context.UsageError(QStringLiteral("--lang takes english or chinese"));
        } else if (arg == QLatin1String("--type") || arg == QLatin1String("--band")) {
            if (i + 1 >= args.size())
                return context.UsageError(QStringLiteral("%1 needs a TEXT").arg(arg));
            (arg == QLatin1String("--type") ? typeArg : bandArg) = args.at(++i);
            (arg == QLatin1String("--type") ? typeGiven : bandGiven) = true;
        } else if (path.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            path = arg;
        } else {
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
    }
    if (path.isEmpty())
        return context.UsageError(QStringLiteral("product needs a FILE"));

    const bool zh = context.IsChinese();
    // Held from reading the file to replacing it: a second program changing it waits for this one.
    CFileLock lock(path);
    if ((typeGiven || bandGiven) && !lock.Lock())
        return context.Fail(lock.Error());
    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path, zh));

    const CIniFile &ini = context.Ini();
    ProductChoice::Outcome outcome = ProductChoice::Current(ini, image);
    if (typeGiven || bandGiven) {
        int type = image.Byte(ImageMap::kProductType);
        int band = -1; // keeps the byte
        if (typeGiven) {
            const QStringList types = ProductCatalog::TypeList(ini);
            const int index = itemIndex(types, typeArg);
            if (index < 0)
                return context.Fail(kNotAnItem.Text(zh).arg(typeArg, kTypeLabel.Text(zh), numbered(types)));
            // Another type starts on its first band, as in the dialog.
            if (index != type)
                band = 0;
            type = index;
        }
        if (bandGiven) {
            const QStringList bands = ProductCatalog::BandList(ini, type);
            band = itemIndex(bands, bandArg);
            if (band < 0)
                return context.Fail(kNotAnItem.Text(zh).arg(bandArg, kBandLabel.Text(zh), numbered(bands)));
        }
        outcome = ProductChoice::Apply(ini, image, type, band, outcome.limits.lower);
        const DataFile::Result saved = DataFile::Save(path, image);
        if (!saved.ok())
            return context.Fail(DataFile::Describe(saved, path, zh));
    }
    context.Out() << kTypeLabel.Text(zh) << ": " << outcome.typeText << '\n'
                  << kBandLabel.Text(zh) << ": " << outcome.bandText << '\n';
    context.Out().flush();
    return CCliContext::kDone;
}
