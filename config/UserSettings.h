#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class CIniFile;
class QSettings;

// The per-user values kept under "Software\" + AppName: the serial port number "com" and the product
// type and band indexes "Type" and "Field", each a 32-bit number. On Windows they live in that very
// registry key; elsewhere in "<AppName>.ini" in ~/.config/fieldcom-programmer.
class CUserSettings
{
public:
    explicit CUserSettings(const QString &appName);
    // The settings of the product that the configuration names ([Setup] AppName).
    static CUserSettings ForConfiguration(const CIniFile &ini);
    ~CUserSettings();

    // The stored port number, 1 when none is stored; used as it is, without a range check.
    int PortNumber() const;
    void SetPortNumber(int number);

    // Product type and band indexes, 0 when none is stored. Values written by older versions may lie
    // outside the configured lists; ProductCatalog::IsListed tells, and RememberTypeAndBand is the way
    // to store a pair, since it stores only listed ones.
    // A serial device picked by its path (a port the system reports) instead of a COM number; empty
    // when the user picked COMn.
    QString PortDevice() const;
    void SetPortDevice(const QString &device);

    // Where the Open and Save As dialogs start: the folder last used when it still exists, else the
    // user's documents folder, else the home folder; never the working folder of the moment.
    QString FileFolder() const;
    void SetFileFolder(const QString &folder);

    // Product type and band indexes, 0 when none is stored.
    std::uint32_t Type() const;
    std::uint32_t Field() const;
    void SetTypeAndField(std::uint32_t type, std::uint32_t field);

    // "Verify after writing" in the progress window and Setup > Log Serial Traffic; both off when
    // never stored.
    bool VerifyAfterWriting() const;
    void SetVerifyAfterWriting(bool on);
    bool LogSerialTraffic() const;
    void SetLogSerialTraffic(bool on);

    // Where the values are kept (a registry path or a file).
    QString Location() const;

private:
    std::uint32_t Value(const char *name, std::uint32_t absent) const;
    std::unique_ptr<QSettings> m_Settings;
};
