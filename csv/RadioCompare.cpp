#include "csv/RadioCompare.h"

#include "app/ModalDialog.h"
#include "csv/CompareDlg.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "link/CloneTransfer.h"
#include "service/ServiceAccess.h"

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
    // service-mode Write may send, apart. Each pair differs only in its own areas.
    CRadioImage radioSent = document;
    CRadioImage documentOthers = radio;
    for (const CCloneBlock& block : ClonePlan::WriteBlocks(false)) {
        radioSent.CopyIn(block.address, radio.Range(block.address, block.length));
        documentOthers.CopyIn(block.address, document.Range(block.address, block.length));
    }
    const bool zh = view.Cells().IsChinese();
    CCompareDlg dialog(ImageDiff::Compare(document, radioSent, view.Ini(), zh),
        ImageDiff::Compare(documentOthers, radio, view.Ini(), zh), CServiceAccess::IsGranted(), &view);
    if (ModalDialog::Exec(dialog) == QDialog::Accepted)
        view.OnWrite();
}

} // namespace RadioCompare
