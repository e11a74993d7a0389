#pragma once

#include "csv/ImageDiff.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

// What the radio holds against the document, one line per difference: first what Write sends (radio
// type and band, channels, options, and under one collapsed heading the bytes no column or option
// shows), then apart the power and alignment tables, which only a service-mode Write may send. The
// lists grow with the window. "Write to Radio"
// (accept) goes on to the write, offered only for differences a write can mend; Close leaves both as
// they are.
class CCompareDlg : public QDialog {
    Q_OBJECT

public:
    // serviceMode: service access is granted, so Write may send the tables when the user agrees.
    CCompareDlg(const std::vector<ImageDiff::Difference>& differences,
        const std::vector<ImageDiff::Difference>& notWritten, bool serviceMode, QWidget* parent = nullptr);

    QTreeWidget* Differences() const { return m_pTree; }
    QTreeWidget* NotWritten() const { return m_pOthers; }
    QPushButton* WriteButton() const { return m_pWrite; }
    QLabel* Summary() const { return m_pSummary; }
    // Shown when the radio is of another type or band than the document.
    QLabel* KindWarning() const { return m_pKindWarning; }
    QLabel* NotWrittenSummary() const { return m_pOthersSummary; }
    // Under the list when it has bytes no column or option shows: what they are and why they differ.
    QLabel* OtherBytesNote() const { return m_pOtherBytesNote; }

private:
    QTreeWidget* NewList(const std::vector<ImageDiff::Difference>& differences);

    QLabel* m_pKindWarning;
    QLabel* m_pSummary;
    QTreeWidget* m_pTree;
    QLabel* m_pOtherBytesNote;
    QLabel* m_pOthersSummary;
    QTreeWidget* m_pOthers;
    QPushButton* m_pWrite;
};
