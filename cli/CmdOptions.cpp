#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "config/FileLock.h"
#include "config/Language.h"
#include "radio/OptionalFeatures.h"
#include "image/DataFile.h"

#include <array>

using CliTexts::kNotAnItem;

namespace {

// Short names of the ten options, in dialog order.
constexpr std::array<const char *, 10> kNames = {
    "tot", "sql", "voice", "priority", "vox", "voxgain", "voxdelay", "sidekey", "beep", "saver",
};

constexpr CBilingual kUnlisted { "unlisted (0x%1)", "未列出 (0x%1)" };

// "tot, sql, ...": what a usage error offers.
QString optionNameList()
{
    QStringList names;
    for (const char *name : kNames)
        names << QLatin1String(name);
    return names.join(QStringLiteral(", "));
}

int optionOf(const QString &name)
{
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (name == QLatin1String(kNames[i]))
            return static_cast<int>(i);
    return -1;
}

} // namespace

// Prints the radio-wide options, or stores NAME=TEXT choices the way the dialog's OK stores them:
// all ten fields, a byte outside its list left as it was. A text that is no item leaves the file.
int RunOptions(CCliContext &context, const QStringList &args)
{
    static_assert(kNames.size() == 10);
    QString path;
    std::array<int, kNames.size()> chosen;
    chosen.fill(-2); // -2: not assigned on the command line
    std::array<QString, kNames.size()> texts;
    bool assigned = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--lang")) {
            if (!context.TakeLanguage(args.value(++i)))
                return context.UsageError(QStringLiteral("--lang takes english or chinese"));
        } else if (arg.startsWith(QLatin1String("--"))) {
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        } else if (path.isEmpty()) {
            path = arg;
        } else {
            const int eq = arg.indexOf(QLatin1Char('='));
            const int option = eq < 0 ? -1 : optionOf(arg.left(eq));
            if (option < 0)
                return context.UsageError(
                    QStringLiteral("\"%1\" is not NAME=TEXT with a known NAME (%2)").arg(arg, optionNameList()));
            texts[option] = arg.mid(eq + 1);
            chosen[option] = -1;
            assigned = true;
        }
    }
    if (path.isEmpty())
        return context.UsageError(QStringLiteral("options needs a FILE"));

    const bool zh = context.IsChinese();
    const auto options = OptionalFeatures::All();
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (chosen[i] == -2)
            continue;
        chosen[i] = OptionalFeatures::IndexOfText(options[i], texts[i]);
        if (chosen[i] < 0)
            return context.Fail(kNotAnItem.Text(zh).arg(texts[i], options[i].label.Text(zh),
                                                         OptionalFeatures::Items(options[i], zh).join(QStringLiteral(", "))));
    }

    // Held from reading the file to replacing it: a second program changing it waits for this one.
    CFileLock lock(path);
    if (assigned && !lock.Lock())
        return context.Fail(lock.Error());
    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path, zh));

    if (!assigned) {
        for (const QString &line : OptionalFeatures::Lines(image, zh, kUnlisted.Text(zh)))
            context.Out() << line << '\n';
        context.Out().flush();
        return CCliContext::kDone;
    }

    // As the dialog: every field takes its selection, the assigned ones the new item.
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        const int index = chosen[i] >= 0 ? chosen[i] : OptionalFeatures::SelectionFromImage(options[i], image);
        OptionalFeatures::StoreSelection(options[i], image, index);
    }
    const DataFile::Result saved = DataFile::Save(path, image);
    if (!saved.ok())
        return context.Fail(DataFile::Describe(saved, path, zh));
    return CCliContext::kDone;
}
