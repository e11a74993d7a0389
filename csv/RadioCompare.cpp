#include "csv/RadioCompare.h"

#include "widgets/ModalDialog.h"
#include "csv/CompareDlg.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "link/CloneTransfer.h"

namespace RadioCompare {

void ShowDifferences(CProgramView& view, const CCloneTransfer& transfer)
{
    // Both sides from the document: what Write would send, and the same with the radio's blocks in
    // it. Bytes a channel read does not fetch thus never show as differences.
    CRadioImage document = view.GetDocument()->m_Image;
    view.Cells().StoreGrid(document);
    CRadioImage radio = document;
    for (const CCloneBlock& block : transfer.Blocks())
        radio.CopyIn(block.address, transfer.Image().Range(block.address, block.length));

    CCompareDlg dialog(ImageDiff::Compare(document, radio, view.Ini(), view.Cells().IsChinese()), &view);
    if (ModalDialog::Exec(dialog) == QDialog::Accepted)
        view.OnWrite();
}

} // namespace RadioCompare
