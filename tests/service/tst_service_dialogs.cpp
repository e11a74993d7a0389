// The service unlock and both service dialogs through their real widgets, with Read and Write against
// the virtual radio on a pseudo-terminal.

#include "tests/service/ServiceDialogSupport.h"

#include "link/RunningWork.h"
#include "service/ServiceDriver.h"

#include <QScopeGuard>
#include <QTimer>

using namespace LinkTest;
using namespace ServiceDialogTest;

class TestServiceDialogs : public QObject {
    Q_OBJECT

    QStringList m_Messages;

private slots:
    void init() { ResetServiceTest(m_Messages); }
    void cleanup() { EndServiceTest(); }

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

        CGuiFixture::ClickCell(grid, 1, 3);
        QVERIFY(editor->isVisible());
        QTest::keyClicks(editor, QStringLiteral("3000")); // three characters at most
        QCOMPARE(editor->text(), QStringLiteral("300"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(editor->isHidden());
        QCOMPARE(grid->GetTextMatrix(1, 3), QStringLiteral("255"));
        QCOMPARE(grid->GetRow(), 2); // one row down

        CGuiFixture::ClickCell(grid, 2, 1);
        QTest::keyClicks(editor, QStringLiteral("42"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QVERIFY(editor->isHidden());
        QCOMPARE(grid->GetTextMatrix(2, 1), QStringLiteral("42"));

        CGuiFixture::ClickCell(grid, 3, 2);
        QTest::keyClick(editor, Qt::Key_Backspace); // emptied: the cell keeps its value
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(grid->GetTextMatrix(3, 2), QString::number(original.Byte(0x3E0 + 7)));
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
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        CGuiFixture::ClickCell(grid, 4, 1);
        QTest::keyClicks(editor, QStringLiteral("7"));
        QTest::keyClick(editor, Qt::Key_Escape); // the edit goes into the cell, the dialog stays
        QVERIFY(dialog.isVisible());
        QCOMPARE(grid->GetTextMatrix(4, 1), QStringLiteral("7"));
        QTest::keyClick(grid, Qt::Key_Escape); // nor does a second Escape close it
        QTest::keyClick(dialog.CancelButton(), Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QVERIFY(grid->hasFocus());
        QVERIFY(image == expected);
        // Enter reaches the focused button: here OK, which stores the 7.
        dialog.OkButton()->setFocus();
        QTest::keyClick(dialog.OkButton(), Qt::Key_Return);
        QVERIFY(dialog.isHidden());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(image.Byte(0x3E9), 7);
        QVERIFY(m_Messages.isEmpty());
    }

    // A cell takes a whole number (above 255 as 255) and nothing else: no character is dropped to make
    // one. A refused text stays in the editor, is told once, and keeps OK from closing.
    void powerTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key"); // that commits it; 0 for a click on OK, -1 Cancel with the mouse
        QTest::addColumn<QString>("cell"); // afterwards; empty when refused
        QTest::newRow("300 by Enter") << "300" << int(Qt::Key_Return) << "255";
        QTest::newRow("42 by Escape") << "42" << int(Qt::Key_Escape) << "42";
        QTest::newRow("0 by OK") << "0" << 0 << "0";
        QTest::newRow("12.5 by Enter") << "12.5" << int(Qt::Key_Return) << "";
        QTest::newRow("1.9 by Escape") << "1.9" << int(Qt::Key_Escape) << "";
        QTest::newRow("-1 by OK") << "-1" << 0 << "";
        QTest::newRow("9e by Enter") << "9e" << int(Qt::Key_Return) << "";
        QTest::newRow("1.9, then Cancel") << "1.9" << -1 << "";
    }
    void powerTyped()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, cell);
        CRadioImage image = Image();
        const CRadioImage original = image;
        CPowerAdjustDlg dialog;
        dialog.Prepare(image, kBand130, QString());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        CMSFlexGrid* grid = dialog.Grid();
        QLineEdit* editor = dialog.Editor();
        CGuiFixture::ClickCell(grid, 2, 2); // 140 MHz, middle power: 0x3E4, 104
        QTest::keyClicks(editor, typed);
        if (key < 0) { // the editor loses the focus to Cancel: no message once the dialog is gone
            QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
            QCoreApplication::processEvents();
            QVERIFY(dialog.isHidden());
            QVERIFY(m_Messages.isEmpty());
            QVERIFY(image == original);
            return;
        }
        if (key != 0)
            QTest::keyClick(editor, Qt::Key(key));
        dialog.OkButton()->click();
        if (!cell.isEmpty()) {
            QVERIFY(dialog.isHidden());
            QCOMPARE(int(image.Byte(0x3E4)), cell.toInt());
            QVERIFY(m_Messages.isEmpty());
            return;
        }
        QTRY_COMPARE(m_Messages,
            QStringList { "Out of range,please input again.\nA power level is a whole number from 0 to 255." });
        QVERIFY(dialog.isVisible());
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->text(), typed.left(3));
        QCOMPARE(grid->GetTextMatrix(2, 2), QStringLiteral("104"));
        QVERIFY(image == original);
        // Another cell keeps the editor where it is; a corrected text goes into its own cell.
        CGuiFixture::ClickCell(grid, 3, 3);
        QVERIFY(editor->isVisible());
        editor->setFocus();
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("12"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(grid->GetTextMatrix(2, 2), QStringLiteral("12"));
        QCOMPARE(m_Messages.size(), 1);
        dialog.OkButton()->click();
        QCOMPARE(int(image.Byte(0x3E4)), 12);
        QCOMPARE(int(image.Byte(0x3E8)), 108);
    }

    // Read takes the radio's table only when every block came in; the power dialog's Write sends the
    // cells and keeps them in the image even when the dialog is cancelled.
    void readAndWrite_data()
    {
        QTest::addColumn<bool>("power"); // else the parameter dialog
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("stop"); // the program closes (or a stop signal comes) while it runs
        QTest::addColumn<QString>("port"); // as the user picked it; empty: the device alone
        // A failure's second line names the device (%1), the failed step and what to check.
        const QString read = QStringLiteral("Read Successfully"), error = QStringLiteral("Communication Error\n%1: ");
        QTest::newRow("power") << true << "" << read << false << "";
        QTest::newRow("power, second block short") << true << "read-short:2"
                                                   << error + "block 2 of 2 (address 0x03F0) did not arrive." << false << "";
        QTest::newRow("power, no answer") << true << "wakeup-silent" << error + "the radio did not answer the wake-up." << false << "";
        QTest::newRow("param") << false << "" << read << false << "";
        QTest::newRow("param, second block silent") << false << "read-silent:2"
                                                    << error + "block 2 of 2 (address 0x0310) did not arrive." << false << "";
        QTest::newRow("power, no answer on COM3") << true << "wakeup-silent"
            << "Communication Error\nCOM3 (%1): the radio did not answer the wake-up." << false << "COM3";
        QTest::newRow("power, stopped by the closing program") << true << "" << "Stopped." << true << "";
    }
    void readAndWrite()
    {
        QFETCH(bool, power);
        QFETCH(QString, fault);
        QFETCH(QString, message);
        QFETCH(bool, stop);
        QFETCH(QString, port);
        ServiceDriver::SetPortName(port);
        const auto portBack = qScopeGuard([] { ServiceDriver::SetPortName({}); });
        const auto radio = StartRadio(fault.isEmpty() ? QStringList() : QStringList { fault });
        RadioMemory::Bytes memory = Pattern(5);
        memory[0x317] = 9; // MIC3
        radio->SetMemory(memory);
        CRadioImage image = Image();
        const bool done = fault.isEmpty() && !stop;
        message.replace("%1", Device(*radio));
        // Seen between blocks, as the closing window asks every running exchange to stop.
        if (stop)
            QTimer::singleShot(0, [] { CRunningWork::StopAll(); });
        const auto said = [&] { return m_Messages.size() == 1 && m_Messages[0].startsWith(message); };
        if (!power) {
            CParamAdjustDlg dialog(image, kBand130, Device(*radio));
            const CRadioImage shown = image; // as opening corrected it
            dialog.ReadButton()->click();
            QVERIFY2(said(), qPrintable(m_Messages.join('|')));
            QCOMPARE(dialog.Box(ParamTable::kMic3Gain)->currentText(), done ? QString("9") : QString("5"));
            QVERIFY(done || image == shown);
            return;
        }
        const CRadioImage original = image;
        CPowerAdjustDlg dialog;
        dialog.Prepare(image, kBand130, Device(*radio));
        dialog.ReadButton()->click();
        QVERIFY2(said(), qPrintable(m_Messages.join('|')));
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

        CGuiFixture::ClickCell(dialog.RxGrid(), 1, 1);
        QVERIFY(dialog.RxEditor()->isVisible());
        dialog.RxEditor()->setEditText(QStringLiteral("300"));
        CGuiFixture::ClickCell(dialog.SqlGrid(), 2, 1); // the Rx editor loses the focus
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

    // What is typed into a box or a cell is what is stored, through the range rule; the lists never
    // complete it (a "15" typed into Max Deviation once became the list's "150").
    void paramTyped_data()
    {
        QTest::addColumn<int>("box"); // a field; -1 the SQL cell of 140 MHz, -2 the Rx cell Param 1 Wide
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("told"); // the line saying what was stored instead; empty for none
        const QString note = "%1: \"%2\" is not a whole number from %3 to %4; %5 was stored.";
        QTest::newRow("SQL close 7") << int(ParamTable::kSqlClose) << "7" << 0x30D << 7 << "";
        QTest::newRow("narrow SQL -1") << int(ParamTable::kNarrowSql) << "-1" << 0x30E << 0x81 << "";
        QTest::newRow("MIC1 40") << int(ParamTable::kMic1Gain) << "40" << 0x315 << 0
                                 << note.arg("MIC1 Gain", "40", "0", "31", "0");
        QTest::newRow("MIC2 12") << int(ParamTable::kMic2Gain) << "12" << 0x316 << 12 << "";
        QTest::newRow("MIC2 12.5") << int(ParamTable::kMic2Gain) << "12.5" << 0x316 << 12
                                   << note.arg("MIC2 Gain", "12.5", "0", "127", "12");
        QTest::newRow("MIC3 1") << int(ParamTable::kMic3Gain) << "1" << 0x317 << 1 << "";
        QTest::newRow("max deviation 15") << int(ParamTable::kMaxDeviation) << "15" << 0x318 << 30
                                          << note.arg("Max Deviation", "15", "30", "150", "30");
        QTest::newRow("max deviation 45") << int(ParamTable::kMaxDeviation) << "45" << 0x318 << 45 << "";
        QTest::newRow("CTCSS deviation 2") << int(ParamTable::kCtcssDeviation) << "2" << 0x319 << 5
                                           << note.arg("Ctcss Deviation", "2", "5", "30", "5");
        QTest::newRow("DCS deviation 1") << int(ParamTable::kDcsDeviation) << "1" << 0x31A << 5
                                         << note.arg("Dcs Deviation", "1", "5", "30", "5");
        QTest::newRow("SQL cell 4") << -1 << "4" << 0x301 << 5 << note.arg("SQL 140 MHz", "4", "5", "100", "5");
        QTest::newRow("Rx cell 1") << -2 << "1" << 0x30F << 5 << note.arg("Param 1 Wide", "1", "5", "125", "5");
        QTest::newRow("Rx cell 12") << -2 << "12" << 0x30F << 12 << "";
    }
    void paramTyped()
    {
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(int, address);
        QFETCH(int, stored);
        QFETCH(QString, told);
        CRadioImage image = Image();
        CParamAdjustDlg dialog(image, kBand130, QString());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QWidget* target = nullptr;
        if (box >= 0) {
            QComboBox* combo = dialog.Box(ParamTable::Field(box));
            combo->setFocus();
            combo->lineEdit()->selectAll();
            target = combo->lineEdit();
        } else {
            CGuiFixture::ClickCell(box == -1 ? dialog.SqlGrid() : dialog.RxGrid(), box == -1 ? 2 : 1, 1);
            QComboBox* editor = box == -1 ? dialog.SqlEditor() : dialog.RxEditor();
            QVERIFY(editor->isVisible());
            target = editor->lineEdit();
        }
        QTest::keyClicks(target, typed);
        dialog.OkButton()->click();
        QCOMPARE(int(image.Byte(address)), stored);
        QCOMPARE(m_Messages,
            told.isEmpty() ? QStringList() : QStringList { "Not every value was stored as typed:\n" + told });
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
};

QTEST_MAIN(TestServiceDialogs)
#include "tst_service_dialogs.moc"
