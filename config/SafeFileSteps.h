#pragma once

#include "config/SafeFile.h"

#include <QString>

// What the one writer's platform files (SafeFilePosix.cpp, SafeFileWin.cpp) share with SafeFile.cpp.
namespace SafeFile {

// True, with the error a test asked for, when the next write must fail at step.
bool Injected(Step step, int &error);
// Tells the user that a save of target left otherNames hard links with the earlier content.
void LinkBroken(const QString &target, qint64 otherNames);

} // namespace SafeFile
