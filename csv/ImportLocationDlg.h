#pragma once

#include "csv/ChannelCsv.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

// For a channel list with more Locations than the radio has channels: which Location goes into
// channel 1. The preview shows the 16 channels as they will be stored, in the grid's columns, with the
// rows that will be refused marked and why; nothing changes before Import.
class CImportLocationDlg : public QDialog {
    Q_OBJECT

public:
    // What an import from a first Location would do.
    using Planner = std::function<ChannelCsv::ImportPlan(int firstLocation)>;

    // gridColumns: the grid's headers of the 8 channel columns, in the running language.
    CImportLocationDlg(ChannelCsv::Locations locations, Planner planner, const QStringList& gridColumns,
        QWidget* parent = nullptr);

    int FirstLocation() const;
    QSpinBox* FirstLocationBox() const { return m_pFirst; }
    QTreeWidget* Preview() const { return m_pPreview; }
    QLabel* Summary() const { return m_pSummary; }
    // Says that the radio keeps no channel names.
    QLabel* NamesNote() const { return m_pNames; }
    QPushButton* ImportButton() const { return m_pImport; }

private:
    void ShowPreview();

    ChannelCsv::Locations m_Locations;
    Planner m_Planner;
    QSpinBox* m_pFirst;
    QTreeWidget* m_pPreview;
    QLabel* m_pSummary;
    QLabel* m_pNames;
    QPushButton* m_pImport;
};
