#pragma once

#include <QDialog>

#include <QStringList>

#include <array>

class CIniFile;
class QButtonGroup;
class QLabel;
class QRadioButton;
class QScrollArea;
class QVBoxLayout;

// "Port Setting": the user picks the serial port among COM1 to COM16. On opening every port is tried
// once, and a port that does not open (missing, or held by another program) is shown disabled; the
// current port is checked when it opens. OK makes the checked port current and stores its number for
// the next start. Off Windows each button also names the device its COMn stands for. Below them the
// serial ports the system reports are offered by their paths, probed the same way; picking one keeps
// its path for the next start instead of a COM number.
class CPortSettingDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPortCount = 16;
    static constexpr int kFirstButtonId = 1007; // button k + 1006 stands for port k
    static constexpr int kFirstSystemPortId = 1100; // the system's ports, in the order listed

    CPortSettingDlg(CIniFile& ini, QWidget* parent = nullptr);

    int exec() override;
    void accept() override;

    // The button of port n (1..16).
    QRadioButton* PortButton(int n) const;
    // The buttons of the system's ports as the dialog last listed them.
    QList<QRadioButton*> SystemPortButtons() const;

private:
    // Enables the buttons of the ports that open, checks the current port.
    void OnInitDialog();
    void ListSystemPorts();
    QString DeviceOf(int n) const;

    CIniFile& m_Ini;
    QButtonGroup* m_Group;
    std::array<QRadioButton*, kPortCount> m_Buttons {};
    QScrollArea* m_SystemScroller = nullptr;
    QVBoxLayout* m_SystemLayout = nullptr;
    QLabel* m_NoSystemPorts = nullptr;
    QStringList m_SystemDevices; // by button id - kFirstSystemPortId
};
