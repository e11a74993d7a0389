// The channel view's marks on frequencies outside the band.

#include "editor/ProgramView.h"

#include "config/IniFile.h"
#include "config/Language.h"
#include "radio/BandMark.h"
#include "widgets/MSFlexGrid.h"
#include "image/ProgramDoc.h"

void CProgramView::MarkBandFit(int row)
{
    if (!m_Grid || row < 1 || row >= m_Grid->rowCount() || !m_pDocument)
        return;
    const BandLimits limits = m_Cells.Limits();
    const CRadioImage& image = m_pDocument->m_Image;
    // The band whose limits the cells are checked against: the item the image's bytes select.
    const QString band
        = ProductCatalog::BandText(m_Ini, image.Byte(ImageMap::kProductType), image.Byte(ImageMap::kFrequencyBand));
    const QString tip = BandMark::ToolTip(band, limits, CLanguage::IsChinese());
    for (const int col : { int(ChannelCodec::kRxFrequency), int(ChannelCodec::kTxFrequency) })
        m_Grid->SetCellMark(row, col, BandMark::IsOutside(m_Cells.Text(row, col), limits) ? tip : QString());
}
