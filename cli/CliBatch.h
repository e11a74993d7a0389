#pragma once

#include <QStringList>

class CCliContext;

// program-cli read and write on several cables at once (--port given more than once) and write
// --repeat, one radio after another on one cable.
namespace CliBatch {

// True when the arguments ask for a batch rather than one radio.
bool Wants(const QStringList &args);
int RunWrite(CCliContext &context, const QStringList &args);
int RunRead(CCliContext &context, const QStringList &args);

// The file for the n-th radio (from 1) on port: {port} and {n} in pattern replaced.
QString OutputPath(const QString &pattern, const QString &port, int n);

} // namespace CliBatch
