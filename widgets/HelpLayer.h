#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QWidget;

// Help pages beside the executable, one per context id: help/enHelp/<id>.html, or help/chHelp/<id>.html
// when the program runs in Chinese. A topic without a page does nothing.
class CHelpLayer {
public:
    // Context ids of help topics reached by F1 outside the channel view.
    static constexpr int kLanguageTopic = 32799;

    static QString TopicPath(int contextId);
    // Shows the topic's page in the help window; false (and nothing shown) when there is no page.
    // The window opens beside its owner's window and closes with Escape.
    static bool ShowTopic(QWidget* owner, int contextId);
    // Where a help window of size goes: right of owner when it fits on screen, else left of it, else
    // at the screen's right edge over the owner; always wholly on screen as far as it can be.
    static QPoint PlaceBeside(const QRect& owner, const QRect& screen, const QSize& size);

    // Sees every request instead of the help window (tests).
    using Hook = std::function<void(int contextId, const QString& path)>;
    static void SetHook(Hook hook);

    // The control id a widget stands for: its own "controlId" property or that of the nearest parent
    // that has one; 0 when none does.
    static int ControlId(const QWidget* widget);
    static void SetControlId(QWidget* widget, int id);

private:
    static Hook s_Hook;
};
