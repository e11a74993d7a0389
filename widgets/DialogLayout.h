#pragma once

class QDialog;
class QWidget;

// The layout every small dialog of the program shares: its controls on the left, "OK" (the default)
// and "Cancel" stacked at the top right, wired to accept and reject.
namespace DialogLayout {

void SetContentWithOkCancel(QDialog *dialog, QWidget *content);

} // namespace DialogLayout
