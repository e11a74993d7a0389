#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliLink.h"
#include "cli/CliTrace.h"
#include "config/SafeFile.h"
#include "config/UserFront.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QTranslator>

namespace {

struct Command
{
    const char *name;
    int (*run)(CCliContext &, const QStringList &);
};

constexpr Command kCommands[] = {
    { "new", RunNew },
    { "show", RunShow },
    { "set", RunSet },
    { "read", RunRead },
    { "write", RunWrite },
    { "options", RunOptions },
    { "product", RunProduct },
    { "service", RunService },
    { "power", RunPower },
    { "params", RunParams },
    { "print", RunPrint },
    { "ports", RunPorts },
    { "export", RunExport },
    { "import", RunImport },
    { "diff", RunDiff },
    { "log", RunLog },
};

// "new, show, ...": the one useful line when no known command was given.
QString commandList()
{
    QStringList names;
    for (const Command &command : kCommands)
        names << QLatin1String(command.name);
    return names.join(QStringLiteral(", "));
}

// Takes -q (--quiet) out of args: the line saying what was done is left out.
bool takeQuiet(QStringList &args)
{
    const qsizetype before = args.size();
    args.removeAll(QStringLiteral("-q"));
    args.removeAll(QStringLiteral("--quiet"));
    return args.size() != before;
}

} // namespace

QString CliUsage()
{
    return QStringLiteral(
        "Usage:\n"
        "  program-cli new FILE\n"
        "  program-cli show FILE [--lang english|chinese]\n"
        "  program-cli set FILE CHANNEL FIELD=TEXT...\n"
        "      FIELD: rx, tx, dec, enc, wn, scan, busy, power\n"
        "  program-cli read --port PORT [--port PORT...] -o FILE [--trace LOG]\n"
        "      with several ports FILE holds {port} or {n}, e.g. radio-{n}.dat\n"
        "  program-cli write --port PORT [--port PORT...] FILE [--access-code CODE] [--verify] [--trace LOG]\n"
        "  program-cli write --port PORT FILE --repeat [--count N] [--access-code CODE] [--verify]\n"
        "      writes one radio after another until Ctrl+C (or N radios)\n"
        "      --access-code CODE --with-alignment also replaces the radio's power and alignment tables;\n"
        "      --allow-out-of-band writes channels that lie outside the file's band\n"
        "  program-cli service read --port PORT --access-code CODE --area power|param FILE\n"
        "  program-cli service write --port PORT --access-code CODE --area power|param FILE [--verify]\n"
        "      PORT: COM1..COM16 or a device path\n"
        "  program-cli options FILE [--lang english|chinese] [NAME=TEXT...]\n"
        "      NAME: tot, sql, voice, priority, vox, voxgain, voxdelay, sidekey, beep, saver\n"
        "  program-cli product FILE [--type TEXT] [--band TEXT] [--lang english|chinese]\n"
        "      TEXT: an item of the configured list, or its number from 1\n"
        "  program-cli power FILE [MHZ=LOW,MIDDLE,HIGH...]\n"
        "      each 0 to 255; MHZ a frequency point of the file's band\n"
        "  program-cli params FILE [NAME=VALUE...]\n"
        "      NAME: sql:MHZ (5-100), sqlclose (1-10), narrowsql (-10-10), rx1w rx1n rx2w rx2n rx3w rx3n\n"
        "      (5-125), mic1 (0-31), mic2 (0-127), mic3 (0-15), maxdev (30-150), ctcssdev dcsdev (5-30)\n"
        "  program-cli print FILE -o OUT.pdf [--lang english|chinese]\n"
        "  program-cli ports\n"
        "      lists the serial ports of this computer\n"
        "  program-cli export FILE -o OUT.csv [--lang english|chinese]\n"
        "      -o - writes the channel list to stdout\n"
        "  program-cli import FILE IN.csv [--from L] [--skip-bad] [--lang english|chinese]\n"
        "      channel CSV; a row that cannot be placed stops the import unless --skip-bad;\n"
        "      --from L puts Locations L..L+15 into channels 1..16 and leaves the other rows out\n"
        "  program-cli diff A.dat B.dat [--lang english|chinese]\n"
        "      exit 0 the same, 1 different, 2 a file could not be read\n"
        "  program-cli log [--since DATE] [--until DATE] [--port PORT] [--file TEXT] [--csv]\n"
        "      every read and write of a radio, newest last; DATE 2026-12-08 or 2026-12-08T14:30 (UTC),\n"
        "      --until DATE taking in the whole day or minute it names\n"
        "Every command takes -q (--quiet): read, write, export, import and print then leave out the line\n"
        "that says what was done.\n"
        "Exit status: 0 done, 1 refused input or failed file or radio, 2 usage error.\n");
}

int RunCli(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CCliContext context(out, err);
    // What a save that succeeded still has to tell (a hard link it broke) goes to the error stream.
    SafeFile::SetNotice([&err](const QString &notice) { err << notice << Qt::endl; });
    const auto noticeOff = qScopeGuard([] { SafeFile::SetNotice({}); });
    // Messages that tell the user where to go next name options and commands, not window menus.
    UserFront::Set(UserFront::Kind::CommandLine);
    const auto frontBack = qScopeGuard([] { UserFront::Set(UserFront::Kind::Window); });
    // -q may stand anywhere, before the command too.
    QStringList args = arguments;
    context.SetQuiet(takeQuiet(args));
    if (args.isEmpty())
        return context.UsageError(QStringLiteral("a command is needed: %1").arg(commandList()));
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        out << CliUsage() << Qt::flush;
        return CCliContext::kDone;
    }
    for (const Command &command : kCommands) {
        if (args.first() == QLatin1String(command.name)) {
            QStringList rest = args.mid(1);
            if (CliLink::TalksToRadio(args.first()))
                if (const int status = CliLink::CheckPorts(context, rest); status >= 0)
                    return status;
            CCliTrace trace;
            if (const int status = trace.Take(context, rest); status >= 0)
                return status;
            const int status = command.run(context, rest);
            trace.Finish(context);
            return status;
        }
    }
    return context.UsageError(QStringLiteral("unknown command \"%1\"; the commands are %2").arg(args.first(), commandList()));
}
