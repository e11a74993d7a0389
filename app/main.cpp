#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "app/StartupReport.h"
#include "config/FileName.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    CStartupReport::MarkProcessStart();
    QApplication application(argc, argv);
    CProgramApp app;
    // What QApplication left of argv, as bytes: a file name that is not UTF-8 must still name its file.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << FileName::FromBytes(QByteArray(argv[i]));
    if (!app.InitInstance(arguments))
        return 1;
    CStartupReport::ArmIfRequested(app.MainFrame());
    return application.exec();
}
