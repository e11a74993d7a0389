// Developer tool, not a test: opens both settings dialogs in the given language and saves a picture of
// each, so they can be looked at.
//   xvfb-run -a -s "-screen 0 1280x800x24" dialog_snapshot Chinese /tmp/shots
#include "tests/gui/GuiFixture.h"

#include "app/MainFrame.h"
#include "app/ProgramApp.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

namespace {

void shoot(CGuiFixture& f, int command, const QString& file)
{
    QTimer::singleShot(300, [file] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->grab().save(file);
            static_cast<QDialog*>(dialog)->reject();
        }
    });
    f.App().MainFrame()->FindCommand(command)->trigger();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString language = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("English");
    const QString out = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp");
    QDir().mkpath(out);
    CGuiFixture f(language);
    if (!f.Start())
        return 1;
    shoot(f, CMainFrame::kProductInformation, out + "/product-" + language + ".png");
    shoot(f, CMainFrame::kOptionalFeatures, out + "/options-" + language + ".png");
    QTest::qWait(100);
    f.App().MainFrame()->grab().save(out + "/window-" + language + ".png");
    return 0;
}
