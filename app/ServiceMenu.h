#pragma once

#include "radio/ProductCatalog.h"

#include <QObject>
#include <QPointer>

#include <functional>

class CIniFile;
class CMainFrame;
class CPowerAdjustDlg;
class CRadioImage;

// The hidden way into service mode on the main frame: Ctrl+F11 asks for the access code; once it is
// given, the service-access flag is set and "Power Adjustment" and "Parameter Adjustment" join the
// Edit menu (once per run); the status bar and the title show the mode from then on. It keeps the
// frame's Power Adjustment dialog and opens both dialogs on the active document with the band of its
// channel view.
class CServiceMenu : public QObject {
    Q_OBJECT

public:
    CServiceMenu(CMainFrame* frame, const CIniFile& ini);

    // Ctrl+F11: the Password dialog, then the unlock.
    void OnUnlockKey();
    // After an accepted code: sets the flag and adds the two Edit entries unless they are there.
    void Unlock();
    void OnPowerAdjust();
    void OnParamAdjust();

    CPowerAdjustDlg* PowerAdjustDlg() const { return m_pPowerDlg; }

signals:
    // The first accepted code of the run added the Edit entries: the navigation tree may add its
    // items with the same texts (power first).
    void Unlocked(const QString& powerText, const QString& paramText);

private:
    // The status-bar pane and the title's mark of service mode.
    void ShowServiceMark();
    // Runs a service dialog on the active document's image, band and port.
    void RunOnActiveDocument(const std::function<void(CRadioImage&, const BandLimits&, const QString&)>& dialog);

    CMainFrame* m_pFrame;
    const CIniFile& m_Ini;
    CPowerAdjustDlg* m_pPowerDlg;
};
