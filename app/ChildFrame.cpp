#include "app/ChildFrame.h"

#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"

#include <QCloseEvent>
#include <QMenu>

CChildFrame::CChildFrame(CProgramDoc* document, CProgramView* view)
    : m_pDocument(document)
    , m_pView(view)
{
    document->setParent(this); // the document goes with its window
    document->SetWindow(this);
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Ctrl+W is Program > Write; the window menu's Close keeps its other keys, so the shortcut is
    // not ambiguous (an ambiguous one does nothing at all).
    if (QMenu* menu = systemMenu()) {
        const QKeySequence write(Qt::CTRL | Qt::Key_W);
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeAll(write) > 0)
                action->setShortcuts(keys);
        }
    }
    connect(document, &CProgramDoc::TitleChanged, this, &CChildFrame::UpdateTitle);
    connect(document, &CProgramDoc::ModifiedChanged, this, &CChildFrame::UpdateTitle);
    UpdateTitle();
}

void CChildFrame::UpdateTitle()
{
    setWindowTitle(m_pDocument->Title() + QStringLiteral("[*]"));
    setWindowModified(m_pDocument->IsModified());
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}
