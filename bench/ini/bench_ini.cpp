// Writes Program.ini files of 40,000, 400,000 and 800,000 sections (and one of 10 MB in Chinese
// GBK), opens each with the INI store as start-up does, looks up the start-up keys, and prints the
// time per file and per thousand sections. Linear loading shows as a flat last column.
//   bench_ini [sections...]
#include "config/IniFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArray makeFile(int sections, bool chinese)
{
    QString text = QStringLiteral("[Setup]\r\nAppName=Radio\r\nLanguage=English\r\n");
    for (int i = 0; i < sections; ++i)
        text += QStringLiteral("[Section%1]\r\nName=%2\r\n").arg(i).arg(chinese ? QStringLiteral("中文信道名称") : QStringLiteral("channel"));
    text += QStringLiteral("[English]\r\nCompany=Last\r\n");
    if (chinese)
        return QStringEncoder("GB18030")(text);
    return text.toUtf8();
}

void measure(const QTemporaryDir &dir, int sections, bool chinese)
{
    const QString path = dir.filePath(QStringLiteral("Program%1.ini").arg(sections));
    const QByteArray bytes = makeFile(sections, chinese);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return;
    file.close();

    QElapsedTimer timer;
    timer.start();
    CIniFile ini;
    ini.Open(path, false, true, false);
    const qint64 loadMs = timer.elapsed();
    // The lookups start-up makes; the last section sits at the far end of the table.
    const bool found = ini.GetValue(QStringLiteral("Setup"), QStringLiteral("Language")) == QLatin1String("English")
        && ini.GetValue(QStringLiteral("English"), QStringLiteral("Company")) == QLatin1String("Last");
    const qint64 totalMs = timer.elapsed();
    std::printf("%9d sections %7.1f MB %s: load %6lld ms, with lookups %6lld ms, %6.3f ms per 1000 sections%s\n",
        sections, bytes.size() / 1e6, chinese ? "GBK  " : "UTF-8", static_cast<long long>(loadMs),
        static_cast<long long>(totalMs), sections ? double(loadMs) * 1000.0 / sections : 0.0, found ? "" : " (lookup FAILED)");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts << QByteArray(argv[i]).toInt();
    if (counts.isEmpty())
        counts = { 40000, 400000, 800000 };
    for (int sections : counts)
        measure(dir, sections, false);
    // About 10 MB of Chinese text, as a big Program.ini from a Chinese Windows machine would be.
    measure(dir, 330000, true);
    return 0;
}
