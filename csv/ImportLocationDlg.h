#pragma once

#include "csv/ChannelCsv.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

// For a channel list with more Locations than the radio has channels: which Location goes into
// channel 1. The preview shows the rows the 16 channels would take; nothing changes before Import.
class CImportLocationDlg : public QDialog {
    Q_OBJECT

public:
    CImportLocationDlg(ChannelCsv::Locations locations, QWidget* parent = nullptr);

    int FirstLocation() const;
    QSpinBox* FirstLocationBox() const { return m_pFirst; }
    QTreeWidget* Preview() const { return m_pPreview; }
    QLabel* Summary() const { return m_pSummary; }
    QPushButton* ImportButton() const { return m_pImport; }

private:
    void ShowPreview();

    ChannelCsv::Locations m_Locations;
    QSpinBox* m_pFirst;
    QTreeWidget* m_pPreview;
    QLabel* m_pSummary;
    QPushButton* m_pImport;
};
