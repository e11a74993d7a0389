// Log Serial Traffic and the programming log from the real window against virtual radios.

#include "tests/gui_link/TransferWindowBench.h"

#include "app/BatchMenu.h"
#include "tests/common/TestFiles.h"
#include "config/SafeFile.h"
#include "link/ProgramLogDlg.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cerrno>

using namespace LinkTest;
using namespace TransferWindowTest;

namespace {
const QByteArray kDigest = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
}

class TestLogWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_Data;

    static CBatchMenu* Menu(const Bench& bench) { return bench.Frame()->findChild<CBatchMenu*>(); }
    static CUserSettings Settings(const Bench& bench) { return CUserSettings::ForConfiguration(bench.View()->Ini()); }

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", m_Data.path().toLocal8Bit()); }
    void cleanup() { CServiceAccess::ResetForTest(); }
    void init() { QFile::remove(CProgramLog::Path()); }

    // Setup > Log Serial Traffic: remembered; while on, every transfer is appended to the port's file
    // in the data folder; while off, nothing is.
    void logSerialTraffic()
    {
        Bench bench;
        QAction* log = Menu(bench)->LogAction();
        QVERIFY(log && log->isCheckable() && !log->isChecked());
        QDir folder(CSerialTrace::DefaultFolder());
        folder.removeRecursively();
        const auto traceText = [&] {
            const QStringList files = folder.entryList(QDir::Files);
            if (files.size() != 1)
                return QStringLiteral("%1 files").arg(files.size());
            QFile file(folder.filePath(files.first()));
            file.open(QIODevice::ReadOnly);
            return QString::fromUtf8(file.readAll());
        };
        log->trigger();
        QVERIFY(Settings(bench).LogSerialTraffic());
        bench.Transfer(true, false);
        bench.Transfer(true, false);
        const QString text = traceText();
        QCOMPARE(text.count("-- opened at 9600 baud"), 2);
        QVERIFY(text.contains("-> 02  |.|") && text.contains("<- 06  |.|") && text.contains("-- closed"));

        log->trigger();
        QVERIFY(!Settings(bench).LogSerialTraffic());
        bench.Transfer(true, false);
        QCOMPARE(traceText(), text);
        QCOMPARE(bench.Messages(), QStringList());

        // A trace the disk refuses is said, with its file and the reason; the write still goes through.
        log->trigger();
        SafeFile::FailNextWrite(SafeFile::Step::Write, ENOSPC);
        bench.radio->SetMemory(RadioMemory::Factory());
        bench.Transfer(true, false);
        QCOMPARE(bench.Messages().size(), 1);
        QVERIFY2(bench.Messages().first().contains(folder.path() + "/trace-")
                && bench.Messages().first().endsWith("could not be written (No space left on device); the trace is incomplete."),
            qPrintable(bench.Messages().first()));
        QVERIFY(bench.radio->Memory() == bench.Written(RadioMemory::Factory()));
    }

    // Program > Programming Log...: the newest row at the bottom and selected, a cut line noted, the
    // filter, Export CSV... of the rows shown, and Open Backup for a read.
    void programmingLogWindow()
    {
        Bench bench;
        const QString backup = bench.fixture->DataPath(QStringLiteral("read-copy.dat"));
        QVERIFY(DataFile::Save(backup, bench.fixture->Doc()->m_Image).ok());
        QVERIFY(QDir().mkpath(QFileInfo(CProgramLog::Path()).absolutePath()));
        QFile file(CProgramLog::Path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"time\":\"2026-03-01T10:00:00Z\",\"port\":\"COM2\",\"device\":\"/dev/ttyUSB1\",\"direction\":\"write\","
                   "\"area\":\"channels\",\"file\":\"/data/a.dat\",\"sha256\":\"" + kDigest + "\",\"blocks\":60,"
                   "\"verify\":\"verified\",\"outcome\":\"done\",\"version\":\"1.0\"}" "\n");
        file.write("{\"time\":\"2026-03-01T09:00:00Z\",\"port\":\"COM1\",\"cable\":\"USB Serial\",\"direction\":\"read\","
                   "\"area\":\"channels\",\"file\":\"unsaved document\",\"blocks\":64,\"verify\":\"not verified\","
                   "\"outcome\":\"done\",\"version\":\"1.0\",\"backup\":\"" + backup.toUtf8() + "\"}\n");
        file.write("{\"time\":\"2026-03-01T11:00");
        file.close();
        const QString exported = bench.fixture->DataPath(QStringLiteral("log.csv"));
        bench.fixture->fileAnswers << exported;

        QStringList bottom, notes, filtered, headers, digest;
        bool backupForWrite = true, backupForRead = false;
        bench.fixture->onDialog = [&](QDialog& dialog) {
            auto* log = qobject_cast<CProgramLogDlg*>(&dialog);
            if (!log)
                return int(QDialog::Rejected);
            QTableWidget* table = log->Table();
            const int last = table->rowCount() - 1;
            for (int c = 0; c < table->columnCount(); ++c) {
                headers << table->horizontalHeaderItem(c)->text();
                bottom << table->item(last, c)->text();
            }
            digest << table->item(last, CProgramLogDlg::kDigest)->toolTip();
            bottom << QString::number(table->currentRow() == last && table->item(last, 0)->isSelected());
            notes << log->findChild<QLabel*>(QStringLiteral("logNotes"))->text();
            backupForWrite = log->OpenBackupButton()->isEnabled();
            // The filter looks at whole texts, the digest's too.
            log->Filter()->setText(QStringLiteral("cdef0123456789abcdef01"));
            filtered << QString::number(!table->isRowHidden(last) && table->isRowHidden(0));
            log->Filter()->setText(QStringLiteral("usb serial"));
            for (int row = 0; row < table->rowCount(); ++row)
                if (!table->isRowHidden(row))
                    filtered << table->item(row, 1)->text();
            table->selectRow(0);
            backupForRead = log->OpenBackupButton()->isEnabled();
            log->findChild<QPushButton*>(QStringLiteral("exportCsv"))->click();
            log->OpenBackupButton()->click();
            return log->result();
        };
        const CChildFrame* before = bench.fixture->Child();
        bench.Frame()->FindCommand(CMainFrame::kProgrammingLog)->trigger();
        QCOMPARE(bench.fixture->dialogs, QStringList { "Programming Log" });
        // How it ended first, the digest last: cut short, whole in its tooltip.
        QCOMPARE(headers, (QStringList { "Time (UTC)", "Port", "Direction", "Area", "Outcome", "Verify", "File", "Type",
                              "Band", "Blocks", "Version", "Backup", "SHA-256" }));
        QCOMPARE(bottom, (QStringList { "2026-03-01T10:00:00Z", "COM2 (/dev/ttyUSB1)", "write", "channels", "done",
                             "verified", "/data/a.dat", "", "", "60", "1.0", "", QString::fromUtf8("0123456789ab\u2026"), "1" }));
        QCOMPARE(digest, QStringList { kDigest });
        QCOMPARE(notes, QStringList { CProgramLog::Path() + ", line 3: a cut or unreadable record was skipped." });
        QVERIFY(!backupForWrite);
        QCOMPARE(filtered, (QStringList { "1", "COM1 (USB Serial)" }));
        QVERIFY(backupForRead);
        QFile csv(exported);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(csv.readAll()),
            "time,port,direction,area,file,sha256,type,band,blocks,verify,outcome,version,backup\r\n"
            "2026-03-01T09:00:00Z,COM1 (USB Serial),read,channels,unsaved document,,,,64,not verified,done,1.0,"
                + backup + "\r\n");
        // Open Backup opened the read's copy in a window of its own.
        QVERIFY(bench.fixture->Child() != before);
        QCOMPARE(bench.Messages(), QStringList());
    }

    void followsTheLog_data()
    {
        QTest::addColumn<bool>("logThere"); // with one record when the window opens; else no log, no folder
        QTest::addColumn<int>("count"); // records another program appends while the window is open
        QTest::addColumn<int>("rotateBytes"); // the size at which it renames the log
        QTest::newRow("another program appends") << true << 5 << int(CProgramLog::kRotateBytes);
        QTest::newRow("renamed again and again meanwhile") << true << 24 << 600;
        QTest::newRow("the log begun while the window is open") << false << 5 << int(CProgramLog::kRotateBytes);
    }

    // The window follows the log: what another program appends while it is open appears, once each,
    // across renames at the size limit, and the bottom row stays the one selected.
    void followsTheLog()
    {
        QFETCH(bool, logThere);
        QFETCH(int, count);
        QFETCH(int, rotateBytes);
        const QDir folder = QFileInfo(CProgramLog::Path()).dir();
        QVERIFY(QDir(folder).removeRecursively());
        if (logThere) {
            QVERIFY(QDir().mkpath(folder.path()));
            QVERIFY(TestFiles::Write(CProgramLog::Path(),
                "{\"time\":\"2026-03-01T10:00:00Z\",\"port\":\"COM2\",\"direction\":\"write\"}\n"));
        }
        CProgramLogDlg dialog;
        QTableWidget* table = dialog.Table();
        const int before = logThere ? 1 : 0;
        QCOMPARE(table->rowCount(), before);

        QProcess appender;
        appender.start(QCoreApplication::applicationDirPath() + "/link_log_appender",
            { CProgramLog::Path(), QString::number(count), QString::number(rotateBytes), "COM7" });
        QVERIFY(appender.waitForStarted());
        appender.write("go\n");
        appender.closeWriteChannel();
        QVERIFY(appender.waitForFinished(30000));
        QCOMPARE(appender.exitCode(), 0);
        QCOMPARE(CProgramLog().Files().size() > 2, rotateBytes < 1000); // it did rename

        QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), before + count, 20000);
        QList<int> blocks, expected;
        for (int row = 0; row < table->rowCount(); ++row)
            if (table->item(row, CProgramLogDlg::kPort)->text() == "COM7")
                blocks << table->item(row, CProgramLogDlg::kBlocks)->data(Qt::DisplayRole).toInt();
        std::sort(blocks.begin(), blocks.end());
        for (int i = 0; i < count; ++i)
            expected << i;
        QCOMPARE(blocks, expected);
        QCOMPARE(table->currentRow(), table->rowCount() - 1);
        QVERIFY(table->item(table->rowCount() - 1, 0)->isSelected());
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("logNotes"))->text(), QString());
    }

    void logExportRefuses_data()
    {
        QTest::addColumn<QString>("target"); // what the file prompt is answered with
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("saveAs"); // File > Save As... instead of Export CSV
        const QString log = "%1 is a file of the programming log; the list is not written over it.";
        const QString saved = "%1 is a file of the programming log; the document is not saved over it.";
        QTest::newRow("the log itself") << "log" << log << false;
        QTest::newRow("a renamed log") << "renamed" << log << false;
        QTest::newRow("another name of the log") << "link" << log << false;
        QTest::newRow("the open document's data file")
            << "document" << "%1 is the data file of an open document; the list is not written over it." << false;
        QTest::newRow("Save As, the log itself") << "log" << saved << true;
        QTest::newRow("Save As, another name of the log") << "link" << saved << true;
    }

    // Programming Log > Export CSV... never writes over the log's own files or a document's data file.
    void logExportRefuses()
    {
        QFETCH(QString, target);
        QFETCH(QString, said);
        QFETCH(bool, saveAs);
        Bench bench;
        const QDir folder = QFileInfo(CProgramLog::Path()).dir();
        QVERIFY(QDir().mkpath(folder.path()));
        const QByteArray record = "{\"time\":\"2026-03-01T10:00:00Z\",\"port\":\"COM2\",\"direction\":\"write\"}\n";
        QVERIFY(TestFiles::Write(CProgramLog::Path(), record));
        QVERIFY(TestFiles::Write(folder.filePath("programming-log-20260101.jsonl"), record));
        QString path = CProgramLog::Path();
        if (target == "renamed") {
            path = folder.filePath("programming-log-20260101.jsonl");
        } else if (target == "link") {
            path = bench.fixture->DataPath("log.csv");
            QVERIFY(QFile::link(CProgramLog::Path(), path));
        } else if (target == "document") {
            path = bench.fixture->DataPath("radio.dat");
            QVERIFY(DataFile::Save(path, bench.fixture->Doc()->m_Image).ok());
            QVERIFY(bench.fixture->App().OpenDocumentFile(path));
        }
        const QByteArray before = TestFiles::Read(path);
        bench.fixture->fileAnswers << path;
        if (saveAs) {
            QVERIFY(!bench.fixture->Doc()->DoSaveAs());
            QCOMPARE(TestFiles::Read(path), before);
            QCOMPARE(bench.Messages(), QStringList { said.arg(path) });
            return;
        }
        bench.fixture->onDialog = [](QDialog& dialog) {
            if (auto* log = qobject_cast<CProgramLogDlg*>(&dialog))
                log->findChild<QPushButton*>(QStringLiteral("exportCsv"))->click();
            return int(QDialog::Rejected);
        };
        bench.Frame()->FindCommand(CMainFrame::kProgrammingLog)->trigger();
        QCOMPARE(TestFiles::Read(path), before);
        QCOMPARE(bench.Messages(), QStringList { said.arg(path) });
    }

    // A log that cannot be written leaves the writes as they were and is said once, not per write.
    void logThatCannotBeWritten()
    {
        Bench bench;
        QVERIFY(QDir().mkpath(CProgramLog::Path())); // a folder where the file should be
        bench.Transfer(true, false);
        bench.Transfer(true, false);
        QDir(CProgramLog::Path()).removeRecursively();
        QCOMPARE(bench.radio->LinksOpened(), 2);
        const QStringList messages = bench.Messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith("The programming log could not be written ("), qPrintable(messages[0]));
        QVERIFY(messages[0].endsWith("); the transfer itself is not affected."));
    }
};

QTEST_MAIN(TestLogWindow)
#include "tst_log_window.moc"
