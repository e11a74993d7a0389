#include "widgets/DialogHelp.h"

#include "widgets/HelpLayer.h"

#include <QDialog>
#include <QKeyEvent>

CDialogHelp::CDialogHelp(QDialog* dialog, int topic)
    : QObject(dialog)
    , m_nTopic(topic)
{
}

void CDialogHelp::Attach(QDialog* dialog, int topic)
{
    CHelpLayer::SetControlId(dialog, topic);
    dialog->installEventFilter(new CDialogHelp(dialog, topic));
}

bool CDialogHelp::eventFilter(QObject* watched, QEvent* event)
{
    // A key no control of the dialog took comes to the dialog itself.
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
        return QObject::eventFilter(watched, event);
    CHelpLayer::ShowTopic(static_cast<QWidget*>(watched), m_nTopic);
    return true;
}
