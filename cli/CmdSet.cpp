#include "config/StringTable.h"
#include "config/UserSettings.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "radio/ProductCatalog.h"
#include "radio/ChannelGrid.h"
#include "image/DataFile.h"
#include "config/FileLock.h"

namespace {

constexpr const char *kFieldNames[ChannelCodec::kFieldCount] = {
    "rx", "tx", "dec", "enc", "wn", "scan", "busy", "power",
};

// "rx, tx, ...": what a usage error offers.
QString fieldNameList()
{
    QStringList names;
    for (const char *name : kFieldNames)
        names << QLatin1String(name);
    return names.join(QStringLiteral(", "));
}

int columnOf(const QString &field)
{
    for (int i = 0; i < ChannelCodec::kFieldCount; ++i)
        if (field == QLatin1String(kFieldNames[i]))
            return i + 1;
    return 0;
}

// A list column takes an item of its list in either language; the grid then holds the item in the
// running language, as if it had been chosen in the editor. -1 when the text is no item.
int listIndex(int column, const QString &text)
{
    for (bool chinese : { false, true }) {
        const QStringList items = ChannelCodec::ListItems(column, chinese);
        for (int i = 0; i < items.size(); ++i)
            if (items.at(i).compare(text, Qt::CaseInsensitive) == 0)
                return i;
    }
    return -1;
}

// One line naming what a list column takes.
QString listHint(int column, bool chinese)
{
    const QString field = QLatin1String(kFieldNames[column - 1]);
    return QStringLiteral("%1 takes one of: %2").arg(field, ChannelCodec::ListItems(column, chinese).join(QStringLiteral(", ")));
}

} // namespace

// Commits each FIELD=TEXT to the channel's cell by the grid's rules, then stores the grid and saves.
// Any refused value leaves the file untouched.
int RunSet(CCliContext &context, const QStringList &args)
{
    if (args.size() < 3)
        return context.UsageError(QStringLiteral("set needs FILE CHANNEL FIELD=TEXT..."));
    const QString path = args.at(0);
    bool numeric = false;
    const int channel = args.at(1).toInt(&numeric);
    if (!numeric || channel < 1 || channel > ImageMap::kChannelCount)
        return context.UsageError(QStringLiteral("CHANNEL must be 1 to 16, not \"%1\"").arg(args.at(1)));

    struct Assignment
    {
        int column;
        QString text;
    };
    std::vector<Assignment> assignments;
    for (const QString &arg : args.mid(2)) {
        const int eq = arg.indexOf(QLatin1Char('='));
        const int column = eq < 0 ? 0 : columnOf(arg.left(eq));
        if (column == 0)
            return context.UsageError(
                QStringLiteral("\"%1\" is not FIELD=TEXT with a known FIELD (%2)").arg(arg, fieldNameList()));
        assignments.push_back({ column, arg.mid(eq + 1) });
    }

    // Held until the file is saved: a second program saving the same file waits for this one.
    CFileLock lock(path);
    if (!lock.Lock())
        return context.Fail(lock.Error());

    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path));

    CChannelGrid grid(context.IsChinese());
    grid.LoadImage(image);
    // As in the window: a radio of a type or band the configuration does not list is checked against
    // the last valid band this user had.
    grid.SetBandLimits(
        ProductCatalog::CheckedLimits(context.Ini(), image, CUserSettings::ForConfiguration(context.Ini())));

    for (const Assignment &a : assignments) {
        QString text = a.text;
        // Tones are the grid's own rule, message included: the window takes and refuses the same texts.
        const bool tone = a.column == ChannelCodec::kDecodeTone || a.column == ChannelCodec::kEncodeTone;
        if (a.column >= ChannelCodec::kDecodeTone && !tone) {
            const int index = listIndex(a.column, text);
            if (index < 0) {
                context.Err() << StringTable::Message(StringTable::kDataFormat) << '\n';
                return context.Fail(listHint(a.column, context.IsChinese()));
            }
            text = ChannelCodec::ListItems(a.column, context.IsChinese()).at(index);
        }
        const CChannelGrid::Outcome outcome = grid.Commit(channel, a.column, text, CChannelGrid::Trigger::Enter);
        if (outcome != CChannelGrid::Outcome::Accepted)
            return context.Fail(grid.MessageFor(outcome, channel, text,
                ProductCatalog::BandText(
                    context.Ini(), image.Byte(ImageMap::kProductType), image.Byte(ImageMap::kFrequencyBand))));
    }

    grid.StoreGrid(image);
    const DataFile::Result saved = DataFile::Save(path, image);
    if (!saved.ok())
        return context.Fail(DataFile::Describe(saved, path));
    return CCliContext::kDone;
}
