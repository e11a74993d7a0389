#pragma once

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
    static bool ShowTopic(QWidget* owner, int contextId);

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
