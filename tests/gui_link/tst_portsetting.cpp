// The Port Setting dialog against real pseudo-terminals: the probe, the current port, OK and Cancel.

#include "tests/link/LinkTestSupport.h"

#include "config/IniFile.h"
#include "config/Language.h"
#include "config/UserSettings.h"
#include "link/PortName.h"
#include "link/PortSettingDlg.h"
#include "link/SerialPort.h"
#include "link/SystemPorts.h"
#include "widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace LinkTest;

class TestPortSetting : public QObject {
    Q_OBJECT

private:
    // COM1: a radio; COM2: a radio held by another program; COM3: no such device; COM10: a radio.
    struct Bench {
        std::unique_ptr<CVirtualRadio> radio = StartRadio();
        std::unique_ptr<CVirtualRadio> heldRadio = StartRadio();
        std::unique_ptr<CVirtualRadio> radio10 = StartRadio();
        std::unique_ptr<CPortHolder> holder;
        CIniFile ini;

        Bench()
        {
            holder = std::make_unique<CPortHolder>(Device(*heldRadio));
            ini.LoadText(QStringLiteral("[Ports]\nCOM1=%1\nCOM2=%2\nCOM3=/dev/no-such-port\nCOM10=%3\n")
                             .arg(Device(*radio), Device(*heldRadio), Device(*radio10))
                             .toUtf8());
        }
    };

    // Runs the dialog; inspect sees it opened, then press (OK or Cancel) ends it.
    static int RunDialog(
        CPortSettingDlg& dialog, const std::function<void()>& inspect, const std::function<void()>& press)
    {
        QTimer::singleShot(0, &dialog, [&] {
            inspect();
            press();
        });
        return dialog.exec();
    }

    static int CheckedPort(const CPortSettingDlg& dialog)
    {
        for (int n = 1; n <= CPortSettingDlg::kPortCount; ++n)
            if (dialog.PortButton(n)->isChecked())
                return n;
        return 0;
    }

    static QPushButton* Button(QDialog& dialog, const QString& text)
    {
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == text)
                return button;
        return nullptr;
    }

private slots:
    void init()
    {
        CPortName::ClearOverrides();
        CPortName::SetCurrent(QStringLiteral("COM1"));
        CUserSettings(QString()).SetPortNumber(1);
        CUserSettings(QString()).SetPortDevice(QString());
        CSystemPorts::SetSource([] { return QList<CSystemPorts::Port> {}; });
    }
    void cleanup() { CSystemPorts::SetSource({}); }

    void systemPorts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("maker");
        QTest::newRow("English") << "English" << QStringLiteral("maker");
        QTest::newRow("Chinese") << "Chinese" << QStringLiteral("制造商");
    }

    // The system's ports are offered with what is known of them, probed like the COM buttons; the
    // one picked becomes the port by its path, for this run and the next start, until a COM button
    // is picked again.
    void systemPorts()
    {
        QFETCH(QString, language);
        QFETCH(QString, maker);
        CLanguage::SetName(language);
        Bench bench;
        const QString cable = Device(*bench.radio10);
        CSystemPorts::SetSource([&] {
            return QList<CSystemPorts::Port> { { cable, "USB Serial", "Acme", "" },
                { QStringLiteral("/dev/zz-gone"), "", "", "" } };
        });
        CPortName::SetCurrent(QStringLiteral("COM1"));
        CPortSettingDlg dialog(bench.ini);
        RunDialog(
            dialog,
            [&] {
                const QList<QRadioButton*> listed = dialog.SystemPortButtons();
                QCOMPARE(listed.size(), 2);
                QCOMPARE(listed[0]->text(), QStringLiteral("%1  (USB Serial, %2 Acme)").arg(cable, maker));
                QVERIFY(listed[0]->isEnabled());
                QCOMPARE(listed[1]->text(), QStringLiteral("/dev/zz-gone"));
                QVERIFY(!listed[1]->isEnabled());
                QCOMPARE(CheckedPort(dialog), 1);
                QTest::mouseClick(listed[0], Qt::LeftButton);
                QCOMPARE(CheckedPort(dialog), 0); // one choice among all ports
            },
            [&] { dialog.accept(); });
        QCOMPARE(CPortName::Current(), cable);
        QCOMPARE(CPortName::DevicePath(CPortName::Current(), bench.ini), cable);
        CPortName::SetCurrent(QStringLiteral("COM1"));
        QCOMPARE(CPortName::LoadFromSettings(CUserSettings(QString())), cable);

        // Opened again: the cable is the checked one; COM1 picked makes the number count again.
        RunDialog(
            dialog,
            [&] {
                QVERIFY(dialog.SystemPortButtons()[0]->isChecked());
                QTest::mouseClick(dialog.PortButton(1), Qt::LeftButton);
            },
            [&] { dialog.accept(); });
        QCOMPARE(CPortName::LoadFromSettings(CUserSettings(QString())), QStringLiteral("COM1"));
        CLanguage::SetName(QString());
    }

    void probe_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("checked"); // 0: none
        QTest::newRow("COM1 opens") << "COM1" << 1;
        QTest::newRow("prefixed COM10 opens") << "\\\\.\\COM10" << 10;
        // A current port that does not open stays the choice, greyed, with a note.
        QTest::newRow("COM2 held by another program") << "COM2" << 2;
        QTest::newRow("COM3 missing") << "COM3" << 3;
        QTest::newRow("COM0 from a stray setting") << "COM0" << 0;
    }

    // Ports that open are enabled and the current one is checked only when it opens; ports that are
    // missing or held are disabled. The probe leaves every port free again.
    void probe()
    {
        QFETCH(QString, current);
        QFETCH(int, checked);
        Bench bench;
        QVERIFY(bench.holder->Holds());
        CPortName::SetCurrent(current);
        CPortSettingDlg dialog(bench.ini);
        RunDialog(
            dialog,
            [&] {
                QVERIFY(dialog.PortButton(1)->isEnabled());
                QVERIFY(!dialog.PortButton(2)->isEnabled());
                QVERIFY(!dialog.PortButton(3)->isEnabled());
                QVERIFY(dialog.PortButton(10)->isEnabled());
                QCOMPARE(CheckedPort(dialog), checked);
                const bool absent = checked == 2 || checked == 3;
                QCOMPARE(dialog.CurrentNote()->isVisible(), absent);
                if (absent)
                    QVERIFY2(dialog.CurrentNote()->text().startsWith(current + " (")
                            && dialog.CurrentNote()->text().contains("does not open"),
                        qPrintable(dialog.CurrentNote()->text()));
#if !defined(Q_OS_WIN)
                QCOMPARE(
                    dialog.PortButton(1)->text(), QStringLiteral("COM1  (%1)").arg(Device(*bench.radio)));
                QCOMPARE(dialog.PortButton(3)->text(), QStringLiteral("COM3  (/dev/no-such-port)"));
#endif
            },
            [&] { dialog.reject(); });
        CSerialPort port;
        QVERIFY(port.Open(Device(*bench.radio)));
    }

    void okAndCancel_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("choose"); // 0: leave the buttons as they are
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("stored");
        QTest::newRow("OK with another port") << "COM1" << 10 << true << "\\\\.\\COM10" << 10;
        QTest::newRow("OK keeping the current port") << "COM1" << 0 << true << "COM1" << 1;
        QTest::newRow("Cancel") << "COM1" << 10 << false << "COM1" << 1;
        QTest::newRow("OK with nothing checked") << "COM3" << 0 << true << "COM3" << 1;
        QTest::newRow("OK choosing out of a missing port") << "COM3" << 1 << true << "COM1" << 1;
    }

    // OK makes the checked port current and stores its number; with nothing checked, and on Cancel,
    // port and stored number stay as they were.
    void okAndCancel()
    {
        QFETCH(QString, current);
        QFETCH(int, choose);
        QFETCH(bool, ok);
        QFETCH(QString, after);
        QFETCH(int, stored);
        Bench bench;
        CPortName::SetCurrent(current);
        CPortSettingDlg dialog(bench.ini);
        const int result = RunDialog(
            dialog,
            [&] {
                if (choose)
                    QTest::mouseClick(dialog.PortButton(choose), Qt::LeftButton);
            },
            [&] {
                QTest::mouseClick(
                    Button(dialog, ok ? QStringLiteral("OK") : QStringLiteral("Cancel")), Qt::LeftButton);
            });
        QCOMPARE(result, ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(CPortName::Current(), after);
        QCOMPARE(CUserSettings(QString()).PortNumber(), stored);
    }

    void typedPath_data()
    {
        QTest::addColumn<QString>("typed"); // DEVICE: the radio's device
        QTest::addColumn<QString>("current"); // after OK; empty: the dialog stayed open
        QTest::addColumn<QString>("stored"); // the device path stored, "" for a COM number
        QTest::addColumn<bool>("opens"); // when the dialog opens again
        QTest::newRow("a device path") << "DEVICE" << "DEVICE" << "DEVICE" << true;
        QTest::newRow("a path to nothing now") << "/dev/zz-later" << "/dev/zz-later" << "/dev/zz-later" << false;
        QTest::newRow("a COM name typed") << " com10 " << "\\\\.\\COM10" << "" << true;
        QTest::newRow("nothing typed") << "  " << "" << "" << true;
        // Past the COM list: said, as program-cli says it, and nothing stored (COM17 is no /dev/ttyUSB16).
        QTest::newRow("COM17 typed") << "COM17" << "" << "" << true;
        QTest::newRow("com0 typed") << "com0" << "" << "" << true;
    }

    // Any device path can be typed; it is remembered like a COM button and shown again, checked, the
    // next time, with the note when it does not open then.
    void typedPath()
    {
        QFETCH(QString, typed);
        QFETCH(QString, current);
        QFETCH(QString, stored);
        QFETCH(bool, opens);
        Bench bench;
        const QString device = Device(*bench.radio10);
        typed.replace("DEVICE", device);
        current.replace("DEVICE", device);
        stored.replace("DEVICE", device);
        CPortName::SetCurrent(QStringLiteral("COM1"));
        CPortSettingDlg dialog(bench.ini);
        QStringList shown;
        CMessageBox::SetHook([&](const CMessageBox::Request& request) {
            shown << request.text;
            return QMessageBox::Ok;
        });
        const int result = RunDialog(
            dialog,
            [&] {
                QTest::keyClicks(dialog.TypedPath(), typed);
                QVERIFY(dialog.TypedPathButton()->isChecked());
                QCOMPARE(CheckedPort(dialog), 0);
            },
            [&] {
                dialog.accept();
                if (dialog.isVisible())
                    dialog.reject();
            });
        CMessageBox::SetHook({});
        QCOMPARE(result, current.isEmpty() ? int(QDialog::Rejected) : int(QDialog::Accepted));
        QCOMPARE(shown.size(), current.isEmpty() ? 1 : 0);
        QCOMPARE(CPortName::Current(), current.isEmpty() ? QStringLiteral("COM1") : current);
        QCOMPARE(CUserSettings(QString()).PortDevice(), stored);
        if (stored.isEmpty())
            return;
        RunDialog(
            dialog,
            [&] {
                QVERIFY(dialog.TypedPathButton()->isChecked());
                QCOMPARE(dialog.TypedPath()->text(), stored);
                QCOMPARE(dialog.CurrentNote()->isVisible(), !opens);
            },
            [&] { dialog.accept(); });
        QCOMPARE(CPortName::Current(), stored);
    }

    // A port given on the command line is the one used, whatever was stored, until one is picked; it
    // is never stored.
    void commandLinePortFirst()
    {
        CUserSettings settings { QString() };
        settings.SetPortNumber(5);
        const QStringList rest = CPortName::TakeOverrideOptions(
            { "--virtual-radio", "COM3=/dev/pts/77", "--port", "COM1=/dev/pts/78", "radio.dat" }, nullptr);
        QCOMPARE(rest, QStringList { "radio.dat" });
        QCOMPARE(CPortName::LoadFromSettings(settings), QStringLiteral("COM3"));
        QCOMPARE(settings.PortNumber(), 5);
        CPortName::Choose(2, settings);
        QCOMPARE(CPortName::LoadFromSettings(settings), QStringLiteral("COM2"));
    }

    // A computer that reports 32 built-in ports still gets a dialog that fits a small screen.
    void manySystemPortsFit()
    {
        CSystemPorts::SetSource([] {
            QList<CSystemPorts::Port> ports;
            for (int n = 0; n < 32; ++n)
                ports << CSystemPorts::Port { QStringLiteral("/dev/no-ttyS%1").arg(n), "", "", "" };
            return ports;
        });
        CIniFile ini;
        CPortSettingDlg dialog(ini);
        RunDialog(dialog, [&] { QCOMPARE(dialog.SystemPortButtons().size(), 32); }, [&] { dialog.reject(); });
        QVERIFY2(dialog.height() <= 450, qPrintable(QString::number(dialog.height())));
    }

    // A device given for this run shows on its button, with the virtual radio named in the running
    // language.
    void overrideShown()
    {
#if defined(Q_OS_WIN)
        QSKIP("COMn is the device itself on Windows");
#endif
        for (const bool chinese : { false, true }) {
            CLanguage::SetName(chinese ? QStringLiteral("Chinese") : QStringLiteral("English"));
            const auto radio = StartRadio();
            CIniFile ini;
            QVERIFY(CPortName::AddOverride(QStringLiteral("COM1=") + Device(*radio), true));
            CPortSettingDlg dialog(ini);
            RunDialog(
                dialog,
                [&] {
                    QCOMPARE(dialog.PortButton(1)->text(),
                        QStringLiteral("COM1  (%1, %2)")
                            .arg(chinese ? QStringLiteral("虚拟电台") : QStringLiteral("virtual radio"),
                                Device(*radio)));
                    QVERIFY(dialog.PortButton(1)->isEnabled());
                    QCOMPARE(CheckedPort(dialog), 1);
                },
                [&] { dialog.reject(); });
            CPortName::ClearOverrides();
        }
        CLanguage::SetName(QString());
    }
};

QTEST_MAIN(TestPortSetting)
#include "tst_portsetting.moc"
