#pragma once

#include "radio/ProductCatalog.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class CIniFile;
class CProgramDoc;
class CRadioImage;
class QComboBox;
class QGroupBox;
class QLabel;

// The Product Information dialog: the radio's type and frequency band from the configured lists. The
// main frame keeps one for its whole life and runs it again on every use, always on the active view.
class CProductInfoDlg : public QDialog {
    Q_OBJECT

public:
    // Control ids; F1 opens the help topic of the control that has the keyboard focus.
    enum ControlId { kTypeId = 1013, kFrequencyId = 1014, kHelpTopic = 32786 };

    // The channel view the dialog runs for, as the frame hands it over.
    struct Target {
        QWidget* view = nullptr; // parent of the messages; its window takes the new title
        CProgramDoc* document = nullptr;
        const CIniFile* ini = nullptr;
        std::function<BandLimits()> limits; // the view's band limits now
        std::function<void(BandLimits)> setLimits;
        std::function<void(QWidget* mainWindow, const QString& title)> setTitle;
        std::function<void(CRadioImage&)> storeGrid; // the grid's channels into an image
    };

    explicit CProductInfoDlg(QWidget* parent = nullptr);

    // Fills the lists, selects what this user last chose (the image's type until then) and runs
    // modally. OK stores the choice into the view's document, its title and its band limits.
    // Without a view nothing runs.
    int Run(const Target& target);
    void accept() override;

    QComboBox* TypeBox() const { return m_Type; }
    QComboBox* BandBox() const { return m_Band; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FillBands(int typeIndex);
    void OnTypeChanged(int index);

    QPointer<QWidget> m_pView;
    Target m_Target;
    QGroupBox* m_Group;
    QLabel* m_TypeLabel;
    QLabel* m_BandLabel;
    QComboBox* m_Type;
    QComboBox* m_Band;
};
