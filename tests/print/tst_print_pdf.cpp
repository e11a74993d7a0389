#include "cli/CliContext.h"
#include "config/AppPaths.h"
#include "radio/ChannelGrid.h"
#include "image/ImageMap.h"
#include "print/PrintReport.h"
#include "print/ReportPainter.h"
#include "tests/common/CliRun.h"
#include "tests/common/TestFiles.h"
#include "tests/print/PdfText.h"
#include "tests/print/TallFace.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using Rows = QList<int>;
using Bytes = QMap<int, int>; // image offset -> value

using CliRun::Run;
using CliRun::run;

namespace {

// A new radio's image with a channel in each listed row (tones, scan and bandwidth as row 1 has them,
// the receive frequency telling the rows apart) and the given option bytes.
CRadioImage imageWith(const Rows& rows, const Bytes& bytes)
{
    CRadioImage image;
    image.ApplyDefaults();
    for (const int row : rows) {
        QByteArray record = TestFiles::Hex("00206514 00506514 7503 1328 08 50");
        record[0] = char((row % 10) << 4); // 146.520x0 MHz: the 10 Hz digit pair is the low byte
        for (int i = 0; i < record.size(); ++i)
            image.SetByte(ImageMap::channelOffset(row) + i, static_cast<std::uint8_t>(record[i]));
    }
    for (auto it = bytes.begin(); it != bytes.end(); ++it)
        image.SetByte(it.key(), static_cast<std::uint8_t>(it.value()));
    return image;
}

QByteArray dataFile(const CRadioImage& image)
{
    return TestFiles::DataFileBytes(
        QByteArray(reinterpret_cast<const char*>(image.Data().data()), ImageMap::kImageSize));
}

} // namespace

// program-cli print, read back from the PDF as a reader sees it: pages, footer, options, channels.
class TestPrintPdf : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_ExeDir;
    QTemporaryDir m_Work;

private slots:
    void initTestCase()
    {
        if (!PdfText::Available())
            QSKIP("pdftotext and pdfinfo (poppler-utils) are needed to read the PDF back");
        QVERIFY(
            QFile::copy(QStringLiteral(PROGRAM_BIN_DIR "/Program.ini"), m_ExeDir.filePath("Program.ini")));
        CAppPaths::SetExecutableDir(m_ExeDir.path());
        // The same face on every machine, and one whose rows would run the footer off the page at the
        // report's nominal sizes.
        QVERIFY(TallFace::Install());
        qputenv("XDG_CONFIG_HOME", m_Work.filePath("config").toUtf8());
    }

    void report_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QStringList>("options"); // on page 1, besides the labels

        using namespace ImageMap;
        const Bytes inList { { kTimeOutTimer, 40 }, { kVoiceAnnunciation, 1 }, { kVoxGain, 3 },
            { kBeep, 1 } };
        const Bytes beyond { { kTimeOutTimer, 41 }, { kVoiceAnnunciation, 5 }, { kVoxGain, 0 },
            { kVoxDelay, 9 }, { kBatterySaver, 2 }, { kSquelchLevel, 12 } };
        // clang-format off
        QTest::newRow("no channel") << Rows {} << inList << false << QStringList { "600s", "Chinese", "3", "On" };
        QTest::newRow("no channel, chinese") << Rows {} << inList << true << QStringList { "600s", "中文", "开" };
        QTest::newRow("eight channels") << Rows { 1, 2, 3, 4, 5, 6, 7, 8 } << beyond << false
                                        << QStringList { "615s", "English", "Off", "3.0s", "12" };
        QTest::newRow("nine channels, chinese") << Rows { 1, 2, 3, 4, 5, 6, 7, 8, 9 } << beyond << true
                                                << QStringList { "615s", "英文", "关", "3.0s", "12" };
        QTest::newRow("sixteen channels") << Rows { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16 } << inList << false << QStringList {};
        QTest::newRow("rows 3 and 12, chinese") << Rows { 3, 12 } << inList << true << QStringList {};
        // clang-format on
    }

    void report()
    {
        QFETCH(Rows, rows);
        QFETCH(Bytes, bytes);
        QFETCH(bool, chinese);
        QFETCH(QStringList, options);

        const CRadioImage image = imageWith(rows, bytes);
        // A name with "%1" in it is said as it stands.
        const QString dat = m_Work.filePath(QStringLiteral("radio 50%1.dat"));
        const QString pdf = m_Work.filePath(QStringLiteral("report.pdf"));
        QVERIFY(TestFiles::Write(dat, dataFile(image)));
        const Run result = run({ "print", dat, "-o", pdf, "--lang", chinese ? "chinese" : "english" });
        QCOMPARE(result.err, QString());
        QCOMPARE(result.code, 0);

        const int pages = 1 + (static_cast<int>(rows.size()) + 7) / 8;
        QCOMPARE(PdfText::PageCount(pdf), pages);
        QCOMPARE(result.out, chinese ? "已把 " + dat + " 打印到 " + pdf + ": " + QString::number(pages) + " 页\n"
                                     : "Printed " + dat + " into " + pdf + ": " + QString::number(pages) + " pages\n");
        const QString owner = chinese ? QStringLiteral("菲尔德通信工具") : QStringLiteral("Fieldcom Tools");

        const QString first = PdfText::Page(pdf, 1);
        QStringList expected = options;
        expected << (chinese
                ? QStringList { "可选功能", "功能", "超时定时器:", "语音报号:", "哔音:" }
                : QStringList { "Option", "Function", "Time Out Time:", "Voice Annunication:", "Beep:" });
        for (const QString& text : expected)
            QVERIFY2(first.contains(text), qPrintable(text + QStringLiteral(" on page 1:\n") + first));

        // Every channel as imageWith made it: 146.520r0 MHz in, 146.55 MHz out, 88.5 decoded, D023N
        // encoded, wide, scanned.
        const QStringList labels = chinese
            ? QStringList { "接收频率:", "发射频率:", "QT/DQT解码:", "宽/窄:" }
            : QStringList { "Receive Frequency:", "Transceive Frequency:", "QT/DQT Decode:", "Scan:" };
        for (int page = 1; page <= pages; ++page) {
            const QString text = PdfText::Page(pdf, page);
            QVERIFY2(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages)), qPrintable(text));
            QVERIFY2(text.contains(owner), qPrintable(text));
            // The footer ends above the A4 sheet's 12.7 mm (36 pt) bottom margin.
            const auto [lowest, height] = PdfText::Depth(pdf, page);
            QCOMPARE(height, 842.0);
            QVERIFY2(lowest > 600 && lowest <= 806, qPrintable(QString::number(lowest)));
            for (int i = 0; i < rows.size(); ++i) {
                const int row = rows[i];
                const QString heading
                    = (chinese ? QStringLiteral("信道%1:") : QStringLiteral("Channel %1:")).arg(row);
                const bool here = page == 2 + i / 8;
                QVERIFY2(text.contains(heading) == here,
                    qPrintable(heading + QStringLiteral(" page ") + QString::number(page)));
                const QStringList values { QStringLiteral("146.520%1").arg(row % 10) + "0", "146.55000",
                    "88.5", "D023N", chinese ? "宽" : "Wide", chinese ? "是" : "Yes" };
                for (const QString& value : values)
                    QVERIFY2(!here || text.contains(value), qPrintable(value));
            }
            for (const QString& label : labels)
                QVERIFY(page == 1 || text.contains(label));
        }
    }

    // A page range prints those pages with the report's own numbers in the footer.
    void pageRange_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QList<int>>("printed");

        QTest::newRow("last two") << 2 << 3 << QList<int> { 2, 3 };
        QTest::newRow("beyond the end is clipped") << 3 << 9 << QList<int> { 3 };
        QTest::newRow("from page 0") << 0 << 1 << QList<int> { 1 };
    }

    void pageRange()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QList<int>, printed);

        const CRadioImage image = imageWith({ 1, 2, 3, 4, 5, 6, 7, 8, 9 }, {});
        CChannelGrid grid(false);
        grid.LoadImage(image);
        const CPrintReport report(grid, image, QStringLiteral("Owner"), false);
        const QString pdf = m_Work.filePath(QStringLiteral("range.pdf"));
        {
            QPdfWriter writer(pdf);
            QPainter painter(&writer);
            QVERIFY(CReportPainter::PaintPages(painter, writer, report, first, last));
        }
        QCOMPARE(PdfText::PageCount(pdf), printed.size());
        for (int i = 0; i < printed.size(); ++i)
            QVERIFY(PdfText::Page(pdf, i + 1).contains(QStringLiteral("Page %1 of 3").arg(printed[i])));
    }

    // Refused input says why and leaves every file as it was.
    void refused_data()
    {
        QTest::addColumn<QString>("input"); // "good", "missing" or "bad header"
        QTest::addColumn<QString>("output"); // "existing" or "no folder"
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("code");

        // clang-format off
        QTest::newRow("missing data file") << "missing" << "existing" << QStringList {} << 1;
        QTest::newRow("wrong header") << "bad header" << "existing" << QStringList {} << 1;
        QTest::newRow("folder does not exist") << "good" << "no folder" << QStringList {} << 1;
        QTest::newRow("unknown language") << "good" << "existing" << QStringList { "--lang", "french" } << 2;
        // clang-format on
    }

    void refused()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(QStringList, extra);
        QFETCH(int, code);

        QTemporaryDir dir;
        const QString dat = dir.filePath(QStringLiteral("radio.dat"));
        const QByteArray good = dataFile(imageWith({ 1 }, {}));
        if (input == QLatin1String("good"))
            QVERIFY(TestFiles::Write(dat, good));
        else if (input == QLatin1String("bad header"))
            QVERIFY(TestFiles::Write(dat, QByteArray("Q708") + good.mid(4)));
        QString pdf = dir.filePath(QStringLiteral("old.pdf"));
        if (output == QLatin1String("no folder"))
            pdf = dir.filePath(QStringLiteral("none/report.pdf"));
        else
            QVERIFY(TestFiles::Write(pdf, "an older report"));
        const QByteArray datBefore = TestFiles::Read(dat);
        const QByteArray pdfBefore = TestFiles::Read(pdf);

        const Run result = run(QStringList { "print", dat, "-o", pdf } + extra);
        QCOMPARE(result.code, code);
        QVERIFY(!result.err.trimmed().isEmpty());
        QCOMPARE(TestFiles::Read(dat), datBefore);
        QCOMPARE(TestFiles::Read(pdf), pdfBefore);
    }
};

QTEST_MAIN(TestPrintPdf)
#include "tst_print_pdf.moc"
