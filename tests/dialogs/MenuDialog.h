#pragma once

#include "app/MainFrame.h"
#include "tests/gui/GuiFixture.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <functional>

namespace MenuDialog {

// Opens the dialog from the Edit menu and lets act drive it; a dialog still open afterwards is
// cancelled. False when no dialog of that kind came up.
template <class Dialog>
inline bool drive(CGuiFixture& f, int command, const std::function<void(Dialog*)>& act)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    QAction* entry = f.Frame()->FindCommand(command);
    if (!entry || !entry->isEnabled())
        return false;
    entry->trigger();
    return seen;
}

} // namespace MenuDialog
