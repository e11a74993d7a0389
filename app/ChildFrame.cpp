#include "app/ChildFrame.h"

#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "link/RunningWork.h"

#include <QCloseEvent>
#include <QMenu>
#include <QScrollArea>

CChildFrame::CChildFrame(CProgramDoc* document, CProgramView* view)
    : m_pDocument(document)
    , m_pView(view)
{
    document->setParent(this); // the document goes with its window
    document->SetWindow(this);
    // A window smaller than the grid scrolls it; a larger (maximised) one grows the grid to fill it.
    auto* scroller = new QScrollArea;
    scroller->setWidget(view);
    scroller->setWidgetResizable(true);
    scroller->setAlignment(Qt::AlignCenter);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    setWidget(scroller);
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

QSize CChildFrame::sizeHint() const
{
    // Room for the whole grid: a scroll area's own hint stops at a few dozen text lines.
    const QSize decoration = QMdiSubWindow::sizeHint() - widget()->sizeHint();
    return m_pView->minimumSizeHint() + decoration;
}

void CChildFrame::UpdateTitle()
{
    setWindowTitle(m_pDocument->Title() + QStringLiteral("[*]"));
    setWindowModified(m_pDocument->IsModified());
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    event->ignore();
    // Unsaved edits are asked about as closing the program asks: Save saves first (a save that fails
    // keeps the window), Discard closes without saving, Cancel keeps the window as it is. The
    // document stays alive either way, its edits included, so nothing is lost by a window closing.
    // While the radio is being read or written it only hides, unasked: a question standing open would
    // hold the transfer between two blocks, and the radio may give up waiting.
    if (isVisible() && CRunningWork::IsIdle() && !m_pDocument->SaveModified())
        return;
    hide();
}
