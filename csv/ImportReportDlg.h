#pragma once

#include "csv/ChannelCsv.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

// The rows of a channel CSV that cannot be placed, each with its line and reason. "Import the Rest"
// (accept) places the other rows; Cancel leaves the document as it was.
class CImportReportDlg : public QDialog {
    Q_OBJECT

public:
    CImportReportDlg(const ChannelCsv::ImportPlan& plan, bool chinese, QWidget* parent = nullptr);

    QListWidget* Refusals() const { return m_pList; }
    QPushButton* ImportRestButton() const { return m_pImportRest; }
    QLabel* Summary() const { return m_pSummary; }
    QLabel* BandHint() const { return m_pBandHint; }

private:
    QLabel* m_pSummary;
    QListWidget* m_pList;
    QPushButton* m_pImportRest;
    QLabel* m_pBandHint;
};
