#include "editor/ChannelGrid.h"
#include "image/ImageMap.h"
#include "print/PrintReport.h"

#include <QTest>

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

// Row units as a Times-like face gives them on an A4 sheet with half-inch margins.
CPrintReport::Metrics a4Metrics()
{
    CPrintReport::Metrics m;
    m.pageWidth = 10466;
    m.pageHeight = 15398;
    m.titleRow = CPrintReport::TitleFont(m.pageWidth, m.pageHeight).height * 115 / 100;
    m.bodyRow = CPrintReport::BodyFont(m.pageWidth, m.pageHeight).height * 115 / 100;
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
        QTest::newRow("rows 1-9: the ninth alone")
            << Rows { 1, 2, 3, 4, 5, 6, 7, 8, 9 } << false << Pages { { 1, 2, 3, 4, 5, 6, 7, 8 }, { 9 } };
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
        QVERIFY(report.Layout(pages + 1, a4Metrics()).texts.empty());
        QVERIFY(report.Layout(0, a4Metrics()).texts.empty());

        const CPrintReport::Metrics m = a4Metrics();
        const int c = m.Column();
        for (int page = 2; page <= pages; ++page) {
            const std::vector<int> expected(channelPages[page - 2].begin(), channelPages[page - 2].end());
            QCOMPARE(report.ChannelsOnPage(page), expected);
            // Each channel in its slot g, five body rows apart, with its own grid texts.
            const CPrintReport::Page layout = report.Layout(page, m);
            for (int g = 0; g < static_cast<int>(expected.size()); ++g) {
                const int row = expected[g];
                const CPrintReport::Text* heading = find(layout, QStringLiteral("Channel %1:").arg(row));
                QVERIFY2(heading, qPrintable(QStringLiteral("channel %1 on page %2").arg(row).arg(page)));
                QCOMPARE(heading->x, 4 * c);
                QCOMPARE(heading->y, -5 * g * m.bodyRow - 4 * m.bodyRow);
                const CPrintReport::Text* tx
                    = find(layout, QStringLiteral("147.%1").arg(row, 5, 10, QLatin1Char('0')));
                QVERIFY(tx);
                QCOMPARE(tx->x, 55 * c);
                QCOMPARE(tx->y, -5 * g * m.bodyRow - 5 * m.bodyRow);
            }
            // Footer: "Page k of n" at 45c on the line -36L, with the body font.
            const CPrintReport::Text* footer
                = find(layout, QStringLiteral("Page %1 of %2").arg(page).arg(pages));
            QVERIFY(footer);
            QCOMPARE(footer->x, 45 * c);
            QCOMPARE(footer->y, -36 * m.titleRow);
            QVERIFY(footer->font == CPrintReport::Font::Body);
        }
    }

    // A full channel page stays above the bottom frame line, and the frame is the same on every page.
    void fullPageFitsItsFrame()
    {
        CRadioImage image;
        image.ApplyDefaults();
        const CPrintReport report(
            gridWith({ 1, 2, 3, 4, 5, 6, 7, 8, 9 }), image, QStringLiteral("Owner"), false);
        const CPrintReport::Metrics m = a4Metrics();
        const int c = m.Column();
        const int L = m.titleRow;
        for (int page = 1; page <= report.PageCount(); ++page) {
            const CPrintReport::Page layout = report.Layout(page, m);
            QCOMPARE(layout.lines.size(), std::size_t(3));
            const int expectedY[] = { -2 * L - 50, -2 * L - 120, L / 2 - 36 * L };
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(layout.lines[i].x1, 5 * c);
                QCOMPARE(layout.lines[i].x2, 60 * c);
                QCOMPARE(layout.lines[i].y, expectedY[i]);
            }
            for (const CPrintReport::Text& t : layout.texts) {
                if (t.y == -36 * L)
                    continue; // the footer sits under the line
                QVERIFY2(t.y - m.bodyRow > expectedY[2], qPrintable(t.text));
                QVERIFY2(t.x < 60 * c, qPrintable(t.text));
            }
            QVERIFY(find(layout, QStringLiteral("Owner")));
        }
    }

    void optionValues_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("row"); // 0-based among the seven
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");

        using namespace ImageMap;
        QTest::newRow("time-out 40") << kTimeOutTimer << 40 << 0 << "600s"
                                     << "600s";
        QTest::newRow("time-out 1") << kTimeOutTimer << 1 << 0 << "15s"
                                    << "15s";
        QTest::newRow("time-out beyond the list") << kTimeOutTimer << 41 << 0 << "615s"
                                                  << "615s";
        QTest::newRow("squelch 0") << kSquelchLevel << 0 << 1 << "0"
                                   << "0";
        QTest::newRow("squelch unset") << kSquelchLevel << 255 << 1 << "255"
                                       << "255";
        QTest::newRow("voice off") << kVoiceAnnunciation << 0 << 2 << "Off"
                                   << "关";
        QTest::newRow("voice chinese") << kVoiceAnnunciation << 1 << 2 << "Chinese"
                                       << "中文";
        QTest::newRow("voice 2") << kVoiceAnnunciation << 2 << 2 << "English"
                                 << "英文";
        QTest::newRow("voice 5") << kVoiceAnnunciation << 5 << 2 << "English"
                                 << "英文";
        QTest::newRow("vox delay 0") << kVoxDelay << 0 << 3 << "0.3s"
                                     << "0.3s";
        QTest::newRow("vox delay 4") << kVoxDelay << 4 << 3 << "2.0s"
                                     << "2.0s";
        QTest::newRow("vox delay 5") << kVoxDelay << 5 << 3 << "3.0s"
                                     << "3.0s";
        QTest::newRow("vox delay beyond") << kVoxDelay << 200 << 3 << "3.0s"
                                          << "3.0s";
        QTest::newRow("vox gain 0") << kVoxGain << 0 << 4 << "Off"
                                    << "关";
        QTest::newRow("vox gain 8") << kVoxGain << 8 << 4 << "8"
                                    << "8";
        QTest::newRow("vox gain beyond") << kVoxGain << 12 << 4 << "12"
                                         << "12";
        QTest::newRow("battery saver 1") << kBatterySaver << 1 << 5 << "On"
                                         << "开";
        QTest::newRow("battery saver 0") << kBatterySaver << 0 << 5 << "Off"
                                         << "关";
        QTest::newRow("battery saver 2: bit 0 only") << kBatterySaver << 2 << 5 << "Off"
                                                     << "关";
        QTest::newRow("beep unset") << kBeep << 255 << 6 << "On"
                                    << "开";
        QTest::newRow("beep 0") << kBeep << 0 << 6 << "Off"
                                << "关";
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

        // On the options page the value stands at 35c on its label's row.
        const CPrintReport::Metrics m = a4Metrics();
        const CPrintReport::Page page = CPrintReport(grid, image, QString(), true).Layout(1, m);
        const CPrintReport::Text* label = find(page, QString::fromUtf8(kLabels[row][1]));
        QVERIFY(label);
        QCOMPARE(label->x, 9 * m.Column());
        QCOMPARE(label->y, -(5 + row) * m.bodyRow);
        bool valueBeside = false;
        for (const CPrintReport::Text& t : page.texts)
            valueBeside |= t.text == chinese && t.x == 35 * m.Column() && t.y == label->y;
        QVERIFY(valueBeside);
    }
};

QTEST_GUILESS_MAIN(TestPrintReport)
#include "tst_print_report.moc"
