#include "app/StartupReport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {
QElapsedTimer s_Clock;
}

void CStartupReport::MarkProcessStart()
{
    s_Clock.start();
}

void CStartupReport::ArmIfRequested(QWidget* mainWindow)
{
    if (qEnvironmentVariableIsEmpty("PROGRAM_STARTUP_REPORT") || !mainWindow)
        return;
    // Posted behind the show and the first paint of the window.
    QTimer::singleShot(0, mainWindow, [mainWindow] {
        mainWindow->repaint();
        std::printf(
            "startup-ms=%.1f rss-kb=%ld\n", double(s_Clock.nsecsElapsed()) / 1e6, ResidentKilobytes());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}

long CStartupReport::ResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}
