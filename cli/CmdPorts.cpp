#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "link/SystemPorts.h"

// program-cli ports: the serial ports the system reports, one a line, as Com Setup offers them; any
// of the paths works as --port.
int RunPorts(CCliContext& context, const QStringList& args)
{
    if (!args.isEmpty())
        return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(args.first()));
    const bool zh = context.IsChinese();
    const QList<CSystemPorts::Port> ports = CSystemPorts::Available();
    if (ports.isEmpty())
        context.Out() << CSystemPorts::NoneFound(zh) << '\n';
    for (const CSystemPorts::Port& port : ports)
        context.Out() << CSystemPorts::Describe(port, zh) << '\n';
    context.Out().flush();
    return CCliContext::kDone;
}
