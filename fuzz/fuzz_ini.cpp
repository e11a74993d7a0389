// Configuration text from anywhere: every lookup must answer without harm, and what the store writes
// must read back as the same store.
#include "fuzz/FuzzOptions.h"
#include "config/IniFile.h"

#include <QStringDecoder>

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

    // What is written reads back as the same store. A file taken as GB18030 may come out as valid
    // UTF-8 once its undecodable lines are gone, and is read as such the next time; from then on
    // every save gives the same bytes.
    const QByteArray written = ini.Serialize();
    CIniFile reread;
    reread.LoadText(written);
    const QByteArray again = reread.Serialize();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(text);
    if (!utf8.hasError()) {
        check(again == written);
    } else if (again != written) {
        CIniFile third;
        third.LoadText(again);
        check(third.Serialize() == again);
    }

    if (!sections.isEmpty()) {
        ini.DeleteKey(sections.last(), QStringLiteral("AppName"));
        ini.DeleteSection(sections.value(1));
        ini.Serialize();
    }
    return 0;
}
