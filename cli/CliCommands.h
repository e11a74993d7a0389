#pragma once

#include <QStringList>

class CCliContext;

// One function per sub-command; each takes the arguments after its name and returns the exit status.
int RunNew(CCliContext &context, const QStringList &args);
int RunShow(CCliContext &context, const QStringList &args);
int RunSet(CCliContext &context, const QStringList &args);
int RunRead(CCliContext &context, const QStringList &args);
int RunWrite(CCliContext &context, const QStringList &args);
int RunOptions(CCliContext &context, const QStringList &args);
int RunProduct(CCliContext &context, const QStringList &args);
int RunService(CCliContext &context, const QStringList &args);
int RunPower(CCliContext &context, const QStringList &args);
int RunParams(CCliContext &context, const QStringList &args);
int RunPrint(CCliContext &context, const QStringList &args);
int RunPorts(CCliContext &context, const QStringList &args);
int RunExport(CCliContext &context, const QStringList &args);
int RunImport(CCliContext &context, const QStringList &args);
int RunDiff(CCliContext &context, const QStringList &args);
int RunLog(CCliContext &context, const QStringList &args);
