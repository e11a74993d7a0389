// The service unlock through its real widgets: the password dialog, and the menus, title and log
// entries that follow a granted or refused unlock.

#include "tests/service/ServiceDialogSupport.h"

#include "link/PortName.h"

using namespace LinkTest;
using namespace ServiceDialogTest;

class TestServiceUnlock : public QObject {
    Q_OBJECT

    QStringList m_Messages;

private slots:
    void init() { ResetServiceTest(m_Messages); }
    void cleanup() { EndServiceTest(); }

    void password_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("kept");
        QTest::newRow("the code") << "k719wd" << true << "k719wd";
        QTest::newRow("other case") << "K719WD" << false << "K719WD";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("trailing blank") << "k719wd " << false << "k719wd ";
        QTest::newRow("nine characters cut to eight") << "k719wdabc" << false << "k719wdab";
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
    // running language, and they open the dialogs on the active document's band. From then on the
    // status bar and the title mark service mode.
    void unlock_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("texts"); // the two entries and the mark
        QTest::newRow("English") << "English"
                                 << QStringList { "Power Adjustment", "Parameter Adjustment",
                                        "Service Mode" };
        QTest::newRow("Chinese") << "Chinese" << QStringList { "功率调整", "参数调整", "维修模式" };
    }
    void unlock()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, texts);
        const QString power = texts[0], param = texts[1], mark = texts[2];
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
        const QString title = frame->windowTitle();
        const auto pane = [frame] { return frame->statusBar()->findChild<QLabel*>("serviceMode"); };
        chord(QStringLiteral("k719WD"));
        QCOMPARE(EditEntries(frame), before);
        QVERIFY(!CServiceAccess::IsGranted());
        QVERIFY(!pane());
        QCOMPARE(frame->windowTitle(), title);
        chord(QStringLiteral("k719wd"));
        QVERIFY(CServiceAccess::IsGranted());
        QCOMPARE(EditEntries(frame), before + (QStringList { power, param }));
        chord(QStringLiteral("k719wd"));
        QCOMPARE(EditEntries(frame), before + (QStringList { power, param }));
        QVERIFY(pane() && pane()->isVisible());
        QCOMPARE(pane()->text(), mark);
        QCOMPARE(frame->statusBar()->findChildren<QLabel*>("serviceMode").size(), 1);
        QCOMPARE(frame->windowTitle(), title + "  [" + mark + "]"); // once, after two accepted codes
        // A title made afresh (here by Product Information) keeps the mark.
        WhenModal<CProductInfoDlg>([](CProductInfoDlg* d) { d->accept(); });
        frame->FindCommand(CMainFrame::kProductInformation)->trigger();
        QCOMPARE(frame->windowTitle(), CProgramView::MainWindowTitle() + "  [" + mark + "]");
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

        // The dialog's exchanges go into the programming log, a failed one too.
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        fixture.SetIni(QStringLiteral("Ports"), QStringLiteral("COM1"), data.filePath(QStringLiteral("no-cable")));
        WhenModal<CPowerAdjustDlg>([](CPowerAdjustDlg* d) {
            d->ReadButton()->click();
            d->reject();
        });
        frame->FindCommand(CMainFrame::kPowerAdjust)->trigger();
        const QList<CLogRecord> records = CProgramLog().Read(false).records;
        QCOMPARE(records.size(), 1);
        QCOMPARE((QStringList { records[0].port, records[0].direction, records[0].area, records[0].file }),
            (QStringList { "COM1", "read", "power", "unsaved document" }));
        QVERIFY2(records[0].outcome.startsWith("failed: the port could not be opened"), qPrintable(records[0].outcome));
        // A table read there is the radio's when a service-mode Write asks.
        const auto radio = StartRadio();
        QVERIFY(CPortName::AddOverride(QStringLiteral("COM1=") + Device(*radio), true));
        WhenModal<CPowerAdjustDlg>([](CPowerAdjustDlg* d) {
            d->ReadButton()->click();
            d->OkButton()->click();
        });
        frame->FindCommand(CMainFrame::kPowerAdjust)->trigger();
        const QString origin = fixture.Doc()->TableOrigin().Describe(fixture.Doc()->m_Image, false);
        CPortName::ClearOverrides();
        QVERIFY2(origin.startsWith("Power table: read from a radio at "), qPrintable(origin));
    }
};

QTEST_MAIN(TestServiceUnlock)
#include "tst_service_unlock.moc"
