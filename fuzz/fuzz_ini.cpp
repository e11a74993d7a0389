// Configuration text from anywhere: every lookup must answer without harm, and what the store writes
// must read back as the same store.
#include "config/IniFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    CIniFile ini;
    ini.LoadText(text);

    QStringList sections;
    ini.GetSectionNames(sections);
    sections.prepend(QString());
    for (const QString& section : sections) {
        QStringList keys;
        ini.GetKeys(section, keys);
        for (const QString& key : keys) {
            const QString value = ini.GetValue(section, key, QStringLiteral("?"));
            check(!value.contains(QLatin1String("//")) && !value.contains(QLatin1String("/*")));
            const int index = int(value.size() % 4) - 1; // -1 .. 2
            ini.GetListItem(section, key, index, value.isEmpty() ? QLatin1Char('|') : value.back());
        }
    }

    const QByteArray written = ini.Serialize();
    CIniFile reread;
    reread.LoadText(written);
    check(reread.Serialize() == written);

    if (!sections.isEmpty()) {
        ini.DeleteKey(sections.last(), QStringLiteral("AppName"));
        ini.DeleteSection(sections.value(1));
        ini.Serialize();
    }
    return 0;
}
