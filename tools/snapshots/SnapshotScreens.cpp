// Developer tool, not a test: pictures of Com Setup, Batch Write (one radio after another, on a port
// with a long device name), the Programming Log and the main window's status bar after a save, in the
// language given.
//   xvfb-run -a -s "-screen 0 1280x800x24" gui_screens_snapshot English /tmp/shots
#include "tests/gui/GuiFixture.h"
#include "tests/link/LinkTestSupport.h"

#include "app/BatchMenu.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "image/ProgramDoc.h"
#include "link/BatchWriteDlg.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Runs command; the dialog it opens is pictured as file once it has settled, then closed. Dialogs run
// through the modal hook are shown for the picture; the others are caught by a timer.
void shootModal(CGuiFixture& f, int command, const QString& file)
{
    f.onDialog = [file](QDialog& dialog) {
        dialog.show();
        QTest::qWait(400);
        dialog.grab().save(file);
        dialog.hide();
        return int(QDialog::Rejected);
    };
    QTimer::singleShot(600, [file] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->grab().save(file);
            dialog->reject();
        }
    });
    f.App().MainFrame()->FindCommand(command)->trigger();
    QTest::qWait(700);
    f.onDialog = {};
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString language = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("English");
    const QString out = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp");
    QDir().mkpath(out);
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    const auto radio = LinkTest::StartRadio();
    const auto second = LinkTest::StartRadio();
    // A cable as udev names it: long, without a space to break at.
    const QString cable = data.filePath(QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
    QFile::link(LinkTest::Device(*second), cable);
    CGuiFixture f(language);
    if (!f.Start({ QStringLiteral("--virtual-radio"), QStringLiteral("COM3=") + LinkTest::Device(*radio) }))
        return 1;
    CMainFrame* frame = f.App().MainFrame();
    frame->showNormal();
    frame->resize(900, 600);

    shootModal(f, CMainFrame::kComSetup, out + QStringLiteral("/%1-com-setup.png").arg(language));

    f.fileAnswers << f.DataPath(QStringLiteral("radio.dat"));
    frame->FindCommand(CMainFrame::kFileSave)->trigger();
    QTest::qWait(100);
    frame->grab().save(out + QStringLiteral("/%1-saved.png").arg(language));

    CBatchMenu* menu = frame->findChild<CBatchMenu*>();
    menu->BatchWriteAction()->trigger();
    CBatchWriteDlg* dialog = menu->Dialog();
    dialog->SetPorts(CBatchWriteDlg::OfferedPorts() << cable, { cable });
    dialog->RepeatBox()->setChecked(true);
    dialog->StartButton()->click();
    for (int i = 0; i < 500 && dialog->DoneCount() < 1; ++i)
        QTest::qWait(10);
    QTest::qWait(300);
    dialog->grab().save(out + QStringLiteral("/%1-batch-repeat.png").arg(language));
    dialog->StopButton()->click();
    for (int i = 0; i < 2000 && dialog->IsRunning(); ++i)
        QTest::qWait(10);
    QTest::qWait(100);
    dialog->grab().save(out + QStringLiteral("/%1-batch-stopped.png").arg(language));
    frame->grab().save(out + QStringLiteral("/%1-batch-status.png").arg(language));
    dialog->reject();

    shootModal(f, CMainFrame::kProgrammingLog, out + QStringLiteral("/%1-log.png").arg(language));
    return 0;
}
