#include "link/DeviceAccess.h"
#include "link/PortPermission.h"
#include "link/TransferNotes.h"

#include <QTest>

// What a user is told when the system refuses a port, from who may use the device. The real devices
// behind these rows are in tst_link_transfer (portNotOpened); here every case the system can give.
class TestLinkPortTexts : public QObject {
    Q_OBJECT

private slots:
    void refusedPort_data()
    {
        QTest::addColumn<QString>("facts"); // "OWNER GROUP USER MODE FLAGS"; empty: the system keeps none
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("said");
        // FLAGS: o this user owns it, g runs in its group, l listed in the group but not in this login,
        // G the group may read and write, a the bits that apply let this user read and write.
        const QString facts = "No permission to use COM3 (/dev/ttyUSB2): it belongs to user %1 and group %2, mode %3.";
        // clang-format off
        QTest::newRow("nothing known (Windows)") << "" << false << "No permission to use COM3 (/dev/ttyUSB2).";
        QTest::newRow("a dialout device, user outside dialout") << "root dialout alice crw-rw---- G" << false
            << "No permission to use COM3 (/dev/ttyUSB2): add your user to the dialout group (sudo usermod -aG dialout "
               "$USER) and log in again.";
        QTest::newRow("the same, Chinese") << "root dialout alice crw-rw---- G" << true
            << "没有使用 COM3 (/dev/ttyUSB2) 的权限: 请把用户加入 dialout 组 (sudo usermod -aG dialout $USER) 后重新登录。";
        // usermod done, but this login started before it.
        QTest::newRow("added to dialout, not logged in again") << "root dialout alice crw-rw---- lG" << false
            << "No permission to use COM3 (/dev/ttyUSB2): user alice was added to the dialout group after this login "
               "began; log out and in again (or start a shell with newgrp dialout).";
        QTest::newRow("a device of another group") << "root uucp alice crw-rw---- G" << false
            << facts.arg("root", "uucp", "crw-rw----") + " User alice is neither root nor in group uucp.";
        QTest::newRow("a dialout device only its owner may use") << "root dialout alice crw------- " << false
            << facts.arg("root", "dialout", "crw-------") + " User alice is neither root nor in group dialout.";
        QTest::newRow("in dialout already, the group may only read") << "root dialout alice crw-r----- g" << false
            << facts.arg("root", "dialout", "crw-r-----")
                + " User alice is in group dialout already, but the mode does not let the group read and write it.";
        QTest::newRow("the same, Chinese") << "root dialout alice crw-r----- g" << true
            << "没有使用 COM3 (/dev/ttyUSB2) 的权限: 其属主为用户 root, 属组为 dialout, 权限为 crw-r-----。"
               "用户 alice 已在 dialout 组中, 但权限不允许该组读写。";
        // The owner's bits are the ones that count for the owner, whatever the group may do.
        QTest::newRow("owned, the owner may not") << "alice dialout alice c---rw---- oG" << false
            << facts.arg("alice", "dialout", "c---rw----")
                + " User alice owns it, but the mode does not let the owner read and write it.";
        QTest::newRow("the mode allows, something else refuses") << "root dialout alice crw-rw-rw- Ga" << false
            << facts.arg("root", "dialout", "crw-rw-rw-")
                + " Its mode lets user alice read and write it, so an access list or a security policy refuses it.";
        // clang-format on
    }

    void refusedPort()
    {
        QFETCH(QString, facts);
        QFETCH(bool, chinese);
        QFETCH(QString, said);
        CDeviceAccess access;
        const QStringList parts = facts.split(QLatin1Char(' '));
        if (!facts.isEmpty()) {
            access.known = true;
            access.owner = parts.at(0);
            access.group = parts.at(1);
            access.user = parts.at(2);
            access.modeText = parts.at(3);
            const QString flags = parts.value(4);
            access.isOwner = flags.contains('o');
            access.inGroup = flags.contains('g');
            access.listedInGroup = flags.contains('l');
            access.groupMayUse = flags.contains('G');
            access.modeAllows = flags.contains('a');
        }
        QCOMPARE(PortPermission::Reason(QStringLiteral("COM3 (/dev/ttyUSB2)"), access, chinese), said);
    }

    // A stopped transfer names its port as it stands, whatever the device's name holds (a name with
    // "%2" in it is a name, not a place for the count).
    void stoppedTexts_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("done");
        QTest::newRow("write") << true << false << "Write to /dev/serial/by-id/usb-50%2_ttl stopped after 31 of 60 blocks."
                               << "Write to /dev/serial/by-id/usb-50%2_ttl stopped after 31 of 60 blocks at 14:02; write again before using the radio";
        QTest::newRow("read") << false << false << "Read from /dev/serial/by-id/usb-50%2_ttl stopped after 31 of 60 blocks."
                              << "Read from /dev/serial/by-id/usb-50%2_ttl stopped after 31 of 60 blocks at 14:02; the document is unchanged";
        QTest::newRow("write, Chinese") << true << true << "向 /dev/serial/by-id/usb-50%2_ttl 写入已停止: 完成 31/60 块。"
                                        << "14:02 向 /dev/serial/by-id/usb-50%2_ttl 写入已停止: 完成 31/60 块; 请重新写入后再使用电台";
    }

    void stoppedTexts()
    {
        QFETCH(bool, write);
        QFETCH(bool, chinese);
        QFETCH(QString, line);
        QFETCH(QString, done);
        const QString port = QStringLiteral("/dev/serial/by-id/usb-50%2_ttl");
        QCOMPARE(TransferNotes::StoppedLine(write, port, 31, 60, chinese), line);
        QCOMPARE(TransferNotes::StoppedDone(write, port, 31, 60, QTime(14, 2), chinese), done);
        // A failed block names the same device as it is.
        QVERIFY2(TransferNotes::FailureLine(TransferNotes::Step::BlockMissing, port, 31, 60, 0x1E0, chinese)
                     .startsWith(port + QStringLiteral(": ")),
            qPrintable(TransferNotes::FailureLine(TransferNotes::Step::BlockMissing, port, 31, 60, 0x1E0, chinese)));
    }
};

QTEST_GUILESS_MAIN(TestLinkPortTexts)
#include "tst_link_port_texts.moc"
