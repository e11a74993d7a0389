#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "app/StartupReport.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    CStartupReport::MarkProcessStart();
    QApplication application(argc, argv);
    CProgramApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1)))
        return 1;
    CStartupReport::ArmIfRequested(app.MainFrame());
    return application.exec();
}
