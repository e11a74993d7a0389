#pragma once

#include "radio/ProductCatalog.h"
#include "service/ServiceBand.h"

#include <QDialog>

#include <optional>

class CMSFlexGrid;
class CRadioImage;
class QLabel;
class QLineEdit;
class QPushButton;

// "Power Adjustment": the transmitter power table of the current band, one row per frequency point and
// one column per power level, edited in place with a 3-digit editor. OK stores the cells into the
// image; Read and Write move the table between the radio and the image. The main frame keeps one
// object and runs it again on every use; each opening rebuilds it from the image.
class CPowerAdjustDlg : public QDialog {
    Q_OBJECT

public:
    enum ControlId { kGridId = 1137, kEditId = 1033, kReadId = 1006, kWriteId = 1007 };

    explicit CPowerAdjustDlg(QWidget* parent = nullptr);

    // Builds the points, the grid and its cells for image and the band; device is where Read and
    // Write go. Run does this, then runs the dialog modally.
    void Prepare(CRadioImage& image, const BandLimits& limits, const QString& device);
    int Run(CRadioImage& image, const BandLimits& limits, const QString& device);

    // Cells to image; false, and nothing stored, while the open editor holds a text it refuses.
    bool Apply();
    // Image to cells.
    void FillCells();

    CMSFlexGrid* Grid() const { return m_Grid; }
    QLineEdit* Editor() const { return m_Edit; }
    QLabel* Note() const { return m_Note; }
    QPushButton* ReadButton() const { return m_Read; }
    QPushButton* WriteButton() const { return m_Write; }
    QPushButton* OkButton() const { return m_Ok; }
    QPushButton* CancelButton() const { return m_Cancel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LayOutGrid();
    void OpenEditor();
    bool CommitEditor();
    void TellRefused();
    void OnEnterCell();
    void OnRead();
    void OnWrite();
    void OnOK();

    CMSFlexGrid* m_Grid;
    QLineEdit* m_Edit;
    QLabel* m_Note;
    QPushButton* m_Ok;
    QPushButton* m_Cancel;
    QPushButton* m_Read;
    QPushButton* m_Write;
    long m_nBaseWidth; // column 0 as the grid first reported it, in twips

    CRadioImage* m_pImage = nullptr;
    std::optional<CServiceBand> m_Band;
    QString m_strDevice;
    QString m_strTold; // the refused text the user was last told about
    long m_nEditRow = 0; // the cell the editor is open over
    long m_nEditCol = 0;
};
