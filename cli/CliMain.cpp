#include "cli/CliCommands.h"
#include "cli/CliContext.h"

#include <QCoreApplication>
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
    { "ports", RunPorts },
};

} // namespace

QString CliUsage()
{
    return QStringLiteral(
        "Usage:\n"
        "  program-cli new FILE\n"
        "  program-cli show FILE [--lang english|chinese]\n"
        "  program-cli set FILE CHANNEL FIELD=TEXT...\n"
        "      FIELD: rx, tx, dec, enc, wn, scan, busy, power\n"
        "  program-cli read --port PORT -o FILE\n"
        "  program-cli write --port PORT FILE [--access-code CODE] [--verify]\n"
        "      PORT: COM1..COM16 or a device path\n"
        "  program-cli ports\n"
        "      lists the serial ports of this computer\n"
        "Exit status: 0 done, 1 refused input or failed file or radio, 2 usage error.\n");
}

int RunCli(const QStringList &args, QTextStream &out, QTextStream &err)
{
    CCliContext context(out, err);
    if (args.isEmpty())
        return context.UsageError(QString());
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        out << CliUsage() << Qt::flush;
        return CCliContext::kDone;
    }
    for (const Command &command : kCommands) {
        if (args.first() == QLatin1String(command.name))
            return command.run(context, args.mid(1));
    }
    return context.UsageError(QStringLiteral("unknown command \"%1\"").arg(args.first()));
}
