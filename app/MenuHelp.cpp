#include "app/MenuHelp.h"

#include "widgets/HelpLayer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

void CMenuHelp::Watch(QMenu* menu)
{
    menu->installEventFilter(new CMenuHelp(menu));
}

bool CMenuHelp::eventFilter(QObject* watched, QEvent* event)
{
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
        return QObject::eventFilter(watched, event);
    const QAction* action = menu->activeAction();
    const int id = action && !action->menu() ? action->data().toInt() : 0;
    if (id <= 0)
        return true;
    QWidget* owner = menu->parentWidget() ? menu->parentWidget()->window() : nullptr;
    // The help window must not open under a menu that still holds the keyboard.
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    CHelpLayer::ShowTopic(owner, id);
    return true;
}
