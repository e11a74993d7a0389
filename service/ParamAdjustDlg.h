#pragma once

#include "radio/ProductCatalog.h"
#include "service/ParamTable.h"
#include "service/ServiceBand.h"

#include <QDialog>

#include <array>
#include <map>
#include <utility>

class CMSFlexGrid;
class CRadioImage;
class QComboBox;
class QLabel;
class QPushButton;

// "Param Adjust": the receiver and modulation alignment values. A squelch grid (one level per
// frequency point), a grid of the three receiver parameters wide and narrow, and eight drop-down boxes
// for the squelch thresholds, microphone gains and deviation limits. Every value goes through the
// sanitiser on its way in and out. Made afresh for each use.
class CParamAdjustDlg : public QDialog {
    Q_OBJECT

public:
    enum ControlId {
        kSqlGridId = 1011,
        kRxGridId = 1005,
        kSqlEditorId = 1012,
        kRxEditorId = 1010,
        kReadId = 1006,
        kWriteId = 1007,
    };
    static constexpr int kRxRows = 3;
    static constexpr int kRxMin = 5;
    static constexpr int kRxMax = 125;

    // Builds every control and shows image (which the sanitiser already corrects); device is where
    // Read and Write go.
    CParamAdjustDlg(
        CRadioImage& image, const BandLimits& limits, const QString& device, QWidget* parent = nullptr);

    // Image to controls, after the sanitiser.
    void ShowImage();
    // Controls to image, then the sanitiser; then one message names every value stored otherwise
    // than typed (out of its range or no whole number) and what was stored.
    void Apply();

    CMSFlexGrid* SqlGrid() const { return m_SqlGrid; }
    CMSFlexGrid* RxGrid() const { return m_RxGrid; }
    QComboBox* SqlEditor() const { return m_SqlEditor; }
    QComboBox* RxEditor() const { return m_RxEditor; }
    // The drop-down box of a field other than the receiver parameters; null for those.
    QComboBox* Box(ParamTable::Field field) const;
    QLabel* Note() const { return m_Note; }
    QPushButton* ReadButton() const { return m_Read; }
    QPushButton* WriteButton() const { return m_Write; }
    QPushButton* OkButton() const { return m_Ok; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateSqlGroup();
    QWidget* CreateRxGroup();
    QWidget* CreateTxGroup();
    QComboBox* CreateBox(ParamTable::Field field, int id, QWidget* parent);
    QComboBox* CreateEditor(CMSFlexGrid* grid, int id, int min, int max);
    void OpenEditor(CMSFlexGrid* grid, QComboBox* editor);
    void CommitEditor(CMSFlexGrid* grid, QComboBox* editor, int min, int max);
    void CommitEditors();
    void OnRead();
    void OnWrite();
    void OnOK();

    CRadioImage& m_Image;
    CServiceBand m_Band;
    QString m_strDevice;
    CMSFlexGrid* m_SqlGrid = nullptr;
    CMSFlexGrid* m_RxGrid = nullptr;
    QComboBox* m_SqlEditor = nullptr;
    QComboBox* m_RxEditor = nullptr;
    std::array<QComboBox*, ParamTable::kFieldCount> m_Boxes {};
    QLabel* m_Note = nullptr;
    QPushButton* m_Ok = nullptr;
    QPushButton* m_Cancel = nullptr;
    QPushButton* m_Read = nullptr;
    QPushButton* m_Write = nullptr;
    // Cell edits stored otherwise than typed, by grid and label, until the next Apply tells them.
    std::map<std::pair<int, QString>, QString> m_CellNotes;
};
