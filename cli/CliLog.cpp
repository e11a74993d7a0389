#include "cli/CliLog.h"

#include "cli/CliContext.h"
#include "link/ProgramLog.h"

namespace CliLog {

void Record(CCliContext& context, const CLogRecord& record)
{
    const QString failure = CProgramLog().Append(record);
    if (!failure.isEmpty() && context.FirstLogFailure())
        context.Err() << CProgramLog::NotWritten(failure, context.IsChinese()) << Qt::endl;
}

} // namespace CliLog
