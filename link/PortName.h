#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

class CIniFile;
class CUserSettings;

// The process-wide port name and the rules that turn port numbers into names and names into devices.
class CPortName {
public:
    // "COM%d" for n of 9 or less, "\\.\COM%d" (device namespace) from 10 up. No range check: a stored
    // 0 or 20 still gives a name, which then fails at open.
    static QString FromNumber(int n);
    // The number of a port name by the pattern "%*[^M]M%d": everything up to the first 'M', the 'M',
    // then a decimal number. Empty when no number follows.
    static std::optional<int> NumberOf(const QString &name);
    // The device an exchange opens for name. On Windows the name itself. Elsewhere a COM name (either
    // form, any letter case) maps to key COMn of section Ports in Program.ini, else /dev/ttyUSB<n-1>;
    // anything else is taken as a device path as it is.
    static QString DevicePath(const QString &name, const CIniFile &ini);
    // False for a COM name that leads nowhere a user could mean: outside COM1..COM16 where no device is
    // named for it (by Program.ini, this run's overrides, or the system itself on Windows). Any other
    // name is a device path and passes.
    static bool IsOffered(const QString &name, const CIniFile &ini);
    static constexpr int kHighestPort = 16; // COM1..COM16, as Com Setup offers them

    // The name every exchange opens: "COM1" until settings or the port dialog say otherwise.
    static QString Current();
    static void SetCurrent(const QString &name);
    // Makes the stored device path current when the user picked one of the system's ports; else forms
    // the name from the stored number ("com", 1 when absent). A port given on the command line
    // (--port / --virtual-radio COMn=DEVICE) comes first, whatever was stored, until the user picks one.
    static QString LoadFromSettings(const CUserSettings &settings);
    // Makes port n current and stores n for the next start.
    static void Choose(int n, CUserSettings &settings);
    // Makes a device path current (a port the system reports) and stores it for the next start.
    static void ChooseDevice(const QString &device, CUserSettings &settings);

    // A device that COMn stands for in this run only, ahead of Program.ini and the /dev/ttyUSB rule.
    // It is never stored, so the program started on its own talks to the ports it always did.
    struct Override {
        QString device;
        bool virtualRadio = false; // the virtual radio behind a pseudo-terminal, which the window says
    };
    // "COMn=DEVICE" (n from 1); false, and nothing changed, for any other form.
    static bool AddOverride(const QString &assignment, bool virtualRadio);
    static std::optional<Override> OverrideFor(int n);
    static const std::map<int, Override> &Overrides() { return s_Overrides; }
    static void ClearOverrides();
    // Takes "--port COMn=DEVICE" and "--virtual-radio COMn=DEVICE" out of a command line and returns
    // the rest. Each malformed option lands in rejected as it was written.
    static QStringList TakeOverrideOptions(const QStringList &arguments, QStringList *rejected);
    // The options that give a new process of this program the same devices (the language restart).
    static QStringList OverrideOptions();
    // One line for the window saying which ports stand for what in this run; empty without overrides.
    static QString OverrideNotice(bool chinese);

private:
    // The number of a COM name in either form and any letter case.
    static std::optional<int> ComNumber(const QString &name);
    // Where COMn leads when nothing else names its device: /dev/ttyUSB<n-1>.
    static QString UsbSerialDevice(int n);

    static QString s_Current;
    static QString s_CommandLine; // the first port the command line gave; empty once one is picked
    static std::map<int, Override> s_Overrides;
};
