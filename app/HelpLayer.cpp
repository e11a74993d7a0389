#include "app/HelpLayer.h"

#include "config/AppPaths.h"
#include "config/Language.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVariant>

CHelpLayer::Hook CHelpLayer::s_Hook;

namespace {
constexpr const char* kControlIdProperty = "controlId";
constexpr CBilingual kHelpFolder { "help/enHelp/", "help/chHelp/" };
constexpr CBilingual kHelpCaption { "Help", "帮助" };

// One help window for the whole run, reused by every topic.
QPointer<QTextBrowser> s_Viewer;
}

QString CHelpLayer::TopicPath(int contextId)
{
    return CAppPaths::BesideExe(kHelpFolder.Text() + QString::number(contextId) + QStringLiteral(".html"));
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
    if (!s_Viewer) {
        // Owned by the main window, so it goes away with it and never keeps the program alive.
        s_Viewer = new QTextBrowser(owner ? owner->window() : nullptr);
        s_Viewer->setWindowFlag(Qt::Window);
        s_Viewer->setAttribute(Qt::WA_DeleteOnClose);
        s_Viewer->setOpenExternalLinks(true);
        s_Viewer->setWindowTitle(kHelpCaption.Text());
        s_Viewer->resize(520, 420);
    }
    s_Viewer->setSource(QUrl::fromLocalFile(path));
    s_Viewer->show();
    s_Viewer->raise();
    s_Viewer->activateWindow();
    return true;
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
