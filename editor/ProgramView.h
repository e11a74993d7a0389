#pragma once

#include "radio/ProductCatalog.h"
#include "radio/ChannelGrid.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>

class CCellEditing;
class CIniFile;
class CLanguageDlg;
class CPortSettingDlg;
class CProcessDlg;
class CRowEditor;
class CMSFlexGrid;
class CProgramDoc;
class QLabel;

// The channel view: the title line and the 17 × 9 channel grid, whose cells its CCellEditing edits in
// place. It turns the document's image into grid texts (ShowImage) and back (StoreGrid); every other
// rule of the grid lives in CChannelGrid. It also serves the Read, Write, Com Setup and Language commands.
class CProgramView : public QWidget {
    Q_OBJECT

public:
    // Control ids; F1 opens the help topic of the control that has the keyboard focus.
    enum ControlId {
        kGridId = 1000,
        kTitleId = 1006,
        kRxEditId = 2127,
        kTxEditId = 2128,
        kDecodeToneId = 2132,
        kEncodeToneId = 2133,
        kBandwidthId = 2134,
        kScanId = 2135,
        kBusyLockId = 1130,
        kPowerId = 1129,
    };

    CProgramView(CProgramDoc* document, CIniFile& ini, QWidget* parent = nullptr);
    ~CProgramView() override;

    CProgramDoc* GetDocument() const { return m_pDocument; }
    CIniFile& Ini() const { return m_Ini; }
    CMSFlexGrid* Grid() const { return m_Grid; }
    QLabel* TitleLine() const { return m_Title; }
    // The editor of a grid column (column 1 and any unknown column: the receive edit box).
    QWidget* EditorForColumn(int col) const;
    // The grid's working copy of the channels.
    const CChannelGrid& Cells() const { return m_Cells; }
    // Whole-channel commands and the selected rows.
    CRowEditor* RowEditor() const { return m_pRowEditor; }
    // The editors over the cells, their commit and their keys.
    CCellEditing* CellEditing() const { return m_pCellEditing; }

    // First time: builds the grid, its editors and the title line. Every time: the frame's icon and
    // ShowImage.
    void OnInitialUpdate();
    // Rebuilds rows 1-16 from the image, syncs product type and band with the per-user settings, and
    // sets the main window's title and the band limits.
    void ShowImage();
    // Writes rows 1-16 into the document's image.
    void StoreGrid();
    // The document's image was replaced (undo, redo, row commands): rows, title and band limits
    // follow it; an open editor is closed without committing.
    void OnImageReplaced();
    // Commits the editor open over the current cell (grid's leave-cell event; also before transfers).
    void OnLeaveCell();
    // Shows the column's editor over the current cell.
    void OnEnterCell();
    void OnGridMouseDown();

    // Inclusive band limits in 10 Hz units; also set by the Product Information dialog.
    void SetBandLimits(BandLimits limits);
    std::int64_t m_nLowerLimit = 0;
    std::int64_t m_nUpperLimit = 0;
    QStringList m_ToneList;

    // The main window's title as ShowImage (or the Product Information dialog) last made it; the
    // window shows it with the service-mode mark while service access is granted.
    static QString MainWindowTitle() { return s_strMainTitle; }
    static void SetMainWindowTitle(QWidget* mainWindow, const QString& title);

    // The progress window of Read and Write; it lives as long as the view.
    CProcessDlg* ProcessDlg() const { return m_pProcessDlg; }
    // While the progress window is up (waiting for OK or transferring) the grid opens no editor, so
    // nothing typed can be lost to a read that replaces the channels.
    bool IsTransferWindowOpen() const;
    // Shows the grid's working copy of a row in the grid control.
    void RefreshRow(int row);

signals:
    // A command finished its work; text says what was done ("Read 1,024 bytes from COM3 at 14:02").
    // The frame's status bar keeps it until the next command.
    void WorkDone(const QString& text);
    // The image's type or band byte is not in the configuration: note says which band typed
    // frequencies follow. The status bar puts it before what the last command did.
    void BandNote(const QString& note);

public slots:
    // Read and Write show the progress window; its OK starts the transfer (OnTransfer).
    void OnRead();
    void OnWrite();
    // Reads the radio as Read does, into a scratch image, and shows how it differs from the document.
    void OnCompare();
    void OnTransfer();
    void OnComSetup();
    void OnLanguage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The document window that holds the view; its parent when there is none.
    QWidget* Frame() const;
    void SetupGrid();
    void ShowTitleAndLimits(bool newDocument);
    void RefreshAll();
    // Marks the row's frequency cells that lie outside the band (BandMark), or takes the mark away.
    void MarkBandFit(int row);
    void FitGridToSize();

    CProgramDoc* m_pDocument;
    CIniFile& m_Ini;
    CChannelGrid m_Cells;
    QLabel* m_Title = nullptr;
    CMSFlexGrid* m_Grid = nullptr;
    CLanguageDlg* m_LanguageDlg = nullptr;
    CPortSettingDlg* m_PortSettingDlg = nullptr;
    CProcessDlg* m_pProcessDlg = nullptr;
    CRowEditor* m_pRowEditor = nullptr;
    CCellEditing* m_pCellEditing = nullptr;
    std::uint8_t m_bWrite = 0; // direction of the next transfer: 0 read, 1 write
    bool m_bCompare = false; // the next read only compares
    bool m_bWriteTables = false; // the next write also sends the power and alignment tables
    std::array<long, 9> m_NaturalColWidths {}; // twips, before the grid grows with its window
    long m_nNaturalRowHeight = 0;
    bool m_bFirstInit = true;

    static QString s_strMainTitle;
};
