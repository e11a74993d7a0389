#include "cli/CliCommands.h"
#include "cli/CliContext.h"

// Placeholders until the radio link lands.
int RunRead(CCliContext &context, const QStringList &)
{
    return context.Fail(QStringLiteral("read is not available yet"));
}

int RunWrite(CCliContext &context, const QStringList &)
{
    return context.Fail(QStringLiteral("write is not available yet"));
}
