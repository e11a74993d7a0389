#pragma once

#include <QDialog>

#include <QStringList>

#include <array>

class CIniFile;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;
class QVBoxLayout;

// "Port Setting": the user picks the serial port among COM1 to COM16. On opening every port is tried
// once, and a port that does not open (missing, or held by another program) is shown disabled; the
// current port stays checked even then, with a note that it does not open now. OK makes the checked
// port current and stores its number for the next start; OK with the choice as it opened changes
// nothing. Off Windows each button also names the device its COMn stands for. Below them the serial
// ports the system reports are offered by their paths, probed the same way, and a field takes any
// device path; picking one keeps its path for the next start instead of a COM number.
class CPortSettingDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPortCount = 16;
    static constexpr int kFirstButtonId = 1007; // button k + 1006 stands for port k
    static constexpr int kFirstSystemPortId = 1100; // the system's ports, in the order listed
    static constexpr int kTypedPathId = 1099; // the device path typed into the field

    CPortSettingDlg(CIniFile& ini, QWidget* parent = nullptr);

    int exec() override;
    void accept() override;

    // The button of port n (1..16).
    QRadioButton* PortButton(int n) const;
    // The buttons of the system's ports as the dialog last listed them.
    QList<QRadioButton*> SystemPortButtons() const;
    // The choice of a typed device path and its field.
    QRadioButton* TypedPathButton() const { return m_TypedButton; }
    QLineEdit* TypedPath() const { return m_Typed; }
    // Says that the current port does not open now; hidden when it does.
    QLabel* CurrentNote() const { return m_CurrentNote; }

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
    QRadioButton* m_TypedButton = nullptr;
    QLineEdit* m_Typed = nullptr;
    QLabel* m_CurrentNote = nullptr;
    int m_nOpenedId = -1; // the choice as the dialog opened
    QString m_strOpenedPath;
};
