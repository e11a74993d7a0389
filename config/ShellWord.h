#pragma once

#include <QString>

// A word as the user's command shell takes it when typed as it stands: quoted where the shell would
// split it or act on it (POSIX shells on Linux, cmd.exe on Windows).
namespace ShellWord {

QString Quoted(const QString &word);

} // namespace ShellWord
