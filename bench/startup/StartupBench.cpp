// Starts build/bin/Program a few times on the offscreen platform with PROGRAM_STARTUP_REPORT set: the
// program prints the time from main() to its shown main window and its resident memory, then quits.
// This prints those figures and the time measured from outside, process creation included.
//   bench_startup [runs]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const QString program = QStringLiteral(PROGRAM_BIN_DIR "/Program");
    QTemporaryDir settings; // the program's per-user settings stay out of the user's own

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("PROGRAM_STARTUP_REPORT"), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());

    const QRegularExpression report(QStringLiteral("startup-ms=([0-9.]+) rss-kb=([0-9]+)"));
    std::vector<double> outside, inside, rss;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        process.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        process.start(program, {});
        if (!process.waitForStarted() || !process.waitForReadyRead(30000)) {
            std::fprintf(stderr, "Program did not start or report: %s\n", qPrintable(process.errorString()));
            return 1;
        }
        const double total = double(clock.nsecsElapsed()) / 1e6;
        const QString line = QString::fromLatin1(process.readLine());
        process.waitForFinished(30000);
        const QRegularExpressionMatch match = report.match(line);
        if (!match.hasMatch()) {
            std::fprintf(stderr, "unexpected report: %s\n", qPrintable(line));
            return 1;
        }
        outside.push_back(total);
        inside.push_back(match.captured(1).toDouble());
        rss.push_back(match.captured(2).toDouble() / 1024.0);
        std::printf(
            "run %d: %.1f ms from process start to window shown (%.1f ms from main), %.1f MB resident\n",
            run + 1, total, inside.back(), rss.back());
    }
    std::printf("median: %.1f ms to window shown (goal < 300 ms), %.1f MB resident (goal < 80 MB)\n",
        median(outside), median(rss));
    return 0;
}
