#include "editor/RadioCompare.h"

#include "csv/CompareDlg.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "link/CloneTransfer.h"
#include "radio/ServiceAccess.h"
#include "widgets/MessageBox.h"
#include "widgets/ModalDialog.h"

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

    // What every Write sends is compared on its own; the power and alignment tables, which only a
    // service-mode Write may send, apart. Between them stands the document with the radio's bytes
    // wherever a normal Write sends: it differs from the document only there, from the radio only
    // in the tables.
    CRadioImage between = document;
    for (const CCloneBlock& block : ClonePlan::WriteBlocks(false))
        between.CopyIn(block.address, radio.Range(block.address, block.length));
    const bool zh = view.Cells().IsChinese();
    std::vector<ImageDiff::Difference> differences = ImageDiff::Compare(document, between, view.Ini(), zh);
    // A radio of another type or band is the first thing to see, and writing into it takes a yes.
    const bool otherKind = ImageDiff::RadioKindFirst(differences);
    CCompareDlg dialog(
        differences, ImageDiff::Compare(between, radio, view.Ini(), zh), CServiceAccess::IsGranted(), &view);
    if (ModalDialog::Exec(dialog) != QDialog::Accepted)
        return;
    if (otherKind
        && CMessageBox::Ask(&view, ImageDiff::RadioKindQuestion(differences, transfer.PortName(), zh),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Warning)
            != QMessageBox::Yes)
        return;
    view.OnWrite();
}

} // namespace RadioCompare
