#pragma once

#include <QObject>

class QMenu;

// F1 on a highlighted menu item opens the help topic numbered like the item's command, as the
// frame's help route does for every command; the menu closes first.
class CMenuHelp : public QObject {
    Q_OBJECT

public:
    // Watches menu for F1 for as long as it lives.
    static void Watch(QMenu* menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
