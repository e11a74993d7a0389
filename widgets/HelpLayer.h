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
    // The contents page, reached by Help > Help Topics.
    static constexpr int kContentsTopic = 57667;
    // Topics of commands that have no menu id of their own.
    static constexpr int kBatchWriteTopic = 32862;
    static constexpr int kSerialLogTopic = 32861;
    // Pages of dialogs, numbered like the command that opens them.
    static constexpr int kComSetupTopic = 32777;
    static constexpr int kCompareTopic = 32852;
    static constexpr int kCsvTopic = 32850;
    static constexpr int kBackupsTopic = 32845;
    static constexpr int kPowerAdjustTopic = 32781;
    static constexpr int kParamAdjustTopic = 32779;
    static constexpr int kPrintingTopic = 57607;
    // The service password's page, numbered like its field.
    static constexpr int kServiceAccessTopic = 1027;

    // The page of a topic; commands that share a page (Export CSV with Import CSV, the print commands)
    // lead to the one page.
    static QString TopicPath(int contextId);
    // Whether the topic has a page in the running language.
    static bool HasTopic(int contextId);
    // text with a note that F1 gives help, for a command whose topic has a page; text alone otherwise.
    static QString WithHelpHint(const QString& text, int contextId);
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
