#pragma once

#include <QList>
#include <QString>

#include <functional>

// The serial ports the system itself reports (USB adapters as ttyUSB* and ttyACM*, built-in ports as
// ttyS*, COMn on Windows), with what the system knows of each, so that a cable is found without
// editing Program.ini.
class CSystemPorts {
public:
    struct Port {
        QString device; // the path an exchange opens, e.g. /dev/ttyACM0
        QString description;
        QString manufacturer;
        QString serialNumber;
    };

    // Sorted by device path; empty when the system has none.
    static QList<Port> Available();
    // One line for a person: the device, then in brackets what is known of it.
    static QString Describe(const Port& port, bool chinese);
    // The line said when the system reports no serial port at all.
    static QString NoneFound(bool chinese);

    // Replaces what the system reports (tests); an empty source restores it.
    using Source = std::function<QList<Port>()>;
    static void SetSource(Source source);

private:
    static Source s_Source;
};
