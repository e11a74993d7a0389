#include "app/ViewTargets.h"

#include "editor/ProgramView.h"

namespace ViewTargets {

CProductInfoDlg::Target Product(CProgramView* view)
{
    CProductInfoDlg::Target target;
    if (!view)
        return target;
    target.view = view;
    target.document = view->GetDocument();
    target.ini = &view->Ini();
    target.limits = [view] { return BandLimits { view->m_nLowerLimit, view->m_nUpperLimit }; };
    target.setLimits = [view](BandLimits limits) { view->SetBandLimits(limits); };
    target.setTitle = &CProgramView::SetMainWindowTitle;
    target.storeGrid = [view](CRadioImage& image) { view->Cells().StoreGrid(image); };
    return target;
}

CReportPrinter::Source Report(const CProgramView& view)
{
    return { &view.Cells(), view.GetDocument(), &view.Ini() };
}

} // namespace ViewTargets
