// The service unlock and both service dialogs through their real widgets, with Read and Write against
// the virtual radio on a pseudo-terminal.

#include "tests/gui/GuiFixture.h"
#include "tests/link/LinkTestSupport.h"

#include "app/MainFrame.h"
#include "widgets/MessageBox.h"
#include "app/ProgramApp.h"
#include "app/ServiceMenu.h"
#include "config/Language.h"
#include "editor/MSFlexGrid.h"
#include "image/ProgramDoc.h"
#include "service/ParamAdjustDlg.h"
#include "service/PasswordDlg.h"
#include "service/PowerAdjustDlg.h"
#include "service/ServiceAccess.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace LinkTest;

namespace {

const BandLimits kBand130 = ProductCatalog::LimitsFromBandText(QStringLiteral("130 - 160MHz"));
const BandLimits kBand430 = ProductCatalog::LimitsFromBandText(QStringLiteral("430 - 470MHz"));

// Runs answer on the next modal dialog of type T once it is up.
// Gives up after a while, so an answer never waits for the dialog of a later case.
template <typename T> void WhenModal(std::function<void(T*)> answer, int tries = 200)
{
    QTimer::singleShot(1, [answer, tries] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (tries > 0)
                WhenModal<T>(answer, tries - 1);
            return;
        }
        answer(dialog);
    });
}

void ClickCell(CMSFlexGrid* grid, int row, int col)
{
    QTest::mouseClick(
        grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, col)).center());
}

CRadioImage Image()
{
    CRadioImage image;
    image.ApplyDefaults();
    for (int i = 0; i < 27; ++i)
        image.SetByte(0x3E0 + i, std::uint8_t(100 + i));
    const std::uint8_t params[] = { 10, 20, 30, 40, 50, 60, 70, 80, 90, 95, 99, 98, 97, 0, 0x83, 50, 51, 52,
        53, 54, 55, 10, 20, 5, 90, 10, 10 };
    std::copy(std::begin(params), std::end(params), image.Data().begin() + 0x300);
    return image;
}

QStringList EditEntries(CMainFrame* frame)
{
    QStringList texts;
    for (QAction* action : frame->menuBar()->actions().at(1)->menu()->actions())
        texts << action->text();
    return texts;
}

} // namespace

class TestServiceDialogs : public QObject {
    Q_OBJECT

    QStringList m_Messages;

private slots:
    void init()
    {
        CServiceAccess::ResetForTest();
        m_Messages.clear();
        CMessageBox::SetHook([this](const CMessageBox::Request& request) {
            m_Messages << request.text;
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        CMessageBox::SetHook({});
        CLanguage::SetName(QString());
    }

    void password_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("the code") << "k719wd"
                                  << "k719wd" << true;
        QTest::newRow("other case") << "K719WD"
                                    << "K719WD" << false;
        QTest::newRow("empty") << ""
                               << "" << false;
        QTest::newRow("trailing blank") << "k719wd "
                                        << "k719wd " << false;
        QTest::newRow("nine characters cut to eight") << "k719wdabc"
                                                      << "k719wdab" << false;
    }
    void password()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(bool, accepted);
        CPasswordDlg dialog;
        QCOMPARE(dialog.Edit()->echoMode(), QLineEdit::Password);
        WhenModal<CPasswordDlg>([typed](CPasswordDlg* d) {
            QTest::keyClicks(d->Edit(), typed);
            d->accept();
        });
        QCOMPARE(dialog.exec() == QDialog::Accepted, accepted);
        QCOMPARE(dialog.Edit()->text(), kept);
    }

    // Ctrl+F11 on the frame: a wrong code changes nothing, the code adds the two entries once, in the
    // running language, and they open the dialogs on the active document's band.
    void unlock_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("power");
        QTest::addColumn<QString>("param");
        QTest::newRow("English") << "English"
                                 << "Power Adjustment"
                                 << "Parameter Adjustment";
        QTest::newRow("Chinese") << "Chinese"
                                 << "功率调整"
                                 << "参数调整";
    }
    void unlock()
    {
        QFETCH(QString, language);
        QFETCH(QString, power);
        QFETCH(QString, param);
        CGuiFixture fixture(language);
        QVERIFY(fixture.Start());
        CMainFrame* frame = fixture.App().MainFrame();
        const QStringList before = EditEntries(frame);
        QStringList treeTexts; // what the navigation tree is told to add
        connect(frame->findChild<CServiceMenu*>(), &CServiceMenu::Unlocked, this,
            [&treeTexts](const QString& a, const QString& b) { treeTexts << a << b; });
        const auto chord = [frame](const QString& code) {
            // The chord belongs to the frame: it must be the active window again after each dialog.
            frame->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(frame));
            WhenModal<CPasswordDlg>([code](CPasswordDlg* d) {
                d->Edit()->setText(code);
                d->accept();
            });
            QTest::keyClick(frame, Qt::Key_F11, Qt::ControlModifier);
        };
        QTest::keyClick(frame, Qt::Key_F11); // no Control: nothing
        chord(QStringLiteral("k719WD"));
        QCOMPARE(EditEntries(frame), before);
        QVERIFY(!CServiceAccess::IsGranted());
        chord(QStringLiteral("k719wd"));
        QVERIFY(CServiceAccess::IsGranted());
        QCOMPARE(EditEntries(frame), before + (QStringList { power, param }));
        chord(QStringLiteral("k719wd"));
        QCOMPARE(EditEntries(frame), before + (QStringList { power, param }));
        QCOMPARE(treeTexts, (QStringList { power, param }));

        int rows = 0;
        WhenModal<CPowerAdjustDlg>([&rows](CPowerAdjustDlg* d) {
            rows = int(d->Grid()->GetRows());
            d->reject();
        });
        fixture.Doc()->SetModifiedFlag(false);
        frame->FindCommand(CMainFrame::kPowerAdjust)->trigger();
        QCOMPARE(rows, 5); // 130 - 160MHz: 130, 140, 150, 160
        QVERIFY(!fixture.Doc()->IsModified()); // cancelled: nothing changed
        WhenModal<CPowerAdjustDlg>([](CPowerAdjustDlg* d) {
            d->Grid()->SetTextMatrix(
                1, 1, QString::number((d->Grid()->GetTextMatrix(1, 1).toInt() + 1) % 256));
            d->OkButton()->click();
        });
        frame->FindCommand(CMainFrame::kPowerAdjust)->trigger();
        QVERIFY(fixture.Doc()->IsModified()); // a changed table is offered for saving
        WhenModal<CParamAdjustDlg>([&rows](CParamAdjustDlg* d) {
            rows = int(d->SqlGrid()->GetRows());
            d->reject();
        });
        frame->FindCommand(CMainFrame::kParameterAdjust)->trigger();
        QCOMPARE(rows, 5);
    }

    void powerLayout()
    {
        CRadioImage image = Image();
        CPowerAdjustDlg dialog;
        dialog.Prepare(image, kBand430, QString());
        CMSFlexGrid* grid = dialog.Grid();
        QCOMPARE(grid->GetRows(), 6);
        QCOMPARE(grid->GetTextMatrix(0, 3), QStringLiteral("High Power"));
        QCOMPARE(grid->GetTextMatrix(1, 0), QStringLiteral("430"));
        QCOMPARE(grid->GetTextMatrix(1, 1), QStringLiteral("109")); // 0x3E9
        QCOMPARE(grid->GetTextMatrix(5, 3), QStringLiteral("%1").arg(100 + 3 * 7 + 2));
        QVERIFY(dialog.Note()->isHidden());
        // Opening again does not compound the widths.
        const long width = grid->GetColWidth(2);
        dialog.Prepare(image, ProductCatalog::LimitsFromBandText(QStringLiteral("400 - 520MHz")), QString());
        QCOMPARE(grid->GetColWidth(2), width);
        QCOMPARE(grid->GetRows(), 10);
        QVERIFY(!dialog.Note()->isHidden());
    }

    // Typing, Enter, Escape and the editor's limits, then OK or Cancel.
    void powerEditing()
    {
        CRadioImage image = Image();
        const CRadioImage original = image;
        CPowerAdjustDlg dialog;
        dialog.Prepare(image, kBand130, QString());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        CMSFlexGrid* grid = dialog.Grid();
        QLineEdit* editor = dialog.Editor();

        ClickCell(grid, 1, 3);
        QVERIFY(editor->isVisible());
        QTest::keyClicks(editor, QStringLiteral("3000")); // three characters at most
        QCOMPARE(editor->text(), QStringLiteral("300"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(editor->isHidden());
        QCOMPARE(grid->GetTextMatrix(1, 3), QStringLiteral("255"));
        QCOMPARE(grid->GetRow(), 2); // one row down

        ClickCell(grid, 2, 1);
        QTest::keyClicks(editor, QStringLiteral("-4x2"));
        QCOMPARE(editor->text(), QStringLiteral("42")); // digits only
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QVERIFY(editor->isHidden());
        QCOMPARE(grid->GetTextMatrix(2, 1), QStringLiteral("42"));

        ClickCell(grid, 3, 2);
        QTest::keyClick(editor, Qt::Key_Backspace); // emptied: the cell keeps its value
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(grid->GetTextMatrix(3, 2), QString::number(original.Byte(0x3E0 + 7)));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QVERIFY(image == original); // nothing reaches the image before OK

        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Return); // Enter on the grid opens the editor on its cell
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->text(), grid->GetText());
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(editor->isHidden());

        dialog.OkButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        CRadioImage expected = original;
        expected.SetByte(0x3E2, 255);
        expected.SetByte(0x3E3, 42);
        QVERIFY(image == expected);

        dialog.Prepare(image, kBand130, QString());
        dialog.show();
        ClickCell(grid, 4, 1);
        QTest::keyClicks(editor, QStringLiteral("7"));
        dialog.CancelButton()->click();
        QVERIFY(image == expected);
    }

    // Read takes the radio's table only when both blocks came in; Write sends the cells and keeps
    // them in the image even when the dialog is cancelled.
    void powerReadWrite_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("read") << ""
                              << "Read Successfully";
        QTest::newRow("second block short") << "read-short:2"
                                            << "Communication Error";
        QTest::newRow("no answer") << "wakeup-silent"
                                   << "Communication Error";
    }
    void powerReadWrite()
    {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        const auto radio = StartRadio(fault.isEmpty() ? QStringList() : QStringList { fault });
        const RadioMemory::Bytes memory = Pattern(5);
        radio->SetMemory(memory);
        CRadioImage image = Image();
        const CRadioImage original = image;
        CPowerAdjustDlg dialog;
        dialog.Prepare(image, kBand130, Device(*radio));
        dialog.ReadButton()->click();
        QCOMPARE(m_Messages, QStringList { message });
        const bool done = fault.isEmpty();
        for (int a = 0; a < 1024; ++a)
            QCOMPARE(
                image.Byte(a), done && a >= 0x3E0 && a < 0x3FB ? memory[std::size_t(a)] : original.Byte(a));
        QCOMPARE(dialog.Grid()->GetTextMatrix(4, 3), QString::number(image.Byte(0x3EB)));
        if (!done)
            return;

        dialog.Grid()->SetTextMatrix(2, 2, QStringLiteral("7"));
        dialog.WriteButton()->click();
        QCOMPARE(m_Messages.last(), QStringLiteral("Write Successfully"));
        QCOMPARE(radio->Memory()[0x3E4], 7);
        dialog.CancelButton()->click();
        QCOMPARE(image.Byte(0x3E4), 7);
    }

    void paramShowAndApply()
    {
        CRadioImage image = Image();
        CParamAdjustDlg dialog(image, kBand130, QString());
        // Opening already corrects the image: 0x30D 0 becomes 1.
        QCOMPARE(image.Byte(0x30D), 1);
        QCOMPARE(dialog.Box(ParamTable::kSqlClose)->currentText(), QStringLiteral("1"));
        QCOMPARE(dialog.Box(ParamTable::kNarrowSql)->currentText(), QStringLiteral("-3"));
        QCOMPARE(dialog.SqlGrid()->GetTextMatrix(0, 1), QStringLiteral("SQL"));
        QCOMPARE(dialog.SqlGrid()->GetTextMatrix(4, 0), QStringLiteral("160"));
        QCOMPARE(dialog.SqlGrid()->GetTextMatrix(4, 1), QStringLiteral("40"));
        QCOMPARE(dialog.RxGrid()->GetTextMatrix(2, 2), QStringLiteral("53"));
        QCOMPARE(dialog.RxGrid()->GetTextMatrix(3, 0), QStringLiteral("Param 3"));
        QCOMPARE(dialog.Box(ParamTable::kMic1Gain)->count(), 32);
        QCOMPARE(dialog.Box(ParamTable::kNarrowSql)->itemText(0), QStringLiteral("-10"));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.Box(ParamTable::kNarrowSql)
            ->setCurrentIndex(dialog.Box(ParamTable::kNarrowSql)->findText(QStringLiteral("2")));
        dialog.Box(ParamTable::kMic1Gain)->setEditText(QStringLiteral("200"));
        dialog.Box(ParamTable::kMaxDeviation)->setEditText(QStringLiteral("300"));
        dialog.Box(ParamTable::kMic2Gain)->setEditText(QStringLiteral("127"));

        ClickCell(dialog.RxGrid(), 1, 1);
        QVERIFY(dialog.RxEditor()->isVisible());
        dialog.RxEditor()->setEditText(QStringLiteral("300"));
        ClickCell(dialog.SqlGrid(), 2, 1); // the Rx editor loses the focus
        QVERIFY(dialog.RxEditor()->isHidden());
        QCOMPARE(dialog.RxGrid()->GetTextMatrix(1, 1), QStringLiteral("5"));
        QVERIFY(dialog.SqlEditor()->isVisible());
        QCOMPARE(dialog.SqlEditor()->currentText(), QStringLiteral("20"));
        dialog.SqlEditor()->setEditText(QStringLiteral("77"));
        QTest::keyClick(dialog.SqlEditor(), Qt::Key_Return);
        QCOMPARE(dialog.SqlGrid()->GetTextMatrix(2, 1), QStringLiteral("77"));

        dialog.OkButton()->click();
        QCOMPARE(image.Byte(0x30E), 0x02);
        QCOMPARE(image.Byte(0x315), 0);
        QCOMPARE(image.Byte(0x318), 30); // not 300's low byte 44
        QCOMPARE(image.Byte(0x316), 127);
        QCOMPARE(image.Byte(0x30F), 5);
        QCOMPARE(image.Byte(0x301), 77);
    }

    // Above 400 MHz the grid lists and stores the squelch bytes from the band's own place.
    void paramHighBand()
    {
        CRadioImage image = Image();
        image.SetByte(0x303, 200);
        CParamAdjustDlg dialog(image, kBand430, QString());
        QCOMPARE(image.Byte(0x303), 5);
        QCOMPARE(image.Byte(0x300), 10);
        QCOMPARE(dialog.SqlGrid()->GetRows(), 6);
        QCOMPARE(dialog.SqlGrid()->GetTextMatrix(2, 1), QStringLiteral("50")); // 0x304
        dialog.SqlGrid()->SetTextMatrix(5, 1, QStringLiteral("33"));
        dialog.Apply();
        QCOMPARE(image.Byte(0x307), 33);
    }

    // A Read that fails after the first block leaves image and controls as they were.
    void paramRead_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("done") << "";
        QTest::newRow("second block silent") << "read-silent:2";
    }
    void paramRead()
    {
        QFETCH(QString, fault);
        const auto radio = StartRadio(fault.isEmpty() ? QStringList() : QStringList { fault });
        RadioMemory::Bytes memory = Pattern(5);
        memory[0x317] = 9; // MIC3
        radio->SetMemory(memory);
        CRadioImage image = Image();
        CParamAdjustDlg dialog(image, kBand130, Device(*radio));
        const CRadioImage shown = image;
        dialog.ReadButton()->click();
        if (fault.isEmpty()) {
            QCOMPARE(m_Messages, QStringList { QStringLiteral("Read Successfully") });
            QCOMPARE(dialog.Box(ParamTable::kMic3Gain)->currentText(), QStringLiteral("9"));
        } else {
            QCOMPARE(m_Messages, QStringList { QStringLiteral("Communication Error") });
            QVERIFY(image == shown);
            QCOMPARE(dialog.Box(ParamTable::kMic3Gain)->currentText(), QStringLiteral("5"));
        }
    }
};

QTEST_MAIN(TestServiceDialogs)
#include "tst_service_dialogs.moc"
