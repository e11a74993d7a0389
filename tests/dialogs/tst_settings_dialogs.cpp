#include "tests/dialogs/MenuDialog.h"
#include "tests/gui/GuiFixture.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "config/IniFile.h"
#include "config/UserSettings.h"
#include "dialogs/OptionalFeaturesDlg.h"
#include "dialogs/ProductInfoDlg.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>


using Pair = QPair<quint32, quint32>;

namespace {

const QString kApp = QStringLiteral("Fieldcom Radio Programmer");

QPair<quint32, quint32> userTypeAndField()
{
    const CUserSettings settings(kApp);
    return { settings.Type(), settings.Field() };
}

QByteArray bytesAt(const CRadioImage& image, std::initializer_list<int> offsets)
{
    QByteArray bytes;
    for (int offset : offsets)
        bytes += char(image.Byte(offset));
    return bytes;
}

// Every label and list shows its whole text.
void verifyNothingClipped(QDialog* dialog)
{
    for (QLabel* label : dialog->findChildren<QLabel*>())
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    for (QComboBox* box : dialog->findChildren<QComboBox*>())
        QVERIFY2(box->width() >= box->sizeHint().width(), qPrintable(box->currentText()));
    for (QGroupBox* group : dialog->findChildren<QGroupBox*>())
        QVERIFY(group->width() >= group->fontMetrics().horizontalAdvance(group->title()));
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
}

} // namespace

// The Product Information and Optional Features dialogs, driven from the Edit menu.
class TestSettingsDialogs : public QObject {
    Q_OBJECT

private slots:
    // What the dialog opens on: this user's last choice, checked against the lists; OK then keeps
    // an image byte whose list has no selection and stores only listed indexes as the user's own.
    void productOpening_data()
    {
        QTest::addColumn<int>("userType"); // -1: nothing stored
        QTest::addColumn<int>("userField");
        QTest::addColumn<int>("types"); // 0: Program.ini lists none
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("bands");
        QTest::addColumn<int>("band");
        QTest::addColumn<QByteArray>("afterOk"); // 0x32E, 0x32F
        QTest::addColumn<Pair>("userAfterOk");

        const QStringList first { "130 - 160MHz", "136 - 174MHz", "400 - 470MHz", "450 - 520MHz" };
        QTest::newRow("nothing stored")
            << -1 << -1 << 2 << "QR-260" << first << 0 << QByteArray("\x00\x00", 2) << qMakePair(0u, 0u);
        QTest::newRow("second type and band")
            << 1 << 1 << 2 << "QR-460" << QStringList { "400 - 470MHz", "450 - 520MHz" } << 1
            << QByteArray("\x01\x01", 2) << qMakePair(1u, 1u);
        QTest::newRow("type past the list")
            << 7 << 0 << 2 << "" << QStringList {} << -1 << QByteArray("\x00\x00", 2) << qMakePair(7u, 0u);
        QTest::newRow("band past the list")
            << 0 << 9 << 2 << "QR-260" << first << -1 << QByteArray("\x00\x00", 2) << qMakePair(0u, 9u);
        // The stored pair names no listed item, so the new document starts on the first one.
        QTest::newRow("no types") << 1 << 1 << 0 << "" << QStringList {} << -1 << QByteArray("\x00\x00", 2)
                                  << qMakePair(1u, 1u);
    }

    void productOpening()
    {
        QFETCH(int, userType);
        QFETCH(int, userField);
        QFETCH(int, types);
        QFETCH(QString, type);
        QFETCH(QStringList, bands);
        QFETCH(int, band);
        QFETCH(QByteArray, afterOk);
        QFETCH(Pair, userAfterOk);
        CGuiFixture f;
        if (userType >= 0)
            f.SetUserTypeAndField(quint32(userType), quint32(userField));
        if (types == 0)
            f.SetIni("Setup", "Type1", "");
        QVERIFY(f.Start());
        QVERIFY(MenuDialog::drive<CProductInfoDlg>(f, CMainFrame::kProductInformation, [&](CProductInfoDlg* dialog) {
            QCOMPARE(dialog->TypeBox()->count(), types);
            QCOMPARE(dialog->TypeBox()->currentText(), type);
            QStringList items;
            for (int i = 0; i < dialog->BandBox()->count(); ++i)
                items << dialog->BandBox()->itemText(i);
            QCOMPARE(items, bands);
            QCOMPARE(dialog->BandBox()->currentIndex(), band);
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
            QVERIFY(!dialog->isVisible());
        }));
        QCOMPARE(bytesAt(f.Doc()->m_Image, { 0x32E, 0x32F }), afterOk);
        QCOMPARE(userTypeAndField(), userAfterOk);
        QVERIFY(!f.Doc()->IsModified()); // the image's own type and band again: nothing to save
    }

    // Choosing with the keyboard and confirming or cancelling: image bytes, title, limits, settings.
    void productChoice_data()
    {
        QTest::addColumn<int>("typeDowns"); // Down presses in the Type list
        QTest::addColumn<int>("band");      // band chosen afterwards, -1 leaves the refilled first one
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("bytes"); // 0x30E, 0x32E, 0x32F
        QTest::addColumn<QString>("title");
        QTest::addColumn<qint64>("lower");
        QTest::addColumn<qint64>("upper");
        QTest::addColumn<Pair>("user");

        const QString before = kApp + "  [ Type:QR-260  Fre:130 - 160MHz ]";
        QTest::newRow("unchanged OK") << 0 << -1 << true << QByteArray("\x55\x00\x00", 3) << before
                                      << qint64(13000000) << qint64(16100000) << qMakePair(0u, 0u);
        QTest::newRow("band in the same class") << 0 << 1 << true << QByteArray("\x55\x00\x01", 3)
                                                << kApp + "  [ Type:QR-260  Fre:136 - 174MHz ]" << qint64(13600000)
                                                << qint64(17500000) << qMakePair(0u, 1u);
        QTest::newRow("band in the 400s") << 0 << 2 << true << QByteArray("\x08\x00\x02", 3)
                                          << kApp + "  [ Type:QR-260  Fre:400 - 470MHz ]" << qint64(40000000)
                                          << qint64(47100000) << qMakePair(0u, 2u);
        QTest::newRow("other type, first band") << 1 << -1 << true << QByteArray("\x08\x01\x00", 3)
                                                << kApp + "  [ Type:QR-460  Fre:400 - 470MHz ]" << qint64(40000000)
                                                << qint64(47100000) << qMakePair(1u, 0u);
        QTest::newRow("800s leave 0x30E") << 2 << 0 << true << QByteArray("\x55\x02\x00", 3)
                                          << kApp + "  [ Type:QR-860  Fre:806 - 870MHz ]" << qint64(80600000)
                                          << qint64(87100000) << qMakePair(2u, 0u);
        QTest::newRow("300s") << 2 << 1 << true << QByteArray("\x08\x02\x01", 3)
                              << kApp + "  [ Type:QR-860  Fre:350 - 390MHz ]" << qint64(35000000)
                              << qint64(39100000) << qMakePair(2u, 1u);
        QTest::newRow("cancel after changing") << 1 << 1 << false << QByteArray("\x55\x00\x00", 3) << before
                                               << qint64(13000000) << qint64(16100000) << qMakePair(0u, 0u);
    }

    void productChoice()
    {
        QFETCH(int, typeDowns);
        QFETCH(int, band);
        QFETCH(bool, ok);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        QFETCH(qint64, lower);
        QFETCH(qint64, upper);
        QFETCH(Pair, user);
        const QString before = kApp + "  [ Type:QR-260  Fre:130 - 160MHz ]";
        CGuiFixture f;
        f.SetIni("Setup", "Type3", "QR-860");
        f.SetIni("Setup", "Field3", "806 - 870MHz|350 - 390MHz");
        QVERIFY(f.Start());
        f.Doc()->m_Image.SetByte(0x30E, 0x55);
        QVERIFY(MenuDialog::drive<CProductInfoDlg>(f, CMainFrame::kProductInformation, [&](CProductInfoDlg* dialog) {
            QCOMPARE(dialog->focusWidget(), dialog->TypeBox());
            for (int i = 0; i < typeDowns; ++i)
                QTest::keyClick(dialog->TypeBox(), Qt::Key_Down);
            // Another type offers its own bands and starts on the first.
            QCOMPARE(dialog->BandBox()->currentIndex(), 0);
            if (band >= 0) {
                QTest::keyClick(dialog->TypeBox(), Qt::Key_Tab);
                QCOMPARE(dialog->focusWidget(), dialog->BandBox());
                for (int i = 0; i < band; ++i)
                    QTest::keyClick(dialog->BandBox(), Qt::Key_Down);
            }
            QTest::keyClick(dialog->focusWidget(), ok ? Qt::Key_Return : Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
        }));
        QCOMPARE(bytesAt(f.Doc()->m_Image, { 0x30E, 0x32E, 0x32F }), bytes);
        QCOMPARE(f.Frame()->windowTitle(), title);
        QCOMPARE(CProgramView::MainWindowTitle(), title);
        QCOMPARE(f.View()->m_nLowerLimit, lower);
        QCOMPARE(f.View()->m_nUpperLimit, upper);
        QCOMPARE(userTypeAndField(), user);
        // Modified exactly when a byte changed; undo gives the image back and the document is clean.
        QCOMPARE(f.Doc()->IsModified(), bytes != QByteArray("\x55\x00\x00", 3));
        f.Doc()->Undo();
        QCOMPARE(bytesAt(f.Doc()->m_Image, { 0x30E, 0x32E, 0x32F }), QByteArray("\x55\x00\x00", 3));
        QCOMPARE(CProgramView::MainWindowTitle(), before);
        QCOMPARE(f.View()->m_nLowerLimit, qint64(13000000));
        QVERIFY(!f.Doc()->IsModified());
    }

    // Selections from the image, unlisted bytes shown empty and kept, keyboard choices stored.
    void optionalFeatures_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("stored"); // the ten bytes in dialog order after closing

        // Before: 0x130=40, 0x134=9, 0x12F=3 (unlisted), 0x161=0, 0x139=1, 0x13A=0 (unlisted),
        // 0x13B=5, 0x390=0xEF, 0x136=5, 0x135=0.
        const QStringList english { "600s", "9", "", "Off", "On", "", "3.0s", "Monitor Momentary", "On", "Off" };
        const QStringList chinese { "600s", "9", "", "关", "开", "", "3.0s", "监听瞬时", "开", "关" };
        // One step in every list that has a selection (up, or down from the first item); the lists
        // without one are left alone, so their unlisted bytes stay.
        const QByteArray moved("\x27\x08\x03\x01\x00\x00\x04\xDF\x00\x01", 10);
        QTest::newRow("english ok") << "English" << english << true << moved;
        QTest::newRow("chinese ok") << "Chinese" << chinese << true << moved;
        QTest::newRow("escape") << "English" << english << false << QByteArray("\x28\x09\x03\x00\x01\x00\x05\xEF\x05\x00", 10);
    }

    void optionalFeatures()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, shown);
        QFETCH(bool, ok);
        QFETCH(QByteArray, stored);
        CGuiFixture f(language);
        QVERIFY(f.Start());
        CRadioImage& image = f.Doc()->m_Image;
        const int offsets[] = { 0x130, 0x134, 0x12F, 0x161, 0x139, 0x13A, 0x13B, 0x390, 0x136, 0x135 };
        const char before[] = { 40, 9, 3, 0, 1, 0, 5, char(0xEF), 5, 0 };
        for (int i = 0; i < 10; ++i)
            image.SetByte(offsets[i], std::uint8_t(before[i]));
        QVERIFY(MenuDialog::drive<COptionalFeaturesDlg>(f, CMainFrame::kOptionalFeatures, [&](COptionalFeaturesDlg* dialog) {
            QStringList texts;
            for (int i = 0; i < COptionalFeaturesDlg::kOptionCount; ++i)
                texts << dialog->Box(i)->currentText();
            QCOMPARE(texts, shown);
            if (ok) {
                // Through every list with Tab, one Up each.
                for (int i = 0; i < COptionalFeaturesDlg::kOptionCount; ++i) {
                    QCOMPARE(dialog->focusWidget(), dialog->Box(i));
                    if (dialog->Box(i)->currentIndex() > 0)
                        QTest::keyClick(dialog->Box(i), Qt::Key_Up);
                    else if (dialog->Box(i)->currentIndex() == 0)
                        QTest::keyClick(dialog->Box(i), Qt::Key_Down);
                    QTest::keyClick(dialog->Box(i), Qt::Key_Tab);
                }
            }
            QTest::keyClick(dialog->focusWidget(), ok ? Qt::Key_Return : Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
        }));
        QByteArray after;
        for (int offset : offsets)
            after += char(image.Byte(offset));
        QCOMPARE(after, stored);
        QCOMPARE(f.Doc()->IsModified(), ok);
    }

    // F1 opens the topic of the control with the focus, the dialog's own on its buttons.
    void help_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QList<int>>("topics"); // F1 on each control in Tab order, from the first list

        QTest::newRow("product") << int(CMainFrame::kProductInformation) << QList<int> { 1013, 1014, 32786 };
        QTest::newRow("options") << int(CMainFrame::kOptionalFeatures)
                                 << QList<int> { 1118, 1116, 1119, 1006, 1007, 1121, 1140, 1010, 1141, 1142, 32788 };
    }

    void help()
    {
        QFETCH(int, command);
        QFETCH(QList<int>, topics);
        CGuiFixture f;
        QVERIFY(f.Start());
        QVERIFY(MenuDialog::drive<QDialog>(f, command, [&](QDialog* dialog) {
            for (int i = 0; i < topics.size(); ++i) {
                QTest::keyClick(dialog->focusWidget(), Qt::Key_F1);
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
            }
            QVERIFY(dialog->isVisible()); // F1 closes nothing
        }));
        QCOMPARE(f.helpTopics, topics);
        for (int topic : topics)
            QVERIFY2(QFile::exists(f.BinPath(QString("help/enHelp/%1.html").arg(topic))), qPrintable(QString::number(topic)));
        QVERIFY(!f.Doc()->IsModified());
    }

    // Both dialogs in both languages: their own texts, and nothing cut off.
    void texts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("product"); // title, group, labels
        QTest::addColumn<QStringList>("options"); // title, first and last labels
        QTest::addColumn<QString>("title"); // the main window's, before and after OK

        QTest::newRow("english") << "English" << QStringList { "Product Information", "Setting", "Type", "Frequency" }
                                 << QStringList { "Optional Features", "Time Out Time", "Battery Saver" }
                                 << "  [ Type:QR-260  Fre:130 - 160MHz ]";
        QTest::newRow("chinese") << "Chinese" << QStringList { "类型设置", "设置", "类型", "频率" }
                                 << QStringList { "可选功能", "超时定时器", "电池省电" }
                                 << "  [ 类型:QR-260  频率:130 - 160MHz ]";
    }

    void texts()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, product);
        QFETCH(QStringList, options);
        QFETCH(QString, title);
        CGuiFixture f(language);
        QVERIFY(f.Start());
        QVERIFY2(f.Frame()->windowTitle().endsWith(title), qPrintable(f.Frame()->windowTitle()));
        QVERIFY(MenuDialog::drive<CProductInfoDlg>(f, CMainFrame::kProductInformation, [&](CProductInfoDlg* dialog) {
            QStringList seen { dialog->windowTitle(), dialog->findChild<QGroupBox*>()->title() };
            for (QLabel* label : dialog->findChildren<QLabel*>())
                seen << label->text();
            QCOMPARE(seen, product);
            verifyNothingClipped(dialog);
            dialog->accept();
        }));
        // OK keeps the labels of the running language, as the title had them before.
        QVERIFY2(f.Frame()->windowTitle().endsWith(title), qPrintable(f.Frame()->windowTitle()));
        QVERIFY(MenuDialog::drive<COptionalFeaturesDlg>(f, CMainFrame::kOptionalFeatures, [&](COptionalFeaturesDlg* dialog) {
            const QList<QLabel*> labels = dialog->findChildren<QLabel*>();
            QCOMPARE(QStringList({ dialog->windowTitle(), labels.first()->text(), labels.last()->text() }), options);
            verifyNothingClipped(dialog);
        }));
    }
};

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settings_dialogs.moc"
