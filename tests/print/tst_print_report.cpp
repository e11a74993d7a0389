#include "radio/ChannelGrid.h"
#include "image/ImageMap.h"
#include "print/PrintReport.h"

#include <QPoint>
#include <QSize>
#include <QTest>

#include <algorithm>

using Rows = QList<int>;
using Pages = QList<Rows>;

namespace {

// A grid whose listed rows show a receive frequency; row 16 may carry only a transmit frequency.
CChannelGrid gridWith(const Rows& rows, bool txOnlyRow16 = false)
{
    CChannelGrid grid(false);
    for (const int row : rows) {
        grid.SetText(row, 1, QStringLiteral("146.%1").arg(row, 5, 10, QLatin1Char('0')));
        grid.SetText(row, 2, QStringLiteral("147.%1").arg(row, 5, 10, QLatin1Char('0')));
    }
    if (txOnlyRow16)
        grid.SetText(16, 2, QStringLiteral("150.00000"));
    return grid;
}

// A letter sheet with half-inch margins at 600 dpi (4500 x 6000 pixels) is 10800 x 14400 twips: column
// unit 163, title font 320 high, body font 256. A Times-like face steps 1.15 of that: L 368, Lb 294.
CPrintReport::Metrics letterMetrics()
{
    CPrintReport::Metrics m;
    m.pageWidth = 10800;
    m.pageHeight = 14400;
    m.titleRow = 368;
    m.bodyRow = 294;
    return m;
}

const CPrintReport::Text* find(const CPrintReport::Page& page, const QString& text)
{
    for (const CPrintReport::Text& t : page.texts) {
        if (t.text == text)
            return &t;
    }
    return nullptr;
}

} // namespace

// What each page of the printed report says and where, without any drawing.
class TestPrintReport : public QObject {
    Q_OBJECT

private slots:
    void pagesAndChannels_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<bool>("txOnlyRow16");
        QTest::addColumn<Pages>("channelPages"); // pages 2.. in order

        QTest::newRow("no channel: options page only") << Rows {} << false << Pages {};
        QTest::newRow("transmit frequency alone is not printed") << Rows {} << true << Pages {};
        QTest::newRow("one channel") << Rows { 16 } << false << Pages { { 16 } };
        QTest::newRow("rows 1-8 fill one page")
            << Rows { 1, 2, 3, 4, 5, 6, 7, 8 } << false << Pages { { 1, 2, 3, 4, 5, 6, 7, 8 } };
        QTest::newRow("rows 3 and 12 share the first slots") << Rows { 3, 12 } << true << Pages { { 3, 12 } };
        QTest::newRow("all sixteen") << Rows { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
            16 } << false << Pages { { 1, 2, 3, 4, 5, 6, 7, 8 }, { 9, 10, 11, 12, 13, 14, 15, 16 } };
        QTest::newRow("gaps keep row order") << Rows { 2, 4, 5, 7, 9, 10, 11, 13, 15 } << false
                                             << Pages { { 2, 4, 5, 7, 9, 10, 11, 13 }, { 15 } };
    }

    void pagesAndChannels()
    {
        QFETCH(Rows, rows);
        QFETCH(bool, txOnlyRow16);
        QFETCH(Pages, channelPages);

        CRadioImage image;
        image.ApplyDefaults();
        const CPrintReport report(gridWith(rows, txOnlyRow16), image, QStringLiteral("Owner"), false);
        const int pages = 1 + static_cast<int>(channelPages.size());
        QCOMPARE(report.PageCount(), pages);
        QVERIFY(report.ChannelsOnPage(1).empty());
        QVERIFY(report.ChannelsOnPage(pages + 1).empty());
        QVERIFY(report.Layout(pages + 1, letterMetrics()).texts.empty());
        QVERIFY(report.Layout(0, letterMetrics()).texts.empty());

        // Slot g of a channel page starts 5g body rows down: its heading at 4c = 652, y = -294 (5g + 4).
        const int headingY[] = { -1176, -2646, -4116, -5586, -7056, -8526, -9996, -11466 };
        for (int page = 2; page <= pages; ++page) {
            const std::vector<int> expected(channelPages[page - 2].begin(), channelPages[page - 2].end());
            QCOMPARE(report.ChannelsOnPage(page), expected);
            const CPrintReport::Page layout = report.Layout(page, letterMetrics());
            for (int g = 0; g < static_cast<int>(expected.size()); ++g) {
                const QString heading = QStringLiteral("Channel %1:").arg(expected[g]);
                const CPrintReport::Text* text = find(layout, heading);
                QVERIFY2(text, qPrintable(heading + QStringLiteral(" on page ") + QString::number(page)));
                QCOMPARE(QPoint(text->x, text->y), QPoint(652, headingY[g]));
            }
        }
    }

    // Every place on the pages of a nine-channel report, worked out for the letter sheet above
    // (c = 163, L = 368, Lb = 294). The first text of that name on the page is meant.
    void layout_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("title");
        QTest::addColumn<QPoint>("at");

        QTest::newRow("options title") << 1 << "Option" << true << QPoint(978, -368);
        QTest::newRow("function") << 1 << "Function" << false << QPoint(978, -1176);
        QTest::newRow("first option label") << 1 << "Time Out Time:" << false << QPoint(1467, -1470);
        QTest::newRow("first option value") << 1 << "600s" << false << QPoint(5705, -1470);
        QTest::newRow("third option label") << 1 << "Voice Annunication:" << false << QPoint(1467, -2058);
        QTest::newRow("last option label") << 1 << "Beep:" << false << QPoint(1467, -3234);
        QTest::newRow("last option value") << 1 << "Off" << false << QPoint(5705, -3234);
        QTest::newRow("owner, options page") << 1 << "Owner" << false << QPoint(1630, -13248);
        QTest::newRow("page number, options page") << 1 << "Page 1 of 3" << false << QPoint(7335, -13248);
        QTest::newRow("channels title") << 2 << "Channel" << true << QPoint(978, -368);
        QTest::newRow("receive label") << 2 << "Receive Frequency:" << false << QPoint(815, -1470);
        QTest::newRow("receive value") << 2 << "146.00001" << false << QPoint(3586, -1470);
        QTest::newRow("transmit label") << 2 << "Transceive Frequency:" << false << QPoint(5868, -1470);
        QTest::newRow("transmit value, slot 1") << 2 << "147.00002" << false << QPoint(8965, -2940);
        QTest::newRow("decode label") << 2 << "QT/DQT Decode:" << false << QPoint(815, -1764);
        QTest::newRow("encode label") << 2 << "QT/DQT Encode:" << false << QPoint(5868, -1764);
        QTest::newRow("bandwidth label") << 2 << "W/N:" << false << QPoint(815, -2058);
        QTest::newRow("scan label") << 2 << "Scan:" << false << QPoint(5868, -2058);
        QTest::newRow("last slot receive") << 2 << "146.00008" << false << QPoint(3586, -11760);
        QTest::newRow("page number, channel page") << 2 << "Page 2 of 3" << false << QPoint(7335, -13248);
        QTest::newRow("owner, last page") << 3 << "Owner" << false << QPoint(1630, -13248);
    }

    void layout()
    {
        QFETCH(int, page);
        QFETCH(QString, text);
        QFETCH(bool, title);
        QFETCH(QPoint, at);

        CRadioImage image;
        image.ApplyDefaults();
        image.SetByte(ImageMap::kTimeOutTimer, 40);
        image.SetByte(ImageMap::kBeep, 0);
        const CPrintReport report(
            gridWith({ 1, 2, 3, 4, 5, 6, 7, 8, 9 }), image, QStringLiteral("Owner"), false);
        const CPrintReport::Page layout = report.Layout(page, letterMetrics());
        const CPrintReport::Text* found = find(layout, text);
        QVERIFY(found);
        QCOMPARE(QPoint(found->x, found->y), at);
        QCOMPARE(found->font == CPrintReport::Font::Title, title);
        // The frame: from 5c to 60c, at -2L - 50, -2L - 120 and L/2 - 36L, the same on every page.
        QCOMPARE(layout.lines.size(), std::size_t(3));
        const int frameY[] = { -786, -856, -13064 };
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(layout.lines[i].x1, 815);
            QCOMPARE(layout.lines[i].x2, 9780);
            QCOMPARE(layout.lines[i].y, frameY[i]);
        }
    }

    // Printable area and font sizes from device pixels: height T / 45 and width W / 66 for titles,
    // 0.8 of both in whole twips for the body.
    void fontSizes_data()
    {
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QSize>("twips");
        QTest::addColumn<QSize>("title"); // width x height
        QTest::addColumn<QSize>("body");

        QTest::newRow("letter, half-inch margins, 600 dpi")
            << QSize(4500, 6000) << 600 << QSize(10800, 14400) << QSize(163, 320) << QSize(130, 256);
        QTest::newRow("A4, 12.7 mm margins, 1200 dpi")
            << QSize(8721, 12831) << 1200 << QSize(10465, 15397) << QSize(158, 342) << QSize(126, 273);
        QTest::newRow("A4 on a 96 dpi screen")
            << QSize(794, 1123) << 96 << QSize(11910, 16845) << QSize(180, 374) << QSize(144, 299);
        QTest::newRow("body truncated, not rounded")
            << QSize(9999, 15345) << 1440 << QSize(9999, 15345) << QSize(151, 341) << QSize(120, 272);
        QTest::newRow("no resolution") << QSize(4500, 6000) << 0 << QSize(0, 0) << QSize(0, 0) << QSize(0, 0);
    }

    void fontSizes()
    {
        QFETCH(QSize, pixels);
        QFETCH(int, dpi);
        QFETCH(QSize, twips);
        QFETCH(QSize, title);
        QFETCH(QSize, body);

        const int W = CPrintReport::ToTwips(pixels.width(), dpi);
        const int T = CPrintReport::ToTwips(pixels.height(), dpi);
        QCOMPARE(QSize(W, T), twips);
        const CPrintReport::FontSize t = CPrintReport::TitleFont(W, T);
        const CPrintReport::FontSize b = CPrintReport::BodyFont(W, T);
        QCOMPARE(QSize(t.width, t.height), title);
        QCOMPARE(QSize(b.width, b.height), body);
    }

    // The face standing in for Times New Roman differs from machine to machine. On the letter sheet
    // (T = 14400) a face that fits keeps the sizes above; a taller one shortens both fonts until the
    // footer's text (its top at -36L) ends inside the page. Faces given as text height and leading per
    // thousand of the font height, or as a fixed overhead over the height.
    void fit_data()
    {
        QTest::addColumn<int>("heightPerMille");
        QTest::addColumn<int>("leadingPerMille");
        QTest::addColumn<int>("overhead");
        QTest::addColumn<QSize>("fonts"); // title and body height
        QTest::addColumn<QSize>("rows"); // L and Lb
        QTest::addColumn<int>("bottom");

        // 320: 354 + 13 = 367; 256: 283 + 10 = 293; 36 x 367 + 283.
        QTest::newRow("Times-like face keeps the sizes")
            << 1107 << 42 << 0 << QSize(320, 256) << QSize(367, 293) << 13495;
        // 320: 426 + 64 = 490, 256: 341 + 51; 36 x 490 + 341 = 17981 -> 320 x 14400 / 17981 = 256.
        QTest::newRow("face with a tall box and wide leading")
            << 1333 << 200 << 0 << QSize(256, 204) << QSize(392, 311) << 14383;
        // 320: 640 + 160 = 800; 36 x 800 + 512 = 29312 -> 157; 157: 314 + 78, 125: 250 + 62.
        QTest::newRow("twice as tall as its size")
            << 2000 << 500 << 0 << QSize(157, 125) << QSize(392, 312) << 14362;
        // Height + 100 twips: 15476 -> 297, 14629 -> 292, 14445 -> 291, 14408 -> 290: 14040 + 332.
        QTest::newRow("fixed overhead takes several rounds")
            << 1000 << 0 << 100 << QSize(290, 232) << QSize(390, 332) << 14372;
        // A short face with 210 twips over it: the last channel row (-42Lb), not the footer, sets the
        // bottom. 320: 370, 256: 338; 42 x 338 + 338 = 14534 -> 317, 315, 313, 312: 42 x 334 + 334.
        QTest::newRow("the last channel row reaches lower than the footer")
            << 500 << 0 << 210 << QSize(312, 249) << QSize(366, 334) << 14362;
    }

    void fit()
    {
        QFETCH(int, heightPerMille);
        QFETCH(int, leadingPerMille);
        QFETCH(int, overhead);
        QFETCH(QSize, fonts);
        QFETCH(QSize, rows);
        QFETCH(int, bottom);

        const auto measure = [&](CPrintReport::FontSize size) {
            return CPrintReport::Measured { size.height * heightPerMille / 1000 + overhead,
                size.height * leadingPerMille / 1000 };
        };
        const CPrintReport::Sizing sizing = CPrintReport::Fit(10800, 14400, measure);
        QCOMPARE(QSize(sizing.title.height, sizing.body.height), fonts);
        QCOMPARE(QSize(sizing.title.width, sizing.body.width), QSize(163, 130));
        QCOMPARE(QSize(sizing.metrics.titleRow, sizing.metrics.bodyRow), rows);
        QCOMPARE(sizing.bottom, bottom);

        // Every text of a full channel page, the footer included, ends inside the printable area.
        CRadioImage image;
        image.ApplyDefaults();
        const CPrintReport report(
            gridWith({ 1, 2, 3, 4, 5, 6, 7, 8, 9 }), image, QStringLiteral("Owner"), false);
        const int bodyHeight = measure(sizing.body).height;
        int lowest = 0;
        bool footer = false;
        for (const CPrintReport::Text& text : report.Layout(2, sizing.metrics).texts) {
            lowest = std::max(lowest, -text.y + bodyHeight);
            footer |= text.text == QLatin1String("Page 2 of 3");
        }
        QVERIFY(footer);
        QVERIFY2(lowest <= 14400, qPrintable(QString::number(lowest)));
    }

    void optionValues_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("row"); // 0-based among the seven
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");

        using namespace ImageMap;
        // clang-format off
        QTest::newRow("time-out 40") << kTimeOutTimer << 40 << 0 << "600s" << "600s";
        QTest::newRow("time-out 1") << kTimeOutTimer << 1 << 0 << "15s" << "15s";
        QTest::newRow("time-out beyond the list") << kTimeOutTimer << 41 << 0 << "615s" << "615s";
        QTest::newRow("squelch 0") << kSquelchLevel << 0 << 1 << "0" << "0";
        QTest::newRow("squelch unset") << kSquelchLevel << 255 << 1 << "255" << "255";
        QTest::newRow("voice off") << kVoiceAnnunciation << 0 << 2 << "Off" << "关";
        QTest::newRow("voice chinese") << kVoiceAnnunciation << 1 << 2 << "Chinese" << "中文";
        QTest::newRow("voice 2") << kVoiceAnnunciation << 2 << 2 << "English" << "英文";
        QTest::newRow("voice 5") << kVoiceAnnunciation << 5 << 2 << "English" << "英文";
        QTest::newRow("vox delay 0") << kVoxDelay << 0 << 3 << "0.3s" << "0.3s";
        QTest::newRow("vox delay 4") << kVoxDelay << 4 << 3 << "2.0s" << "2.0s";
        QTest::newRow("vox delay 5") << kVoxDelay << 5 << 3 << "3.0s" << "3.0s";
        QTest::newRow("vox delay beyond") << kVoxDelay << 200 << 3 << "3.0s" << "3.0s";
        QTest::newRow("vox gain 0") << kVoxGain << 0 << 4 << "Off" << "关";
        QTest::newRow("vox gain 8") << kVoxGain << 8 << 4 << "8" << "8";
        QTest::newRow("vox gain beyond") << kVoxGain << 12 << 4 << "12" << "12";
        QTest::newRow("battery saver 1") << kBatterySaver << 1 << 5 << "On" << "开";
        QTest::newRow("battery saver 0") << kBatterySaver << 0 << 5 << "Off" << "关";
        QTest::newRow("battery saver 2: bit 0 only") << kBatterySaver << 2 << 5 << "Off" << "关";
        QTest::newRow("beep unset") << kBeep << 255 << 6 << "On" << "开";
        QTest::newRow("beep 0") << kBeep << 0 << 6 << "Off" << "关";
        // clang-format on
    }

    void optionValues()
    {
        QFETCH(int, offset);
        QFETCH(int, byte);
        QFETCH(int, row);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        // The seven labels, in print order, as the printed report has always named them.
        static const char* const kLabels[7][2] = { { "Time Out Time:", "超时定时器:" },
            { "Squelch Level:", "静噪电平:" }, { "Voice Annunication:", "语音报号:" },
            { "Vox Delay Time:", "声控延迟时间:" }, { "Vox Gain Level:", "声控增益电平:" },
            { "Battery Saver:", "电池省电:" }, { "Beep:", "哔音:" } };

        CRadioImage image;
        image.ApplyDefaults();
        image.SetByte(offset, static_cast<std::uint8_t>(byte));
        const CChannelGrid grid(false);
        const auto en = CPrintReport(grid, image, QString(), false).OptionRows();
        const auto zh = CPrintReport(grid, image, QString(), true).OptionRows();
        QCOMPARE(en.size(), std::size_t(7));
        QCOMPARE(en[row], std::make_pair(QString::fromUtf8(kLabels[row][0]), english));
        QCOMPARE(zh[row], std::make_pair(QString::fromUtf8(kLabels[row][1]), chinese));
    }
};

QTEST_GUILESS_MAIN(TestPrintReport)
#include "tst_print_report.moc"
