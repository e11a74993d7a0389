#pragma once

#include <QObject>

class QDialog;

// F1 in a dialog opens the dialog's help page, whichever of its controls has the focus. A dialog's
// control ids are its own (the Read button of one dialog has the number of an option's page), so they
// do not pick the page here; dialogs whose controls each have a page of their own handle F1 themselves.
class CDialogHelp : public QObject {
public:
    // The dialog's page is topic from now on; the watcher lives as long as the dialog.
    static void Attach(QDialog* dialog, int topic);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CDialogHelp(QDialog* dialog, int topic);
    int m_nTopic;
};
