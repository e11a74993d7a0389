// Opens a port the way every exchange does and keeps it until its standard input closes.

#include "link/SerialPort.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    CSerialPort port;
    const bool held = port.Open(QString::fromLocal8Bit(argv[1]));
    std::puts(held ? "held" : "failed");
    std::fflush(stdout);
    while (held && std::getchar() != EOF) { }
    return held ? 0 : 1;
}
