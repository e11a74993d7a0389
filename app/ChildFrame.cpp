#include "app/ChildFrame.h"

#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CProgramDoc* document, CProgramView* view)
    : m_pDocument(document)
    , m_pView(view)
{
    document->setParent(this); // the document goes with its window
    document->SetWindow(this);
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose, false);
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
