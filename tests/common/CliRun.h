#pragma once

#include "cli/CliContext.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <sys/resource.h>

// Runs a program-cli sub-command in-process and keeps what it printed.
namespace CliRun {

struct Run
{
    int code;
    QString out;
    QString err;
};

inline Run run(const QStringList& args)
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = RunCli(args, outStream, errStream);
    outStream.flush();
    errStream.flush();
    return { code, out, err };
}

// The real program-cli in a process of its own, as a user starts it; with fileSizeLimit, allowed files
// of at most that many bytes (prlimit --fsize). Code -1: killed by a signal, or it did not finish.
inline Run runProcess(const QStringList& args, qint64 fileSizeLimit = 0,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess cli;
    cli.setProcessEnvironment(environment);
    if (fileSizeLimit > 0)
        cli.setChildProcessModifier([fileSizeLimit] {
            const struct rlimit limit { rlim_t(fileSizeLimit), rlim_t(fileSizeLimit) };
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    cli.start(QStringLiteral(PROGRAM_BIN_DIR "/program-cli"), args);
    cli.closeWriteChannel();
    const bool finished = cli.waitForFinished(60000);
    return { finished && cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
        QString::fromUtf8(cli.readAllStandardOutput()), QString::fromUtf8(cli.readAllStandardError()) };
}

} // namespace CliRun
