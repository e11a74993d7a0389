#pragma once

#include <QMdiSubWindow>

class CProgramDoc;
class CProgramView;

// The window of one document inside the main frame: it holds the channel view and carries the
// document's title (with a star while there are unsaved edits). Its close box only hides it, after
// asking about unsaved edits as closing the program does; the document stays open and Edit > Channel
// Information brings it back.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

public:
    // Takes ownership of the document; the view becomes the frame's widget.
    CChildFrame(CProgramDoc* document, CProgramView* view);

    CProgramDoc* Document() const { return m_pDocument; }
    CProgramView* View() const { return m_pView; }
    // The size that shows the whole grid without scrolling.
    QSize sizeHint() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateTitle();

    CProgramDoc* m_pDocument;
    CProgramView* m_pView;
};
