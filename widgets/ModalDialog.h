#pragma once

#include <QDialog>

#include <functional>

// Runs a modal dialog. Tests install a hook that looks at the dialog (and may drive it) instead of
// a nested event loop that nobody would end.
namespace ModalDialog {

using Hook = std::function<int(QDialog& dialog)>;

int Exec(QDialog& dialog);
// An empty hook restores the real modal loop.
void SetHook(Hook hook);

} // namespace ModalDialog
