// The channel grid over an image: storing keeps untouched fields, committing typed cells, the Enter
// walk and the band taken from the image.

#include "tests/radio/EditorTestSupport.h"

using namespace EditorTest;

class TestEditorGrid : public QObject {
    Q_OBJECT

private slots:

    // clang-format off
    void storeKeepsUntouchedFields_data()
    {
        QTest::addColumn<QByteArray>("record"); // bytes 0-13 of channel 5, scan flag clear
        QTest::addColumn<int>("column"); // the one cell typed or chosen in; 0 for none
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown"); // the row's texts afterwards
        QTest::addColumn<QByteArray>("stored"); // bytes 0-13 after the grid is stored
        QTest::addColumn<bool>("scan");
        const QByteArray rxOnly = Hex("00206514 FFFFFFFF FFFF B602 00 00");
        const QByteArray dcs777 = Hex("00206514 00206514 FF29 FFFF 1F EF");
        const QByteArray blank = Hex("FFFFFFFF FFFFFFFF FFFF FFFF FF FF");
        // No transmit frequency: shown as an empty channel, its receive frequency and tone aside.
        QTest::newRow("half-filled channel") << rxOnly << 0 << ""
            << "146.52000|||69.4||||" << rxOnly << false;
        QTest::newRow("half-filled channel, power chosen") << rxOnly << 8 << "High"
            << "146.52000|||69.4||||High" << Hex("00206514 FFFFFFFF FFFF B602 00 20") << false;
        QTest::newRow("half-filled channel gets a transmit frequency") << rxOnly << 2 << "146.52"
            << "146.52000|146.52000||69.4||||" << Hex("00206514 00206514 FFFF B602 00 00") << false;
        QTest::newRow("transmit top pair 00") << Hex("00206514 00000000 7503 FFFF 1F EF") << 0 << ""
            << "146.52000||88.5|||||" << Hex("00206514 00000000 7503 FFFF 1F EF") << false;
        QTest::newRow("DCS 777 and odd flag bits") << dcs777 << 0 << ""
            << "146.52000|146.52000|D000N|None|Narrow|No|QT/DQT|High" << dcs777 << false;
        QTest::newRow("DCS 777, another field chosen") << dcs777 << 5 << "Wide"
            << "146.52000|146.52000|D000N|None|Wide|No|QT/DQT|High" << Hex("00206514 00206514 FF29 FFFF 1F FF") << false;
        QTest::newRow("DCS 777, the tone chosen") << dcs777 << 3 << "D023N"
            << "146.52000|146.52000|D023N|None|Narrow|No|QT/DQT|High" << Hex("00206514 00206514 1328 FFFF 1F EF") << false;
        QTest::newRow("empty channel keeps its bytes") << blank << 0 << "" << "|||||||" << blank << false;
        QTest::newRow("tone on an empty channel") << Hex("00000000 FFFFFFFF 7503 FFFF 00 00") << 0 << ""
            << "||88.5|||||" << Hex("00000000 FFFFFFFF 7503 FFFF 00 00") << false;
        QTest::newRow("new channel over 0xFF") << blank << 1 << "146,5"
            << "146.50000|146.50000|None|None|Wide|Yes|Off|High" << Hex("00006514 00006514 FFFF FFFF E7 BF") << true;
        QTest::newRow("deleted channel") << dcs777 << 1 << "" << "|||||||"
            << Hex("FFFFFFFF FFFFFFFF FFFF FFFF 17 BF") << true;
    }
    // clang-format on

    // What the user did not change is stored back byte for byte, whatever the grid can show of it; what
    // the user changed is stored alone.
    void storeKeepsUntouchedFields()
    {
        QFETCH(QByteArray, record);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(QByteArray, stored);
        QFETCH(bool, scan);
        CRadioImage image;
        image.CopyIn(5 * 16,
            { reinterpret_cast<const std::uint8_t*>(record.constData()), std::size_t(record.size()) });
        image.SetScanFlag(5, false);
        for (bool zh : { false, true }) {
            CChannelGrid grid(zh);
            grid.SetBandLimits(kBand130to160);
            grid.LoadImage(image);
            if (column != 0)
                QCOMPARE(grid.Commit(5, column, text, CChannelGrid::Trigger::LeaveCell),
                    CChannelGrid::Outcome::Accepted);
            if (!zh)
                QCOMPARE(joined(grid.RowTexts(5)), shown);
            CRadioImage copy = image;
            grid.StoreGrid(copy);
            QCOMPARE(recordHex(copy, 5).left(14 * 3 - 1), stored.toHex(' ').toUpper());
            QCOMPARE(copy.ScanFlag(5), scan);
        }
    }

    // clang-format off
    void commit_data()
    {
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("before"); // columns 1-8 of the row, '|' between
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("after");
        const QString empty = "|||||||", row = "146.50000|147.00000|88.5|None|Narrow|No|Carrier|Low";
        const int ok = int(CChannelGrid::Outcome::Accepted), out = int(CChannelGrid::Outcome::OutOfRange),
                  step = int(CChannelGrid::Outcome::OffStep), format = int(CChannelGrid::Outcome::BadFormat),
                  tone = int(CChannelGrid::Outcome::BadTone);
        QTest::newRow("new channel") << false << empty << 1 << "146.5" << true << ok
                                     << "146.50000|146.50000|None|None|Wide|Yes|Off|High";
        QTest::newRow("new channel, Chinese")
            << true << empty << 1 << "146.5" << false << ok << "146.50000|146.50000|无|无|宽|是|关|高";
        QTest::newRow("rx changed") << false << row << 1 << "150" << true << ok << "150.00000" + row.mid(9);
        QTest::newRow("rx emptied deletes") << false << row << 1 << "" << false << ok << empty;
        // A refused receive frequency keeps the channel, tones included; an empty row stays empty.
        QTest::newRow("rx out of range keeps") << false << row << 1 << "165" << false << out << row;
        QTest::newRow("rx off step keeps") << false << row << 1 << "146.5123" << true << step << row;
        QTest::newRow("rx blank is no number") << false << row << 1 << " " << true << format << row;
        QTest::newRow("rx letters are no number") << false << row << 1 << "abc" << true << format << row;
        QTest::newRow("rx signed point number") << false << row << 1 << " -.5" << true << out << row;
        QTest::newRow("rx decimal comma before a digit is a number") << false << row << 1 << ",5" << true << out << row;
        QTest::newRow("rx out of range, empty row") << false << empty << 1 << "165" << true << out << empty;
        QTest::newRow("tx letters keep the row") << false << row << 2 << "abc" << false << format << row;
        QTest::newRow("tx emptied follows rx")
            << false << row << 2 << "" << true << ok << "146.50000|146.50000|88.5|None|Narrow|No|Carrier|Low";
        QTest::newRow("tx on empty row") << false << empty << 2 << "146.5" << true << ok << empty;
        // A refused transmit frequency leaves the row as it was, however the cell was confirmed.
        QTest::newRow("tx out of range, leave") << false << row << 2 << "165" << false << out << row;
        QTest::newRow("tx out of range, Enter") << false << row << 2 << "165" << true << out << row;
        QTest::newRow("tx off step, leave") << false << row << 2 << "146.5123" << false << step << row;
        QTest::newRow("tx off step, Enter") << false << row << 2 << "146,5123" << true << step << row;
        QTest::newRow("tx decimal comma") << false << row << 2 << "147,125" << true << ok
                                          << "146.50000|147.12500" + row.mid(19);
        QTest::newRow("list item") << false << row << 8 << "High" << false << ok << row.chopped(3) + "High";
        QTest::newRow("list item on empty row") << false << empty << 8 << "Low" << true << ok << empty;
        QTest::newRow("list item, tx only")
            << false << "|147.00000||||||" << 3 << "88.5" << true << ok << "|147.00000|88.5|||||";
        // A typed tone is stored as the list's item in the grid's language; one the list lacks is refused.
        QTest::newRow("tone typed loosely, Chinese") << true << row << 3 << "none" << false << ok
                                                     << "146.50000|147.00000|无|None|Narrow|No|Carrier|Low";
        QTest::newRow("tone between two listed ones") << false << row << 4 << "100.5" << true << tone << row;
        QTest::newRow("tone refused, Chinese") << true << row << 3 << "D017N" << false << tone << row;
        QTest::newRow("tone refused on an empty row") << false << empty << 3 << "69.4" << true << tone << empty;
    }
    // clang-format on

    void commit()
    {
        QFETCH(bool, chinese);
        QFETCH(QString, before);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(int, outcome);
        QFETCH(QString, after);
        CChannelGrid grid(chinese);
        grid.SetBandLimits(kBand130to160);
        for (int col = 1; col <= 8; ++col)
            grid.SetText(5, col, before.section('|', col - 1, col - 1));
        const auto result = grid.Commit(
            5, column, typed, enter ? CChannelGrid::Trigger::Enter : CChannelGrid::Trigger::LeaveCell);
        QCOMPARE(int(result), outcome);
        QCOMPARE(joined(grid.RowTexts(5)), after);
        QCOMPARE(grid.Text(4, 1) + grid.Text(6, 1), QString()); // neighbours untouched
        // Refused frequencies get their own line under the fixed text (refusedFrequencyMessage).
        const QStringList messages = { "", "Out of range,please input again.",
            "Error data Value, please input according the step value(6.25K/5k).",
            "Error Data Format, please input again.",
            chinese ? "Error Data Format, please input again.\n亚音须为 无、列表中的 CTCSS 亚音 (62.5 至 254.1 Hz) "
                      "或列表中的 DCS 码 DnnnN 或 DnnnI (D023N)。"
                    : "Error Data Format, please input again.\nA tone is None, a listed CTCSS tone in Hz (62.5 to "
                      "254.1) or a listed DCS code as DnnnN or DnnnI (D023N)." };
        const QString message = grid.MessageFor(result, 5, typed, "130 - 160MHz");
        const bool frequency = result == CChannelGrid::Outcome::OutOfRange || result == CChannelGrid::Outcome::OffStep;
        QCOMPARE(frequency ? message.section('\n', 0, 0) : message, messages.at(outcome));
    }

    // clang-format off
    void refusedFrequencyMessage_data()
    {
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("band"); // as the band list names it
        QTest::addColumn<qint64>("lower");
        QTest::addColumn<qint64>("upper");
        QTest::addColumn<QString>("typed"); // into channel 5's receive frequency
        QTest::addColumn<QString>("line"); // the line under the fixed text
        // The band list says 470 and the grid takes up to 471: the message says both and why.
        QTest::newRow("above a listed band") << false << "400 - 470MHz" << qint64(40000000) << qint64(47100000) << "480"
            << "Channel 5: 480 MHz is outside the band 400 - 470MHz, which takes 400 to 471 MHz (all of 470.xxxxx included).";
        QTest::newRow("just past the top, Chinese") << true << "400 - 470MHz" << qint64(40000000) << qint64(47100000) << "471.00625"
            << "信道 5: 471.00625 MHz 超出频段 400 - 470MHz, 该频段可用 400 至 471 MHz (含 470.xxxxx 全部)。";
        QTest::newRow("below a band without a dash") << false << " 245MHz" << qint64(24500000) << qint64(24600000) << " 244.5 "
            << "Channel 5: 244.5 MHz is outside the band 245MHz, which takes 245 to 246 MHz (all of 245.xxxxx included).";
        // No band list at all (no Program.ini): the limits alone.
        QTest::newRow("no band list") << false << "" << qint64(0) << qint64(100000) << "146.5"
            << "Channel 5: 146.5 MHz is outside 0 to 1 MHz.";
        QTest::newRow("limits the band text does not give") << false << "136 - 174MHz" << qint64(13600001) << qint64(17400000) << "130"
            << "Channel 5: 130 MHz is outside 136.00001 to 174 MHz.";
        // Off step: the valid frequencies on either side, on a 5 kHz or a 6.25 kHz step.
        QTest::newRow("between 146.51 and 146.5125") << false << "130 - 160MHz" << qint64(13000000) << qint64(16100000) << "146.5123"
            << "Channel 5: 146.5123 MHz is not on a 5 kHz or 6.25 kHz step. Nearest: 146.51 or 146.5125 MHz.";
        QTest::newRow("between 146.515 and 146.51875") << false << "130 - 160MHz" << qint64(13000000) << qint64(16100000) << "146.517"
            << "Channel 5: 146.517 MHz is not on a 5 kHz or 6.25 kHz step. Nearest: 146.515 or 146.51875 MHz.";
        QTest::newRow("nearest below lies outside the band") << false << "136 - 174MHz" << qint64(13600001) << qint64(17400000) << "136.00002"
            << "Channel 5: 136.00002 MHz is not on a 5 kHz or 6.25 kHz step. Nearest: 136.005 MHz.";
        QTest::newRow("decimal comma, Chinese") << true << "130 - 160MHz" << qint64(13000000) << qint64(16100000) << "146,5123"
            << "信道 5: 146,5123 MHz 不在 5 kHz 或 6.25 kHz 步进上。最近的有效频率: 146.51 或 146.5125 MHz。";
    }
    // clang-format on

    void refusedFrequencyMessage()
    {
        QFETCH(bool, chinese);
        QFETCH(QString, band);
        QFETCH(qint64, lower);
        QFETCH(qint64, upper);
        QFETCH(QString, typed);
        QFETCH(QString, line);
        CChannelGrid grid(chinese);
        grid.SetBandLimits({ lower, upper });
        const auto result = grid.Commit(5, 1, typed, CChannelGrid::Trigger::Enter);
        QVERIFY(result == CChannelGrid::Outcome::OutOfRange || result == CChannelGrid::Outcome::OffStep);
        QCOMPARE(grid.MessageFor(result, 5, typed, band), CChannelGrid::Message(result) + '\n' + line);
    }

    void enterWalk()
    {
        using Moves = std::vector<std::pair<int, int>>;
        QCOMPARE(CChannelGrid::EnterMoves(5, 1), Moves({ { 5, 2 } }));
        QCOMPARE(CChannelGrid::EnterMoves(5, 8), Moves({ { 5, 1 }, { 6, 1 } }));
        QCOMPARE(CChannelGrid::EnterMoves(16, 8), Moves({ { 1, 8 }, { 1, 1 } }));

        // Enter through the whole grid commits every cell as it stands and keeps the channels as they were.
        CRadioImage image;
        setRecord(image, 7, "00 20 65 14 00 50 65 14 13 28 75 03 08 40");
        CChannelGrid grid(false);
        grid.SetBandLimits(kBand130to160);
        grid.LoadImage(image);
        QCOMPARE(grid.Text(0, 1) + grid.Text(9, 0) + grid.Text(16, 0), QStringLiteral("Rx Frequency 916"));
        int row = 1, col = 1;
        for (int step = 0; step < 16 * 8; ++step) {
            QCOMPARE(grid.Commit(row, col, grid.Text(row, col), CChannelGrid::Trigger::Enter),
                CChannelGrid::Outcome::Accepted);
            const Moves moves = CChannelGrid::EnterMoves(row, col);
            // On the wrap the first cell of the row is entered and left on the way, committing itself.
            if (const auto [r, c] = moves.front(); moves.size() > 1)
                grid.Commit(r, c, grid.Text(r, c), CChannelGrid::Trigger::LeaveCell);
            std::tie(row, col) = moves.back();
        }
        QCOMPARE(std::pair(row, col), std::pair(1, 1));
        CRadioImage stored = image;
        grid.StoreGrid(stored);
        QCOMPARE(recordHex(stored, 7), recordHex(image, 7));
        QCOMPARE(stored.Byte(ImageMap::kGridStoredMark), std::uint8_t(0x50));
    }

    // clang-format off
    void bandFromImage_data()
    {
        QTest::addColumn<bool>("newDocument");
        QTest::addColumn<QPoint>("image"); // type and band bytes
        QTest::addColumn<QPoint>("settings"); // the user's Type and Field before
        QTest::addColumn<QPoint>("imageAfter");
        QTest::addColumn<QPoint>("settingsAfter");
        QTest::addColumn<QString>("title");
        QTest::addColumn<qint64>("lower");
        QTest::addColumn<qint64>("upper");
        const qint64 mhz = 100000;
        QTest::newRow("first band") << false << QPoint(0, 0) << QPoint(1, 0) << QPoint(0, 0) << QPoint(0, 0)
                                    << "R  [ Type:QR-260  Fre:130 - 160MHz ]" << 130 * mhz << 161 * mhz;
        QTest::newRow("second band") << false << QPoint(0, 1) << QPoint(1, 0) << QPoint(0, 1) << QPoint(0, 1)
                                     << "R  [ Type:QR-260  Fre: 136-174 MHz ]" << 136 * mhz << 175 * mhz;
        QTest::newRow("band without a dash") << false << QPoint(1, 0) << QPoint(0, 0) << QPoint(1, 0) << QPoint(1, 0)
                                             << "R  [ Type:QR-460  Fre:400MHz ]" << 400 * mhz << 401 * mhz;
        // A type or band the lists lack: the image keeps its bytes, the settings keep the last valid pair,
        // and frequencies are checked against the band the bytes select, never the settings' one: the
        // type's last band, or 0 to 1 MHz for a type without bands.
        QTest::newRow("band past the list") << false << QPoint(0, 9) << QPoint(1, 0) << QPoint(0, 9) << QPoint(1, 0)
                                            << "R  [ Type:QR-260  Fre:Unknown 0x09 ]" << 136 * mhz << 175 * mhz;
        QTest::newRow("unknown type") << false << QPoint(0x45, 0x4C) << QPoint(0, 1) << QPoint(0x45, 0x4C) << QPoint(0, 1)
                                      << "R  [ Type:Unknown 0x45  Fre:Unknown 0x4C ]" << 0 * mhz << 1 * mhz;
        QTest::newRow("unknown type, Chinese") << false << QPoint(0xFF, 0) << QPoint(0, 0) << QPoint(0xFF, 0) << QPoint(0, 0)
                                               << "R  [ 类型:未知 0xFF  频率:未知 0x00 ]" << 0 * mhz << 1 * mhz;
        QTest::newRow("new document takes the settings") << true << QPoint(0xFF, 0xFF) << QPoint(0, 1) << QPoint(0, 1)
            << QPoint(0, 1) << "R  [ Type:QR-260  Fre: 136-174 MHz ]" << 136 * mhz << 175 * mhz;
        // Settings an earlier version wrote after reading a radio of an unknown type.
        QTest::newRow("new document, settings outside the lists") << true << QPoint(0xFF, 0xFF) << QPoint(69, 76)
            << QPoint(0, 0) << QPoint(69, 76) << "R  [ Type:QR-260  Fre:130 - 160MHz ]" << 130 * mhz << 161 * mhz;
    }
    // clang-format on

    void bandFromImage()
    {
        QFETCH(bool, newDocument);
        QFETCH(QPoint, image);
        QFETCH(QPoint, settings);
        QFETCH(QPoint, imageAfter);
        QFETCH(QPoint, settingsAfter);
        QFETCH(QString, title);
        const bool chinese = title.contains(QStringLiteral("类型"));
        QFETCH(qint64, lower);
        QFETCH(qint64, upper);
        CIniFile ini;
        ini.LoadText(
            "[Setup]\nType1=QR-260\nField1=130 - 160MHz| 136-174 MHz\nType2=QR-460\nField2=400MHz\n");
        CUserSettings user(QStringLiteral("tst_editor"));
        user.SetTypeAndField(std::uint32_t(settings.x()), std::uint32_t(settings.y()));
        CRadioImage radio;
        radio.SetByte(ImageMap::kProductType, std::uint8_t(image.x()));
        radio.SetByte(ImageMap::kFrequencyBand, std::uint8_t(image.y()));

        ProductCatalog::SyncTypeAndBand(ini, radio, user, newDocument);
        QCOMPARE(
            QPoint(radio.Byte(ImageMap::kProductType), radio.Byte(ImageMap::kFrequencyBand)), imageAfter);
        QCOMPARE(QPoint(int(user.Type()), int(user.Field())), settingsAfter);
        const std::uint8_t type = radio.Byte(ImageMap::kProductType);
        const std::uint8_t band = radio.Byte(ImageMap::kFrequencyBand);
        QCOMPARE(ProductCatalog::WindowTitle("R", ProductCatalog::ShownTypeText(ini, type, chinese),
                     ProductCatalog::ShownBandText(ini, type, band, chinese), chinese),
            title);
        const BandLimits limits = ProductCatalog::CheckedLimits(ini, radio, user);
        QCOMPARE(qint64(limits.lower), lower);
        QCOMPARE(qint64(limits.upper), upper);
    }
};

QTEST_GUILESS_MAIN(TestEditorGrid)
#include "tst_editor_grid.moc"
