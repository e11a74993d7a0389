// Runs build/bin/program-cli print on a data file with nine channels (a three-page report) a few times
// and prints the process time (user + system, from the kernel's accounting of the finished child) and
// the wall time of each run, in English and in Chinese.
//   bench_print [runs]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString kCli = QStringLiteral(PROGRAM_BIN_DIR "/program-cli");

double childCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

bool runCli(const QStringList& args)
{
    QProcess process;
    process.start(kCli, args);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    const QString dat = dir.filePath(QStringLiteral("nine.dat"));
    const QString pdf = dir.filePath(QStringLiteral("nine.pdf"));
    bool made = runCli({ QStringLiteral("new"), dat });
    for (int channel = 1; made && channel <= 9; ++channel)
        made = runCli({ QStringLiteral("set"), dat, QString::number(channel),
            QStringLiteral("rx=146.5%1").arg(channel) });
    if (!made) {
        std::fprintf(stderr, "could not make the data file with %s\n", qPrintable(kCli));
        return 1;
    }

    for (const char* lang : { "english", "chinese" }) {
        std::vector<double> cpu, wall;
        for (int run = 0; run < runs; ++run) {
            const double before = childCpuMs();
            QElapsedTimer clock;
            clock.start();
            if (!runCli({ QStringLiteral("print"), dat, QStringLiteral("-o"), pdf, QStringLiteral("--lang"),
                    QLatin1String(lang) })) {
                std::fprintf(stderr, "program-cli print failed\n");
                return 1;
            }
            wall.push_back(double(clock.nsecsElapsed()) / 1e6);
            cpu.push_back(childCpuMs() - before);
        }
        std::printf(
            "%s: three-page PDF, median %.1f ms process time (max %.1f), %.1f ms wall; goal < 300 ms\n", lang,
            median(cpu), *std::max_element(cpu.begin(), cpu.end()), median(wall));
    }
    return 0;
}
