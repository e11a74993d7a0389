#include "widgets/ModalDialog.h"

namespace ModalDialog {

namespace {
Hook s_Hook;
}

int Exec(QDialog& dialog)
{
    if (s_Hook)
        return s_Hook(dialog);
    return dialog.exec();
}

void SetHook(Hook hook)
{
    s_Hook = std::move(hook);
}

} // namespace ModalDialog
