#pragma once

class QWidget;

// For the start-up benchmark: with PROGRAM_STARTUP_REPORT set in the environment, the program prints
// how long it took from the start of main() until the main window was shown and how much memory it
// holds then, and quits.
class CStartupReport {
public:
    // Call first thing in main().
    static void MarkProcessStart();
    // Arms the report for the first turn of the event loop after mainWindow was shown.
    static void ArmIfRequested(QWidget* mainWindow);
    // Resident memory of this process in kilobytes; 0 where the system does not say.
    static long ResidentKilobytes();
};
