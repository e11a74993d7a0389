#include "widgets/HelpLayer.h"

#include "config/AppPaths.h"
#include "config/Language.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <utility>

CHelpLayer::Hook CHelpLayer::s_Hook;

namespace {
constexpr QSize kViewerSize(520, 420);
constexpr const char* kControlIdProperty = "controlId";
constexpr CBilingual kHelpFolder { "help/enHelp/", "help/chHelp/" };
constexpr CBilingual kHelpCaption { "Help", "帮助" };
constexpr CBilingual kHelpHint { "F1: Help", "F1: 帮助" };

// Commands whose help is another command's page.
constexpr std::pair<int, int> kSharedPages[] = {
    { 32851, 32850 }, // Export CSV: the CSV page
    { 57609, 57607 }, // Print Preview: the printing page
    { 57606, 57607 }, // Print Setup
    { 32800, 57607 }, // Export PDF
};

// One help window for the whole run, reused by every topic.
QPointer<QTextBrowser> s_Viewer;
}

QString CHelpLayer::TopicPath(int contextId)
{
    for (const auto& [command, page] : kSharedPages)
        if (command == contextId)
            contextId = page;
    return CAppPaths::BesideExe(kHelpFolder.Text() + QString::number(contextId) + QStringLiteral(".html"));
}

bool CHelpLayer::HasTopic(int contextId)
{
    return contextId > 0 && QFileInfo::exists(TopicPath(contextId));
}

QString CHelpLayer::WithHelpHint(const QString& text, int contextId)
{
    if (!HasTopic(contextId))
        return text;
    return text.isEmpty() ? kHelpHint.Text() : text + QStringLiteral(" (") + kHelpHint.Text() + QLatin1Char(')');
}

bool CHelpLayer::ShowTopic(QWidget* owner, int contextId)
{
    const QString path = TopicPath(contextId);
    if (s_Hook) {
        s_Hook(contextId, path);
        return QFileInfo::exists(path);
    }
    if (!QFileInfo::exists(path))
        return false;
    // A modal dialog blocks every window but its own: over one, the help window becomes one of the
    // dialog's windows, so that it can be scrolled, followed and closed while the dialog waits.
    QWidget* modal = QApplication::activeModalWidget();
    if (s_Viewer && modal && !modal->isAncestorOf(s_Viewer)) {
        const bool shown = s_Viewer->isVisible();
        const QPoint at = s_Viewer->pos();
        s_Viewer->setParent(modal, s_Viewer->windowFlags());
        if (shown) {
            s_Viewer->move(at);
            s_Viewer->show();
        }
    }
    if (!s_Viewer) {
        // Owned by the main window (or the modal dialog), so it goes away with it and never keeps the
        // program alive.
        s_Viewer = new QTextBrowser(modal ? modal : owner ? owner->window() : nullptr);
        s_Viewer->setWindowFlag(Qt::Window);
        s_Viewer->setAttribute(Qt::WA_DeleteOnClose);
        s_Viewer->setOpenExternalLinks(true);
        s_Viewer->setWindowTitle(kHelpCaption.Text());
        s_Viewer->resize(kViewerSize);
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), s_Viewer);
        QObject::connect(escape, &QShortcut::activated, s_Viewer.data(), &QWidget::close);
    }
    // A window the user already moved stays where it is; a new one opens beside the program.
    if (!s_Viewer->isVisible() && owner) {
        const QWidget* main = owner->window();
        const QScreen* screen = main->screen();
        if (screen)
            s_Viewer->move(PlaceBeside(
                main->frameGeometry(), screen->availableGeometry(), s_Viewer->frameGeometry().size()));
    }
    s_Viewer->setSource(QUrl::fromLocalFile(path));
    s_Viewer->show();
    s_Viewer->raise();
    s_Viewer->activateWindow();
    return true;
}

QPoint CHelpLayer::PlaceBeside(const QRect& owner, const QRect& screen, const QSize& size)
{
    const int lowest = std::max(screen.top(), screen.bottom() + 1 - size.height());
    const int top = std::clamp(owner.top(), screen.top(), lowest);
    if (owner.right() + 1 + size.width() <= screen.right() + 1)
        return { owner.right() + 1, top };
    if (owner.left() - size.width() >= screen.left())
        return { owner.left() - size.width(), top };
    return { std::max(screen.left(), screen.right() + 1 - size.width()), top };
}

void CHelpLayer::SetHook(Hook hook)
{
    s_Hook = std::move(hook);
}

int CHelpLayer::ControlId(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        const QVariant id = widget->property(kControlIdProperty);
        if (id.isValid())
            return id.toInt();
    }
    return 0;
}

void CHelpLayer::SetControlId(QWidget* widget, int id)
{
    widget->setProperty(kControlIdProperty, id);
}
