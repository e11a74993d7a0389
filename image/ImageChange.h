#pragma once

#include "image/RadioImage.h"

#include <QUndoCommand>

class CProgramDoc;

// One undoable change of a document: the whole image before and after it (1 KB each), so undo and
// redo give back every byte exactly, whatever made the change.
class CImageChange : public QUndoCommand {
public:
    // applied: the document already holds after, so the first redo has nothing to do.
    CImageChange(CProgramDoc* document, const CRadioImage& before, const CRadioImage& after,
        const QString& text, bool applied);

    void undo() override;
    void redo() override;

private:
    CProgramDoc* m_pDocument;
    CRadioImage m_Before;
    CRadioImage m_After;
    bool m_bSkipRedo;
};
