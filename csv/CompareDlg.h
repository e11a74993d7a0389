#pragma once

#include "csv/ImageDiff.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

// What the radio holds against the document, one line per difference. "Write to Radio" (accept)
// goes on to the write; Close leaves both as they are.
class CCompareDlg : public QDialog {
    Q_OBJECT

public:
    CCompareDlg(const std::vector<ImageDiff::Difference>& differences, QWidget* parent = nullptr);

    QTreeWidget* Differences() const { return m_pTree; }
    QPushButton* WriteButton() const { return m_pWrite; }
    QLabel* Summary() const { return m_pSummary; }

private:
    QLabel* m_pSummary;
    QTreeWidget* m_pTree;
    QPushButton* m_pWrite;
};
