// The service tables by band: which points get a row, where their bytes are, what the sanitiser puts
// right and what it must leave alone.

#include "image/RadioImage.h"
#include "service/ParamTable.h"
#include "service/PowerTable.h"

#include <QTest>

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

BandLimits Band(int lowMHz, int highMHz)
{
    return ProductCatalog::LimitsFromBandText(QStringLiteral("%1 - %2MHz").arg(lowMHz).arg(highMHz));
}

std::vector<int> Range(int from, int to, int step = 10)
{
    std::vector<int> v;
    for (int p = from; p <= to; p += step)
        v.push_back(p);
    return v;
}

} // namespace

class TestServiceTables : public QObject {
    Q_OBJECT

private slots:
    void points_data()
    {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<std::vector<int>>("all");
        QTest::addColumn<int>("powerRows");
        QTest::addColumn<int>("squelchRows");
        QTest::addColumn<int>("firstPowerByte");
        QTest::addColumn<int>("firstSquelchByte");

        QTest::newRow("130-160") << 130 << 160 << Range(130, 160) << 4 << 4 << 0x3E0 << 0x300;
        QTest::newRow("136-174") << 136 << 174 << std::vector<int> { 136, 140, 150, 160, 170, 174 } << 6 << 6
                                 << 0x3E0 << 0x300;
        QTest::newRow("430-470 offset 3") << 430 << 470 << Range(430, 470) << 5 << 5 << 0x3E9 << 0x303;
        QTest::newRow("400-480 fills the power table")
            << 400 << 480 << Range(400, 480) << 9 << 9 << 0x3E0 << 0x300;
        QTest::newRow("400-520 fills the squelch table")
            << 400 << 520 << Range(400, 520) << 9 << 13 << 0x3E0 << 0x300;
        QTest::newRow("130-520") << 130 << 520 << Range(130, 520) << 9 << 13 << 0x3E0 << 0x300;
        QTest::newRow("435-470 between steps")
            << 435 << 470 << std::vector<int> { 435, 440, 450, 460, 470 } << 5 << 5 << 0x3E9 << 0x303;
        QTest::newRow("470-520 past the power table")
            << 470 << 520 << Range(470, 520) << 2 << 6 << 0x3F5 << 0x307;
        QTest::newRow("490-520 no power room") << 490 << 520 << Range(490, 520) << 0 << 4 << -1 << 0x309;
        QTest::newRow("530-540 no room at all") << 530 << 540 << Range(530, 540) << 0 << 0 << -1 << -1;
        QTest::newRow("top below bottom")
            << 160 << 130 << std::vector<int> { 160 } << 1 << 1 << 0x3E0 << 0x300;
    }

    // Every point that gets a row has its bytes inside the exchanged range; the others are named.
    void points()
    {
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(std::vector<int>, all);
        QFETCH(int, powerRows);
        QFETCH(int, squelchRows);
        QFETCH(int, firstPowerByte);
        QFETCH(int, firstSquelchByte);

        const CServiceBand band(Band(low, high));
        QCOMPARE(band.AllPoints(), all);
        const std::vector<int> power = PowerTable::Points(band);
        const std::vector<int> squelch = ParamTable::SquelchPoints(band);
        QCOMPARE(int(power.size()), powerRows);
        QCOMPARE(int(squelch.size()), squelchRows);
        QVERIFY(std::equal(power.begin(), power.end(), all.begin()));
        if (powerRows > 0)
            QCOMPARE(PowerTable::Address(band, 0, 0), firstPowerByte);
        if (squelchRows > 0)
            QCOMPARE(ParamTable::SquelchAddress(band, 0), firstSquelchByte);
        for (int i = 0; i < powerRows; ++i)
            QVERIFY(PowerTable::Address(band, i, 2) <= 0x3FA);
        for (int i = 0; i < squelchRows; ++i)
            QVERIFY(ParamTable::SquelchAddress(band, i) <= 0x30C);
        QCOMPARE(band.Note(PowerTable::kCapacity, false).isEmpty(), powerRows == int(all.size()));
        QCOMPARE(band.Note(ParamTable::kSquelchCapacity, true).isEmpty(), squelchRows == int(all.size()));
    }

    void powerRows()
    {
        CRadioImage image;
        const CServiceBand band(Band(430, 470));
        PowerTable::SetValue(image, band, 0, 0, 10);
        PowerTable::SetValue(image, band, 0, 2, 300); // a byte holds no more than 255
        QCOMPARE(image.Byte(0x3E9), 10);
        QCOMPARE(image.Byte(0x3EB), 255);
        QCOMPARE(PowerTable::Rows(image, band).front(), (PowerTable::Row { 430, { 10, 255, 255 } }));
        QCOMPARE(PowerTable::IndexOf(band, 470), 4);
        QCOMPARE(PowerTable::IndexOf(band, 480), -1);
    }

    void sanitise_data()
    {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");

        QTest::newRow("sql close 0") << 130 << 0x30D << 0 << 1;
        QTest::newRow("sql close 10") << 130 << 0x30D << 10 << 10;
        QTest::newRow("sql close 11") << 130 << 0x30D << 11 << 1;
        QTest::newRow("narrow -3") << 130 << 0x30E << 0x83 << 0x83;
        QTest::newRow("narrow -10") << 130 << 0x30E << 0x8A << 0x8A;
        QTest::newRow("narrow -12") << 130 << 0x30E << 0x8C << 0x00;
        QTest::newRow("narrow 11") << 130 << 0x30E << 0x0B << 0x00;
        QTest::newRow("narrow band class 8") << 130 << 0x30E << 8 << 8;
        QTest::newRow("rx 4") << 130 << 0x30F << 4 << 5;
        QTest::newRow("rx 125") << 130 << 0x314 << 125 << 125;
        QTest::newRow("rx 126") << 130 << 0x312 << 126 << 5;
        QTest::newRow("mic1 32") << 130 << 0x315 << 32 << 0;
        QTest::newRow("mic2 127") << 130 << 0x316 << 127 << 127;
        QTest::newRow("mic2 128") << 130 << 0x316 << 128 << 0;
        QTest::newRow("mic3 16") << 130 << 0x317 << 16 << 0;
        QTest::newRow("max dev 29") << 130 << 0x318 << 29 << 30;
        QTest::newRow("max dev 151") << 130 << 0x318 << 151 << 30;
        QTest::newRow("ctcss 4") << 130 << 0x319 << 4 << 5;
        QTest::newRow("dcs 31") << 130 << 0x31A << 31 << 5;
        QTest::newRow("squelch 4 shown") << 130 << 0x303 << 4 << 5;
        QTest::newRow("squelch 101 shown") << 130 << 0x300 << 101 << 5;
        QTest::newRow("squelch 100 kept") << 130 << 0x301 << 100 << 100;
        QTest::newRow("squelch after the band") << 130 << 0x305 << 200 << 200;
        // 430-470 lists its squelch at 0x303-0x307: those are checked, 0x300 is another band's.
        QTest::newRow("high band shown byte") << 430 << 0x303 << 200 << 5;
        QTest::newRow("high band last shown") << 430 << 0x307 << 0 << 5;
        QTest::newRow("high band other byte") << 430 << 0x300 << 200 << 200;
    }

    // Only the byte in question moves, and only when it is out of range.
    void sanitise()
    {
        QFETCH(int, low);
        QFETCH(int, offset);
        QFETCH(int, before);
        QFETCH(int, after);

        const CServiceBand band(Band(low, low + 40));
        CRadioImage image;
        image.Fill();
        ParamTable::Sanitise(image, band); // every value in range
        const CRadioImage clean = image;
        image.SetByte(offset, std::uint8_t(before));
        const std::vector<ParamTable::Correction> corrections = ParamTable::Sanitise(image, band);
        QCOMPARE(int(image.Byte(offset)), after);
        CRadioImage expected = clean;
        expected.SetByte(offset, std::uint8_t(after));
        QVERIFY(image == expected);
        QCOMPARE(int(corrections.size()), before == after ? 0 : 1);
        if (!corrections.empty())
            QCOMPARE(corrections.front().offset, offset);
    }

    void setValue_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");

        QTest::newRow("narrow -3") << int(ParamTable::kNarrowSql) << -3 << 0x83;
        QTest::newRow("narrow 2") << int(ParamTable::kNarrowSql) << 2 << 0x02;
        QTest::newRow("narrow -10") << int(ParamTable::kNarrowSql) << -10 << 0x8A;
        QTest::newRow("narrow -11") << int(ParamTable::kNarrowSql) << -11 << 0x00;
        QTest::newRow("mic1 200") << int(ParamTable::kMic1Gain) << 200 << 0;
        QTest::newRow("max dev 200") << int(ParamTable::kMaxDeviation) << 200 << 30;
        // 300 does not wrap round to a legal-looking 44.
        QTest::newRow("max dev 300") << int(ParamTable::kMaxDeviation) << 300 << 30;
        QTest::newRow("mic2 261") << int(ParamTable::kMic2Gain) << 261 << 0;
        QTest::newRow("sql close -1") << int(ParamTable::kSqlClose) << -1 << 1;
        QTest::newRow("dcs 30") << int(ParamTable::kDcsDeviation) << 30 << 30;
    }

    void setValue()
    {
        QFETCH(int, field);
        QFETCH(int, value);
        QFETCH(int, stored);
        CRadioImage image;
        ParamTable::SetValue(image, ParamTable::Field(field), value);
        QCOMPARE(int(image.Byte(ParamTable::Info(ParamTable::Field(field)).offset)), stored);
        QVERIFY(ParamTable::InRange(
            ParamTable::Field(field), ParamTable::Value(image, ParamTable::Field(field))));
    }
};

QTEST_GUILESS_MAIN(TestServiceTables)
#include "tst_service_tables.moc"
