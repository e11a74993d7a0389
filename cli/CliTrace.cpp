#include "cli/CliTrace.h"

#include "cli/CliContext.h"
#include "config/Language.h"
#include "link/SerialTrace.h"

namespace {
constexpr CBilingual kCannotTrace { "The trace file %1 cannot be written: %2", "无法写入跟踪文件 %1: %2" };
}

CCliTrace::~CCliTrace()
{
    if (m_bActive)
        CSerialTrace::StopAll();
}

int CCliTrace::Take(CCliContext &context, QStringList &args)
{
    const int at = args.indexOf(QStringLiteral("--trace"));
    if (at < 0)
        return -1;
    if (at + 1 >= args.size())
        return context.UsageError(QStringLiteral("--trace needs a FILE"));
    const QString path = args.at(at + 1);
    args.remove(at, 2);
    // The trace never goes into a file the command reads or writes, nor into the programming log.
    if (context.OutputIsLog(path))
        return CCliContext::kFailed;
    for (const QString &arg : args)
        if (!arg.startsWith(QLatin1Char('-')) && context.OutputIsInput(path, arg))
            return CCliContext::kFailed;
    QString error;
    if (!CSerialTrace::StartFile(path, &error))
        return context.Fail(kCannotTrace.Text(context.IsChinese()).arg(path, error));
    m_bActive = true;
    return -1;
}

void CCliTrace::Finish(CCliContext &context)
{
    for (const QString &line : CSerialTrace::TakeFailures(context.IsChinese()))
        context.Err() << line << '\n';
    context.Err().flush();
}
