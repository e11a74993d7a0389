#pragma once

#include "dialogs/ProductInfoDlg.h"
#include "print/ReportPrinter.h"

class CProgramView;

// What the frame hands the rooms' windows from the active channel view, so that they work on the
// view's document, grid and limits without knowing the view.
namespace ViewTargets {

// Product Information: the view's document, configuration, band limits, title and grid.
CProductInfoDlg::Target Product(CProgramView* view);
// Print, Print Preview and Export PDF: the view's grid, document and configuration.
CReportPrinter::Source Report(const CProgramView& view);

} // namespace ViewTargets
