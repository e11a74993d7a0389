#pragma once

#include "cli/CliContext.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

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

} // namespace CliRun
