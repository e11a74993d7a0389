#pragma once

#include <QString>

// What the status bar says while the pointer rests on a menu item or toolbar button, and the
// button's tool tip: the program's own Read and Write prompts and the usual ones of the standard
// commands, in the running language. Commands without a prompt give empty texts.
namespace CommandPrompts {

QString StatusPrompt(int command);
QString ToolTip(int command);
// The idle text of the message pane, "Ready".
QString Ready();

} // namespace CommandPrompts
