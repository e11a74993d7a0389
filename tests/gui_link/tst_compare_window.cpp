// Program > Compare with Radio against the virtual radio: the radio is read into a scratch image, the
// differences are listed in the running language, the document stays as it was, and Write to Radio
// goes on to the write.

#include "tests/gui/GuiFixture.h"
#include "tests/link/LinkTestSupport.h"

#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "csv/CompareDlg.h"
#include "editor/ChannelGrid.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "link/PortName.h"
#include "link/ProcessDlg.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace LinkTest;

class TestCompareWindow : public QObject {
    Q_OBJECT

private slots:
    void compareThenWrite_data();
    void compareThenWrite();
};

void TestCompareWindow::compareThenWrite_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QStringList>("first"); // the first listed difference
    QTest::newRow("English, close") << "English" << false
                                    << QStringList { "Channel 1 Rx Frequency", "(empty)", "150.12500" };
    QTest::newRow("Chinese, write") << "Chinese" << true << QStringList { "信道 1 接收频率", "(空)", "150.12500" };
}

void TestCompareWindow::compareThenWrite()
{
    QFETCH(QString, language);
    QFETCH(bool, write);
    QFETCH(QStringList, first);
    CGuiFixture fixture(language);
    const std::unique_ptr<CVirtualRadio> radio = StartRadio();
    fixture.SetIni(QStringLiteral("Ports"), QStringLiteral("COM1"), Device(*radio));
    QVERIFY(fixture.Start());
    CProgramView* view = fixture.View();
    CProgramDoc* doc = fixture.Doc();

    // The radio holds the document plus one channel.
    CRadioImage radioImage = doc->m_Image;
    CChannelGrid grid(false);
    grid.SetBandLimits({ view->m_nLowerLimit, view->m_nUpperLimit });
    grid.LoadImage(radioImage);
    grid.Commit(1, ChannelCodec::kRxFrequency, QStringLiteral("150.125"), CChannelGrid::Trigger::Enter);
    grid.StoreGrid(radioImage);
    radio->SetMemory(BytesOf(radioImage));
    const CRadioImage before = doc->m_Image;

    QList<QStringList> listed;
    fixture.onDialog = [&](QDialog& dialog) {
        auto* compare = qobject_cast<CCompareDlg*>(&dialog);
        if (!compare)
            return int(QDialog::Rejected);
        for (int i = 0; i < compare->Differences()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = compare->Differences()->topLevelItem(i);
            listed << QStringList { item->text(0), item->text(1), item->text(2) };
        }
        if (write)
            QTest::mouseClick(compare->WriteButton(), Qt::LeftButton);
        else
            compare->reject();
        return compare->result();
    };

    auto* frame = fixture.App().MainFrame();
    frame->FindCommand(CMainFrame::kCompareRadio)->trigger();
    CProcessDlg* progress = view->ProcessDlg();
    QVERIFY(progress->isVisible());
    QTest::mouseClick(progress->OkButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!listed.isEmpty(), 20000);

    QCOMPARE(listed.size(), ChannelCodec::kFieldCount); // every field of the new channel
    QCOMPARE(listed.first(), first);
    QCOMPARE(doc->m_Image, before);
    QVERIFY(fixture.RowTexts(1).join(QString()).isEmpty());
    QVERIFY(!doc->IsModified());

    if (!write) {
        QVERIFY(!progress->isVisible());
        return;
    }
    // Write to Radio opens the write's progress window; its OK sends the document.
    QTRY_VERIFY(progress->isVisible());
    QCOMPARE(progress->windowTitle(), CProcessDlg::CaptionFor(false));
    QTest::mouseClick(progress->OkButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!progress->isVisible(), 20000);
    QCOMPARE(fixture.messages.size(), 0);
    const RadioMemory::Bytes after = radio->Memory();
    QVERIFY(std::equal(after.begin() + 16, after.begin() + 32, doc->m_Image.ChannelRecord(1).begin()));
    CPortName::ClearOverrides();
}

QTEST_MAIN(TestCompareWindow)
#include "tst_compare_window.moc"
