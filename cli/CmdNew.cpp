#include "config/AppPaths.h"
#include "config/UserSettings.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "radio/ProductCatalog.h"
#include "radio/ChannelCodec.h"
#include "radio/ChannelGrid.h"
#include "image/DataFile.h"
#include "config/FileLock.h"

// What File > New followed by File > Save stores: the new image, the product type and band from the
// per-user settings, then the grid stored back.
int RunNew(CCliContext &context, const QStringList &args)
{
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-')))
        return context.UsageError(QStringLiteral("new takes exactly one FILE"));
    const QString path = args.first();
    if (context.OutputIsLog(path))
        return CCliContext::kFailed;

    // Held until the file is saved: a second program saving the same file waits for this one.
    CFileLock lock(path);
    if (!lock.Lock())
        return context.Fail(lock.Error());

    bool builtIn = false;
    CRadioImage image = DataFile::NewImage(CAppPaths::ExecutableDir(), &builtIn);
    if (builtIn)
        ChannelCodec::EncodeEmptyChannels(image);
    CUserSettings settings = CUserSettings::ForConfiguration(context.Ini());
    ProductCatalog::SyncTypeAndBand(context.Ini(), image, settings, true);

    CChannelGrid grid(context.IsChinese());
    grid.LoadImage(image);
    grid.StoreGrid(image);

    const DataFile::Result saved = DataFile::Save(path, image);
    if (!saved.ok())
        return context.Fail(DataFile::Describe(saved, path));
    return CCliContext::kDone;
}
