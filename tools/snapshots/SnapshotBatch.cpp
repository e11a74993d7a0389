// Developer tool, not a test: pictures of the Batch Write window after two radios, and of the progress
// window of a write with its verify box, in the language given.
//   xvfb-run -a -s "-screen 0 1280x800x24" gui_batch_snapshot Chinese /tmp/shots
#include "tests/gui/GuiFixture.h"
#include "tests/link/LinkTestSupport.h"

#include "app/BatchMenu.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "editor/ProgramView.h"
#include "link/BatchWriteDlg.h"
#include "link/ProcessDlg.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString language = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("English");
    const QString out = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp");
    const auto first = LinkTest::StartRadio();
    const auto second = LinkTest::StartRadio({ "write-silent:7" });
    CGuiFixture fixture(language);
    fixture.SetIni(QStringLiteral("Ports"), QStringLiteral("COM1"), LinkTest::Device(*first));
    if (!fixture.Start())
        return 1;
    CMainFrame* frame = fixture.App().MainFrame();

    frame->FindCommand(CMainFrame::kWrite)->trigger();
    CProcessDlg* progress = fixture.View()->findChild<CProcessDlg*>();
    QTest::qWait(200);
    progress->grab().save(out + QStringLiteral("/%1-write-verify.png").arg(language));
    progress->reject();

    CBatchMenu* menu = frame->findChild<CBatchMenu*>();
    menu->BatchWriteAction()->trigger();
    CBatchWriteDlg* dialog = menu->Dialog();
    const QStringList devices { LinkTest::Device(*first), LinkTest::Device(*second) };
    QStringList ports = CBatchWriteDlg::OfferedPorts();
    ports << devices;
    dialog->SetPorts(ports, devices);
    dialog->StartButton()->click();
    for (int i = 0; i < 2000 && dialog->IsRunning(); ++i)
        QTest::qWait(10);
    QTest::qWait(100);
    dialog->grab().save(out + QStringLiteral("/%1-batch-write.png").arg(language));
    return 0;
}
