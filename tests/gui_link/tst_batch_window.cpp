// Verify after writing and Batch Write from the real window against virtual radios.

#include "tests/gui_link/TransferWindowBench.h"

#include "app/BatchMenu.h"
#include "tests/common/TestFiles.h"
#include "link/BatchWriteDlg.h"
#include "link/ProgramLogDlg.h"
#include "link/SystemPorts.h"

#include <QDir>
#include <csignal>
#include <unistd.h>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>

using namespace LinkTest;
using namespace TransferWindowTest;

namespace {
CBatchMenu* Menu(const Bench& bench)
{
    return bench.Frame()->findChild<CBatchMenu*>();
}
CUserSettings Settings(const Bench& bench)
{
    return CUserSettings::ForConfiguration(bench.View()->Ini());
}
} // namespace

class TestBatchWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_Data;

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", m_Data.path().toLocal8Bit()); }
    void cleanup() { CServiceAccess::ResetForTest(); }
    void init() { QFile::remove(CProgramLog::Path()); }

    // The box is remembered per user; ticked, the write is read back and the first wrong address named.
    void verifyAfterWriting_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("verify");
        QTest::addColumn<QString>("message"); // the start of the one message, "" for none
        QTest::addColumn<QString>("detail"); // its second line, %1 the port
        QTest::addColumn<QString>("logged"); // the verify column of the write's record
        QTest::addColumn<QString>("status"); // how the status bar starts afterwards
        QTest::newRow("ticked, radio sound")
            << "" << true << "Verified 960 bytes." << "" << "verified" << "Wrote and verified 960 bytes on COM1 at ";
        // Block 3 never reaches the radio: its first byte, 0x020, is channel 2's receive frequency.
        QTest::newRow("ticked, radio loses a block")
            << "write-lost:3" << true << "Verify failed at address 0x020: wrote 0x"
            << "%1: 0x020 is channel 2's receive frequency. Write again; if the verify fails again, the radio's "
               "memory is suspect."
            << "differs at 0x020" << "Write to COM1 failed its verify at ";
        QTest::newRow("ticked, the read-back fails")
            << "read-silent:5" << true << "Communication Error" << "%1: block 5 of 60 (address 0x0040) did not arrive."
            << "not verified" << "Wrote 960 bytes to COM1 at ";
        QTest::newRow("cleared") << "" << false << "" << "" << "not verified" << "Wrote 960 bytes to COM1 at ";
    }

    void verifyAfterWriting()
    {
        QFETCH(QString, fault);
        QFETCH(bool, verify);
        QFETCH(QString, message);
        QFETCH(QString, detail);
        QFETCH(QString, logged);
        QFETCH(QString, status);
        Bench bench(QStringLiteral("English"), fault.isEmpty() ? QStringList() : QStringList { fault });
        bench.Transfer(true, verify);
        const QList<CLogRecord> records = CProgramLog().Read(false).records;
        QCOMPARE(records.size(), 1);
        QVERIFY2(records[0].verify.startsWith(logged), qPrintable(records[0].verify));
        QCOMPARE(records[0].outcome.startsWith("failed"), !fault.isEmpty());
        // A write that its verify did not confirm never reads as plainly done.
        const QString done = bench.Frame()->statusBar()->currentMessage();
        QVERIFY2(done.startsWith(status), qPrintable(done));
        QCOMPARE(done.contains("not verified") || done.contains("failed its verify"), !fault.isEmpty());
        QCOMPARE(records[0].port, QStringLiteral("COM1"));
        QCOMPARE(Settings(bench).VerifyAfterWriting(), verify);
        QCOMPARE(bench.radio->LinksOpened(), verify ? 2 : 1);
        const QStringList messages = bench.Messages();
        QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(messages.first().startsWith(message), qPrintable(messages.first()));
        if (!detail.isEmpty())
            QVERIFY2(messages.first().section('\n', 1, 1).startsWith(
                         detail.arg(QStringLiteral("COM1 (%1)").arg(bench.Device()))),
                qPrintable(messages.first()));
        // The next Write opens with the box as it was left.
        bench.Frame()->FindCommand(CMainFrame::kWrite)->trigger();
        QCOMPARE(bench.Dialog()->VerifyBox()->isChecked(), verify);
        bench.Dialog()->reject();
    }

    // Two cables at once, and the repeat loop over swapped radios stopped from the window; a port
    // that cannot be opened fails at once with the reason while the other port carries on.
    // In service mode the tables question comes once for the whole batch, before its window.
    void batchWrite_data()
    {
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<bool>("lost"); // verified, and the second radio loses a block
        QTest::addColumn<bool>("service");
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answers"); // none: Enter
        QTest::addColumn<bool>("missing"); // a second ticked port with no device behind it
        using Answers = QList<QMessageBox::StandardButton>;
        QTest::newRow("two radios at once") << false << false << false << Answers {} << false;
        QTest::newRow("one after another, then Stop") << true << false << false << Answers {} << false;
        QTest::newRow("one after another, a port that does not open") << true << false << false << Answers {} << true;
        QTest::newRow("two verified, one fails its verify") << false << true << false << Answers {} << false;
        QTest::newRow("service mode, Enter: channels and options only") << false << false << true << Answers {} << false;
        QTest::newRow("service mode, Yes: the tables too") << false << false << true << Answers { QMessageBox::Yes } << false;
        QTest::newRow("service mode, Cancel: no batch") << false << false << true << Answers { QMessageBox::Cancel } << false;
    }

    void batchWrite()
    {
        QFETCH(bool, repeat);
        QFETCH(bool, lost);
        QFETCH(bool, service);
        QFETCH(QList<QMessageBox::StandardButton>, answers);
        QFETCH(bool, missing);
        if (service)
            CServiceAccess::Grant();
        Bench bench;
        std::vector<CVirtualRadio*> radios { bench.radio.get() };
        const std::unique_ptr<CVirtualRadio> second
            = repeat ? nullptr : StartRadio(lost ? QStringList { "write-lost:2" } : QStringList());
        if (second)
            radios.push_back(second.get());
        bench.fixture->answers = answers;
        if (repeat) // swapped as soon as the loop has seen it written and asked for it again
            bench.radio->SetSwapByLinks(4);
        QAction* action = Menu(bench)->BatchWriteAction();
        QVERIFY(action);
        action->trigger();
        const QStringList messages = bench.Messages();
        QCOMPARE(messages.size(), service ? 1 : 0);
        if (service)
            QVERIFY2(messages.first().startsWith("Service mode: this Write can also replace"), qPrintable(messages[0]));
        CBatchWriteDlg* dialog = Menu(bench)->Dialog();
        const bool tables = answers.contains(QMessageBox::Yes);
        if (answers.contains(QMessageBox::Cancel)) {
            QVERIFY(!dialog);
            return;
        }
        QVERIFY(dialog && dialog->isVisible());
        const QLabel* withTables = dialog->findChild<QLabel*>("withTables");
        QCOMPARE(withTables && withTables->isVisible(), tables);
        QStringList devices;
        for (const CVirtualRadio* radio : radios)
            devices << Device(*radio);
        const QString noPort = QDir(m_Data.path()).filePath("no-such-port");
        if (missing)
            devices << noPort;
        dialog->SetPorts(devices, devices);
        dialog->RepeatBox()->setChecked(repeat);
        dialog->VerifyBox()->setChecked(lost);
        QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
        QVERIFY(dialog->IsRunning());
        QVERIFY(!dialog->StartButton()->isEnabled());
        if (repeat) {
            QTRY_VERIFY_WITH_TIMEOUT(dialog->DoneCount() == 2, 30000);
            // The port that did not open said so once, with the reason, and waits no more; it is no
            // radio, so it counts neither way.
            QCOMPARE(dialog->FailedCount(), 0);
            QCOMPARE(dialog->State()->text().contains(noPort), false);
            QTest::mouseClick(dialog->StopButton(), Qt::LeftButton);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->IsRunning(), 30000);
        if (missing) {
            const QString log = dialog->Log()->toPlainText();
            QCOMPARE(log.count(noPort + ": "), 1);
            QVERIFY2(log.contains(noPort + ": stopped: the port could not be opened (The device " + noPort + " does not exist.)"),
                qPrintable(log));
            return;
        }
        if (lost) { // every block went out, yet the read-back differs: that radio failed
            QCOMPARE(dialog->DoneCount(), 1);
            QCOMPARE(dialog->FailedCount(), 1);
            QVERIFY(dialog->Log()->toPlainText().contains("2 radios: 1 succeeded, 1 failed."));
            return;
        }
        QCOMPARE((QList<int> { dialog->DoneCount(), dialog->FailedCount() }), (QList<int> { 2, 0 }));
        QCOMPARE(dialog->Counts()->text(), QStringLiteral("Done: 2    Failed: 0"));
        QCOMPARE(bench.Messages().size(), service ? 1 : 0); // asked once, not for every radio
        const RadioMemory::Bytes expected = bench.Written(RadioMemory::Factory(), tables);
        // The radio's own tables differ from the document's, so the answer shows in the radio.
        QVERIFY(expected != bench.Written(RadioMemory::Factory(), !tables));
        if (repeat) {
            const auto retired = bench.radio->Retired();
            QVERIFY(!retired.empty());
            QCOMPARE(retired.front().writeLinks, 1);
            QVERIFY(retired.front().memory == expected);
        } else {
            for (const CVirtualRadio* radio : radios)
                QVERIFY(radio->Memory() == expected);
            QVERIFY(dialog->Log()->toPlainText().contains("2 radios: 2 succeeded, 0 failed."));
        }
        // One record a radio, each on its own port.
        QStringList logged;
        for (const CLogRecord& record : CProgramLog().Read(false).records)
            logged << record.port + ' ' + record.direction + ' ' + QString::number(record.blocks) + ' ' + record.outcome;
        logged.sort();
        QStringList expectedLog;
        for (const QString& device : repeat ? QStringList { devices[0], devices[0] } : devices)
            expectedLog << device + (tables ? " write 64 done" : " write 60 done");
        expectedLog.sort();
        QCOMPARE(logged, expectedLog);
        QVERIFY(dialog->StartButton()->isEnabled());
        // The status bar says what the batch did.
        const QString status = bench.Frame()->statusBar()->currentMessage();
        QVERIFY2(status.contains(QRegularExpression("^Batch Write: 2 radios written, 0 failed, at [0-2][0-9]:[0-5][0-9]$")),
            qPrintable(status));
    }

    void closeDuringBatch_data()
    {
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<QString>("how"); // "close" or a stop signal, once blocks have gone out
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answers"); // none: Enter
        QTest::addColumn<bool>("stopped");
        using Answers = QList<QMessageBox::StandardButton>;
        QTest::newRow("two at once, Enter keeps them writing") << false << "close" << Answers {} << false;
        QTest::newRow("two at once, Yes stops them, then the program closes")
            << false << "close" << Answers { QMessageBox::Yes } << true;
        QTest::newRow("one after another, Yes") << true << "close" << Answers { QMessageBox::Yes } << true;
        QTest::newRow("two at once, SIGTERM") << false << "SIGTERM" << Answers {} << true;
    }

    // Batch Write is not modal, so the program can be closed under it: it asks first (naming every
    // port), and a stop ends each radio between blocks with its log record, says once more which radios
    // now hold part of the new data, and only then lets the program close.
    void closeDuringBatch()
    {
        QFETCH(bool, repeat);
        QFETCH(QString, how);
        QFETCH(QList<QMessageBox::StandardButton>, answers);
        QFETCH(bool, stopped);
        Bench bench;
        // Paced like a real cable, so that the program closes while blocks are still going out.
        const std::unique_ptr<CVirtualRadio> first = StartRadio({}, 9600);
        const std::unique_ptr<CVirtualRadio> second = repeat ? nullptr : StartRadio({}, 9600);
        QStringList devices { Device(*first) };
        if (second)
            devices << Device(*second);
        Menu(bench)->BatchWriteAction()->trigger();
        CBatchWriteDlg* dialog = Menu(bench)->Dialog();
        QVERIFY(dialog);
        dialog->SetPorts(devices, devices);
        dialog->RepeatBox()->setChecked(repeat);
        bench.fixture->answers = answers;
        QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(first->Received().size() > 160, 20000); // ten blocks and more
        if (how == "close")
            bench.Frame()->close();
        else
            ::kill(::getpid(), SIGTERM);
        QTRY_COMPARE_WITH_TIMEOUT(bench.Frame()->isVisible(), !stopped, 30000);
        if (!stopped)
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->IsRunning(), 30000);

        const QStringList shown = bench.Messages();
        const QString question = QStringLiteral("The program is still talking to a radio:\n- %1 on %2: stopped now, a "
                                                "radio being written would keep part of the new data and must be "
                                                "written again.\nStop and close the program?\nYes: stop after the "
                                                "current block, then close.  No: keep running.")
                                     .arg(repeat ? "Batch Write, one radio after another," : "Batch Write", devices.join(", "));
        QCOMPARE(shown.value(0), how == "close" ? question : shown.value(0));
        QCOMPARE(shown.size(), (how == "close" ? 1 : 0) + (stopped ? 1 : 0));
        // Every radio stopped mid-write is named, with the warning, where the closing program shows it.
        if (stopped)
            for (const QString& device : devices)
                QVERIFY2(shown.last().contains(device + ": stopped after ")
                        && shown.last().contains("The radio may now hold part of the new data."),
                    qPrintable(shown.last()));
        QStringList logged;
        for (const CLogRecord& record : CProgramLog().Read(false).records)
            logged << record.port + ' ' + record.outcome;
        logged.sort();
        QStringList expected;
        for (const QString& device : devices)
            expected << device + (stopped ? " stopped" : " done");
        QCOMPARE(logged, expected);
    }

    // The window takes the document at Start: a channel typed after the window opened reaches the
    // radio; Verify is the Write window's remembered box; the window says both.
    void batchTakesTheDocumentAtStart()
    {
        Bench bench;
        Settings(bench).SetVerifyAfterWriting(true);
        Menu(bench)->BatchWriteAction()->trigger();
        CBatchWriteDlg* dialog = Menu(bench)->Dialog();
        QVERIFY(dialog);
        QVERIFY(dialog->VerifyBox()->isChecked());
        dialog->VerifyBox()->setChecked(false);
        QVERIFY(!Settings(bench).VerifyAfterWriting());
        QVERIFY(dialog->findChild<QLabel*>("atStart")->text().contains("edits made while a batch runs"));
        bench.fixture->ClickCell(3, 1);
        bench.fixture->Type(QStringLiteral("146.5"));
        dialog->SetPorts({ bench.Device() }, { bench.Device() });
        QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->IsRunning(), 30000);
        QCOMPARE(dialog->DoneCount(), 1);
        QCOMPARE(bench.fixture->RowTexts(3).value(1), QStringLiteral("146.50000"));
        QVERIFY(bench.radio->Memory() == bench.Written(RadioMemory::Factory()));
        QVERIFY(dialog->Log()->toPlainText().contains("1 radio: 1 succeeded, 0 failed."));
        const QString status = bench.Frame()->statusBar()->currentMessage();
        QVERIFY2(status.startsWith("Batch Write: 1 radio written, 0 failed, at "), qPrintable(status));
        dialog->reject();
    }

    // Cables plugged in and pulled out while the window is open show in its list, ticks kept.
    void batchPortListFollowsCables()
    {
        Bench bench;
        QList<CSystemPorts::Port> reported;
        CSystemPorts::SetSource([&reported] { return reported; });
        Menu(bench)->BatchWriteAction()->trigger();
        CBatchWriteDlg* dialog = Menu(bench)->Dialog();
        QVERIFY(dialog);
        const auto listed = [dialog] {
            QStringList texts;
            for (int i = 0; i < dialog->PortList()->count(); ++i)
                if (dialog->PortList()->item(i)->text().startsWith("/dev/ttyACM7"))
                    texts << dialog->PortList()->item(i)->text();
            return texts;
        };
        QCOMPARE(listed(), QStringList());
        reported = { { "/dev/ttyACM7", "USB Serial", "", "A1" } };
        QTRY_COMPARE_WITH_TIMEOUT(listed(), QStringList { "/dev/ttyACM7  (USB Serial, serial number A1)" }, 10000);
        dialog->PortList()->item(dialog->PortList()->count() - 1)->setCheckState(Qt::Checked);
        reported.clear();
        QTRY_COMPARE_WITH_TIMEOUT(listed(), QStringList { "/dev/ttyACM7  (not present)" }, 10000);
        QVERIFY(dialog->TickedPorts().contains("/dev/ttyACM7"));
        CSystemPorts::SetSource({});
        dialog->reject();
    }

    // Each port with the device it opens and what the system says of its cable; ports with nothing
    // behind them are greyed (and still on offer).
    void batchPortList_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("text"); // %1: the first radio's device
        QTest::addColumn<bool>("present");
        QTest::newRow("COM1 on the virtual radio") << "COM1" << QString::fromUtf8("COM1  \u2192  %1") << true;
        QTest::newRow("COM3 without a cable")
            << "COM3" << QString::fromUtf8("COM3  \u2192  /dev/ttyUSB2  (not present)") << false;
        QTest::newRow("COM5 on a reported adapter")
            << "COM5" << QString::fromUtf8("COM5  \u2192  /dev/ttyUSB4  (CP2102 USB to UART, maker Silicon Labs)") << true;
        QTest::newRow("a reported port by its path")
            << "/dev/ttyACM7" << "/dev/ttyACM7  (USB Serial, serial number A1)" << true;
    }

    void batchPortList()
    {
        QFETCH(QString, port);
        QFETCH(QString, text);
        QFETCH(bool, present);
        Bench bench;
        CSystemPorts::SetSource([] {
            return QList<CSystemPorts::Port> { { "/dev/ttyACM7", "USB Serial", "", "A1" },
                { "/dev/ttyUSB4", "CP2102 USB to UART", "Silicon Labs", "" } };
        });
        Menu(bench)->BatchWriteAction()->trigger();
        CBatchWriteDlg* dialog = Menu(bench)->Dialog();
        QVERIFY(dialog);
        dialog->SetPorts({ port }, {});
        CSystemPorts::SetSource({});
        QCOMPARE(dialog->PortList()->count(), 1);
        const QListWidgetItem* item = dialog->PortList()->item(0);
        QCOMPARE(item->text(), text.arg(bench.Device()));
        QCOMPARE(item->data(CBatchWriteDlg::kPresentRole).toBool(), present);
        QCOMPARE(item->foreground().color() == dialog->PortList()->palette().color(QPalette::Disabled, QPalette::Text),
            !present);
        QVERIFY(item->flags() & Qt::ItemIsUserCheckable);
        dialog->reject();
    }
};

QTEST_MAIN(TestBatchWindow)
#include "tst_batch_window.moc"
