// Read and Write from the real window when things go wrong: radio and port faults and their messages,
// a read over unsaved edits, the grid locked while a transfer runs and the window closed during one.

#include "tests/gui_link/TransferWindowBench.h"

using namespace LinkTest;
using namespace TransferWindowTest;

class TestTransferFaults : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { CServiceAccess::ResetForTest(); }

    void faults_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("write");
        // The message box, %1 standing for the port as the window names it; empty: the transfer goes
        // through and the status bar says so.
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("done"); // the status bar's text before the time
        const QString error = kCommunicationError + QLatin1Char('\n');
        const QString wakeUp = error
            + "%1: the radio did not answer the wake-up. Is the radio switched on, the cable plugged in at "
              "both ends, and %1 the port the cable is on?";
        const QString readLost = error
            + "%1: block 5 of 64 (address 0x0040) did not arrive. Is the radio still on and the cable firmly "
              "plugged in? Try again.";
        const QString read = "Read 1,019 bytes from COM1 at ";
        QTest::newRow("no answer to the wake-up") << "English" << "wakeup-silent" << false << wakeUp << "";
        QTest::newRow("wake-up refused four times") << "English" << "wakeup-nak" << true << wakeUp << "";
        QTest::newRow("wake-up refused once") << "English" << "wakeup-nak:1" << false << QString() << read;
        QTest::newRow("short mode answer") << "English" << "mode-short" << false << wakeUp << "";
        QTest::newRow("confirm refused") << "English" << "confirm-nak" << true << wakeUp << "";
        QTest::newRow("short read block") << "English" << "read-short:5" << false << readLost << "";
        QTest::newRow("silent read block") << "English" << "read-silent:5" << false << readLost << "";
        QTest::newRow("read block not acknowledged")
            << "English" << "read-noack:5" << false
            << error + "%1: the radio refused block 5 of 64 (address 0x0040). Switch the radio off and on again and try again."
            << "";
        QTest::newRow("last read block not acknowledged")
            << "English" << "read-noack:64" << false
            << error + "%1: the radio refused block 64 of 64 (address 0x03F0). Switch the radio off and on again and try again."
            << "";
        QTest::newRow("foreign read header") << "English" << "read-header" << false << QString() << read;
        QTest::newRow("silent write block")
            << "English" << "write-silent:5" << true
            << error + "%1: block 5 of 60 (address 0x0040) did not arrive. Is the radio still on and the cable firmly plugged in? Try again."
                + kPartial
            << "";
        QTest::newRow("write block refused")
            << "English" << "write-nak:60" << true
            << error + "%1: the radio refused block 60 of 60 (address 0x03D0). Switch the radio off and on again and try again."
                + kPartial
            << "";
        QTest::newRow("write block lost by the radio")
            << "English" << "write-lost:5" << true << QString() << "Wrote 960 bytes to COM1 at ";
        QTest::newRow("Chinese, short read block")
            << "Chinese" << "read-short:1" << false
            << kCommunicationErrorZh + "\n%1: 第 1/64 块 (地址 0x0000) 没有收到。电台是否仍开机? 电缆是否插牢? 请重试。" << "";
        QTest::newRow("Chinese, silent write block")
            << "Chinese" << "write-silent:2" << true
            << kCommunicationErrorZh + "\n%1: 第 2/60 块 (地址 0x0010) 没有收到。电台是否仍开机? 电缆是否插牢? 请重试。"
                + kPartialZh
            << "";
        QTest::newRow("Chinese, no answer to the wake-up")
            << "Chinese" << "wakeup-silent" << false
            << kCommunicationErrorZh + "\n%1: 电台没有应答唤醒。电台是否已开机? 电缆两端是否插好? 电缆是否接在 %1 上?"
            << "";
        QTest::newRow("Chinese, read") << "Chinese" << "" << false << QString() << "从 COM1 读取了 1,019 字节";
    }

    // Each failure shows its one message, naming the port and the step, and closes the window and the
    // port; a read that fails keeps the document exactly as it was (not half a radio), while a good
    // read takes the radio's bytes. What went through stays in the status bar until the next command.
    void faults()
    {
        QFETCH(QString, language);
        QFETCH(QString, fault);
        QFETCH(bool, write);
        QFETCH(QString, message);
        QFETCH(QString, done);
        Bench bench(language, fault.isEmpty() ? QStringList() : QStringList { fault });
        bench.radio->SetMemory(Pattern(7));
        const CRadioImage before = bench.fixture->Doc()->m_Image;
        const QList<QStringList> grid = bench.GridTexts();

        bench.Transfer(write);
        const QString port = QStringLiteral("COM1 (%1)").arg(bench.Device());
        QCOMPARE(bench.Messages(), message.isEmpty() ? QStringList() : QStringList { message.arg(port) });
        QVERIFY(PortIsFree(bench.Device()));
        const QString status = bench.Frame()->statusBar()->currentMessage();
        if (done.isEmpty())
            QCOMPARE(status, language == "English" ? QStringLiteral("Ready") : QStringLiteral("就绪"));
        else
            QVERIFY2(status.contains(QRegularExpression(QRegularExpression::escape(done)
                                                          + (language == "English" ? "[0-2][0-9]:[0-5][0-9]$" : ""))),
                qPrintable(status));
        if (write) {
            QCOMPARE(bench.GridTexts(), grid);
        } else if (message.isEmpty()) {
            QCOMPARE(Bytes(bench.fixture->Doc()->m_Image).left(1019), Bytes(Pattern(7)).left(1019));
            QVERIFY(!CProgramDoc::IsNewDocument());
        } else {
            QCOMPARE(bench.fixture->Doc()->m_Image, before);
            QCOMPARE(bench.GridTexts(), grid);
            QVERIFY(CProgramDoc::IsNewDocument());
        }
        if (!done.isEmpty()) {
            // A prompt passing over leaves it; the next command clears it.
            QStatusTipEvent away { QString() };
            QApplication::sendEvent(bench.Frame(), &away);
            QCOMPARE(bench.Frame()->statusBar()->currentMessage(), status);
            bench.Command(CMainFrame::kChannelInformation);
            QVERIFY(bench.Frame()->statusBar()->currentMessage() != status);
        }
    }

    void portFailures_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("busy"); // else missing
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("message");
        QTest::newRow("busy, read") << "English" << true << false
                                    << kPortOpenFailed + "\n%1 is in use by another program.";
        QTest::newRow("missing, write")
            << "English" << false << true << kPortOpenFailed + "\nThe device %1 does not exist.";
        QTest::newRow("Chinese, busy, write")
            << "Chinese" << true << true << kPortOpenFailedZh + "\n%1 正被其他程序使用。";
        QTest::newRow("Chinese, missing, read")
            << "Chinese" << false << false << kPortOpenFailedZh + "\n设备 %1 不存在。";
    }

    // The port-open message with the reason, the window closed, nothing sent; a write has stored the
    // grid (the cell being typed included) all the same.
    void portFailures()
    {
        QFETCH(QString, language);
        QFETCH(bool, busy);
        QFETCH(bool, write);
        QFETCH(QString, message);
        Bench bench(language);
        const QString device = busy ? bench.Device() : QStringLiteral("/dev/no-such-radio");
        std::unique_ptr<CPortHolder> holder;
        if (busy) {
            holder = std::make_unique<CPortHolder>(device);
            QVERIFY(holder->Holds());
        } else {
            CPortName::AddOverride(QStringLiteral("COM1=") + device, false);
        }
        const CRadioImage before = bench.fixture->Doc()->m_Image;
        if (write) {
            bench.fixture->ClickCell(3, ChannelCodec::kRxFrequency);
            bench.fixture->Type(QStringLiteral("145"));
        }

        bench.Transfer(write);
        // The port named as the user picked it, with its device.
        QCOMPARE(bench.Messages(), QStringList { message.arg("COM1 (" + device + ")") });
        QCOMPARE(bench.radio->LinksOpened(), 0);
        if (write) {
            QVERIFY(bench.fixture->Doc()->m_Image != before);
            QCOMPARE(bench.ChannelsOf(BytesOf(bench.fixture->Doc()->m_Image)), bench.GridTexts());
        } else {
            QCOMPARE(bench.fixture->Doc()->m_Image, before); // a failed read changes nothing
        }
    }

    void readOverEdits_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("reads");
        QTest::newRow("Save") << int(QMessageBox::Save) << true;
        QTest::newRow("Don't Save") << int(QMessageBox::Discard) << true;
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false;
    }

    // Read over an edit asks first, as Open does; Save keeps the edit in its file, Cancel keeps it in
    // the grid and reads nothing.
    void readOverEdits()
    {
        QFETCH(int, answer);
        QFETCH(bool, reads);
        Bench bench;
        bench.radio->SetMemory(Pattern(13));
        const QString file = bench.fixture->DataPath(QStringLiteral("edited.dat"));
        bench.fixture->ClickCell(2, ChannelCodec::kRxFrequency);
        bench.fixture->Type(QStringLiteral("145"));
        bench.fixture->answers << QMessageBox::StandardButton(answer);
        bench.fixture->fileAnswers << file;
        bench.Command(CMainFrame::kRead);

        QCOMPARE(bench.fixture->messages.size(), 1);
        QVERIFY(bench.fixture->messages.first().buttons.testFlag(QMessageBox::Cancel));
        QCOMPARE(bench.Dialog()->isVisible(), reads);
        QCOMPARE(QFile::exists(file), answer == QMessageBox::Save);
        if (!reads) {
            QCOMPARE(bench.fixture->RowTexts(2).first(), QStringLiteral("145.00000"));
            QVERIFY(bench.fixture->Doc()->IsModified());
            return;
        }
        QTest::mouseClick(bench.Dialog()->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!bench.Dialog()->isVisible(), 20000);
        QCOMPARE(bench.GridTexts(), bench.ChannelsOf(Pattern(13)));
        QVERIFY(bench.fixture->Doc()->IsModified());
    }

    // While the progress window is up, a click on a cell opens no editor: typing during a slow read
    // cannot be lost to it.
    void gridLockedDuringTransfer()
    {
        Bench bench;
        bench.radio->SetMemory(Pattern(14));
        bench.Command(CMainFrame::kRead);
        bench.fixture->ClickCell(4, ChannelCodec::kRxFrequency);
        QVERIFY(!bench.fixture->VisibleEditor());
        bool editorDuringRead = true;
        OnEachBlock(bench.Dialog(), this, [&](int position) {
            if (position == 5) {
                bench.fixture->ClickCell(5, ChannelCodec::kRxFrequency);
                editorDuringRead = bench.fixture->VisibleEditor() != nullptr;
            }
        });
        QTest::mouseClick(bench.Dialog()->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!bench.Dialog()->isVisible(), 20000);
        QVERIFY(!editorDuringRead);
        QCOMPARE(bench.GridTexts(), bench.ChannelsOf(Pattern(14)));
        bench.fixture->ClickCell(5, ChannelCodec::kRxFrequency);
        QVERIFY(bench.fixture->VisibleEditor()); // editable again
    }

    // File > Close hides the channel window; a good read brings it back.
    void readShowsTheHiddenWindow()
    {
        Bench bench;
        bench.Command(CMainFrame::kFileClose);
        QVERIFY(bench.fixture->Child()->isHidden());
        bench.Transfer(false);
        QVERIFY(bench.fixture->Child()->isVisible());
        QCOMPARE(bench.Messages(), QStringList());
    }

    // Choosing the other command while the window waits for OK retitles it for what OK will do; once
    // a transfer runs, it keeps its window and its direction.
    void directionChosenAgain()
    {
        Bench bench;
        bench.Command(CMainFrame::kRead);
        bench.Command(CMainFrame::kWrite);
        CProcessDlg* dialog = bench.Dialog();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Write Data"));
        QCOMPARE(dialog->Progress()->maximum(), 60);

        const QList<QStringList> grid = bench.GridTexts();
        OnEachBlock(dialog, this, [&](int position) {
            if (position == 5)
                bench.Command(CMainFrame::kRead);
        });
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 20000);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Write Data"));
        QCOMPARE(dialog->Progress()->value(), 60);
        const QByteArray wire
            = WriteSession(ClonePlan::WriteBlocks(false), BytesOf(bench.fixture->Doc()->m_Image));
        QCOMPARE(ReceivedAfter(*bench.radio, wire), wire);
        QCOMPARE(bench.GridTexts(), grid);

        // The Read chosen during the write is what the next window does.
        bench.Command(CMainFrame::kRead);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Read Data"));
        QCOMPARE(dialog->Progress()->value(), 0);
        QVERIFY(dialog->OkButton()->isEnabled());
    }

    // File > New during a read takes the view and its progress window away: the transfer stops
    // between blocks and nothing of it lands anywhere.
    void windowGoneDuringRead()
    {
        Bench bench;
        bench.radio->SetMemory(Pattern(9));
        bench.Command(CMainFrame::kRead);
        QPointer<CProcessDlg> dialog = bench.Dialog();
        OnEachBlock(dialog, this, [&](int position) {
            if (position == 3)
                bench.Command(CMainFrame::kFileNew);
        });
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog, 20000);
        QCOMPARE(bench.Messages(), QStringList { StringTable::Message(StringTable::kAllDataCleared) });
        QVERIFY(Bytes(bench.fixture->Doc()->m_Image).left(1019) != Bytes(Pattern(9)).left(1019));
        const std::vector<CCloneBlock> plan = ClonePlan::ReadBlocks();
        const QByteArray wire = ReadSession({ plan.begin(), plan.begin() + 3 });
        QCOMPARE(ReceivedAfter(*bench.radio, wire).toHex(' '), wire.toHex(' '));
        QVERIFY(PortIsFree(bench.Device()));
    }

    // The run's own COM1 (run.sh's virtual radio): named in the status bar and in Port Setting, and
    // used by Read without Program.ini knowing of it.
    void virtualRadioForThisRun()
    {
        Bench bench(QStringLiteral("English"), {}, true);
        QLabel* notice = bench.Frame()->statusBar()->findChild<QLabel*>(QStringLiteral("portNotice"));
        QVERIFY(notice);
        QCOMPARE(
            notice->text(), QStringLiteral("COM1: virtual radio on %1 (this run only)").arg(bench.Device()));
        QVERIFY(bench.fixture->IniOnDisk(QStringLiteral("Ports"), QStringLiteral("COM1")).isEmpty());
        // On a narrow window the notice gives way: cut, whole in its tooltip, the message left whole.
        bench.Frame()->showNormal();
        bench.Frame()->resize(560, 400);
        bench.Frame()->ShowDone(QStringLiteral("Batch Write: 12 radios written, 3 failed, at 14:02"));
        QStatusBar* bar = bench.Frame()->statusBar();
        const int message = bar->fontMetrics().horizontalAdvance(bar->currentMessage());
        QTRY_VERIFY(notice->isVisible() && notice->x() > message + 6);
        QVERIFY(notice->width() < notice->fontMetrics().horizontalAdvance(notice->text()));
        QCOMPARE(notice->toolTip(), notice->text());

        bench.radio->SetMemory(Pattern(11));
        bench.Transfer(false);
        QCOMPARE(bench.Messages(), QStringList());
        QCOMPARE(Bytes(bench.fixture->Doc()->m_Image).left(1019), Bytes(Pattern(11)).left(1019));

        // Setup > Com Setup: COM1 checked and named after the virtual radio; OK keeps it.
        QString com1;
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<CPortSettingDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            com1 = dialog->PortButton(1)->text();
            checked = dialog->PortButton(1)->isChecked();
            dialog->accept();
        });
        bench.Command(CMainFrame::kComSetup);
        QCOMPARE(com1, QStringLiteral("COM1  (virtual radio, %1)").arg(bench.Device()));
        QVERIFY(checked);
        QCOMPARE(CPortName::Current(), QStringLiteral("COM1"));

        // The language restart keeps COM1 on the virtual radio (the channels read are let go).
        bench.fixture->answers << QMessageBox::Discard;
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<CLanguageDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->ChineseButton()->setChecked(true);
            dialog->accept();
        });
        bench.Command(CMainFrame::kLanguage);
        QCOMPARE(bench.fixture->started,
            QStringList {
                QCoreApplication::applicationFilePath() + " --virtual-radio COM1=" + bench.Device() });
    }

    // Every new channel view loads the port from the user's settings.
    void portLoadedWithTheView()
    {
        CGuiFixture fixture;
        CIniFile ini;
        ini.Open(fixture.BinPath(QStringLiteral("Program.ini")), false, true, false);
        CUserSettings(ini.GetValue(QStringLiteral("Setup"), QStringLiteral("AppName"))).SetPortNumber(12);
        CPortName::SetCurrent(QStringLiteral("COM1"));
        QVERIFY(fixture.Start());
        QCOMPARE(CPortName::Current(), QStringLiteral("\\\\.\\COM12"));
        CPortName::SetCurrent(QStringLiteral("COM1"));
    }
};

QTEST_MAIN(TestTransferFaults)
#include "tst_transfer_faults.moc"
