#include "image/ImageChange.h"

#include "image/ProgramDoc.h"

CImageChange::CImageChange(CProgramDoc* document, const CRadioImage& before, const CRadioImage& after,
    const QString& text, bool applied)
    : QUndoCommand(text)
    , m_pDocument(document)
    , m_Before(before)
    , m_After(after)
    , m_bSkipRedo(applied)
{
}

void CImageChange::undo()
{
    m_pDocument->RestoreImage(m_Before);
}

void CImageChange::redo()
{
    if (m_bSkipRedo) {
        m_bSkipRedo = false;
        return;
    }
    m_pDocument->RestoreImage(m_After);
}
