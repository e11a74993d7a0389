// The channel fields: decimal arithmetic, frequency checks and bytes, tone words, the tone list and
// the flag fields of a channel record.

#include "tests/radio/EditorTestSupport.h"

using namespace EditorTest;

class TestEditorFields : public QObject {
    Q_OBJECT

private slots:

    // clang-format off
    void decimalMultiply_data()
    {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<double>("product");
        QTest::newRow("146.52 MHz") << 146.52 << 100000.0 << 14652000.0;
        QTest::newRow("tone 254.1") << 254.1 << 10.0 << 2541.0;
        QTest::newRow("negative") << -146.52 << 100000.0 << -14652000.0;
        QTest::newRow("16th digit rounded away") << 1.0000000000000002 << 100000.0 << 100000.0;
        // Non-round factors: every part of the 30-digit product carries into the next one. The exact
        // products (12193263.1137021071359..., 25.9259259259258740740..., 85.3528425640908488035...)
        // round to the doubles given; a carry lost anywhere moves the result by many units in the last place.
        QTest::newRow("30-digit product") << 123.456789012345 << 98765.4321098765 << 12193263.113702107;
        QTest::newRow("sevens by threes") << 7.77777777777777 << 3.33333333333333 << 25.925925925925874;
        QTest::newRow("below one by tens") << 0.987654321098765 << 86.4197530864198 << 85.35284256409085;
        QTest::newRow("all nines") << 999999999999999.0 << 999999999999999.0 << 9.99999999999998e+29;
        QTest::newRow("overflow") << 1e300 << 1e300 << qInf();
        QTest::newRow("underflow") << 1e-300 << 1e-300 << 0.0;
        QTest::newRow("infinity") << qInf() << 10.0 << 0.0;
        QTest::newRow("nan") << qQNaN() << 10.0 << 0.0;
    }
    // clang-format on

    void decimalMultiply()
    {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(double, product);
        // To the last bit: a plain comparison of doubles would let a difference in the 14th digit pass.
        QCOMPARE(QString::number(DecimalMultiply(a, b), 'g', 17), QString::number(product, 'g', 17));
    }

    // clang-format off
    void frequencyCheck_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("upper"); // the lower limit is 0 where the upper one is not 161 MHz
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("display");
        const auto ok = int(FrequencyVerdict::Accepted), out = int(FrequencyVerdict::OutOfRange),
                   step = int(FrequencyVerdict::OffStep);
        const qint64 band = kBand130to160.upper, noBand = 100000, wide = qint64(1) << 40;
        QTest::newRow("plain") << "146.52" << band << ok << "146.52000";
        QTest::newRow("blanks, sign, exponent") << " \t+1.4652e2" << band << ok << "146.52000";
        QTest::newRow("trailing junk") << "146.52abc" << band << ok << "146.52000";
        QTest::newRow("dangling exponent") << "146.5e" << band << ok << "146.50000";
        QTest::newRow("hexadecimal") << "0x92" << band << ok << "146.00000";
        QTest::newRow("hexadecimal fraction") << "0x92.8p0" << band << ok << "146.50000";
        QTest::newRow("6.25 kHz step") << "136.0125" << band << ok << "136.01250";
        QTest::newRow("sixth decimal cut, not rounded up off step") << "146.520009" << band << ok << "146.52000";
        QTest::newRow("upper limit inclusive") << "161" << band << ok << "161.00000";
        QTest::newRow("lower limit inclusive") << "130" << band << ok << "130.00000";
        QTest::newRow("leading point") << ".5" << band << out << "0.50000";
        QTest::newRow("above band") << "161.005" << band << out << "161.00500";
        QTest::newRow("below band") << "129.995" << band << out << "129.99500";
        QTest::newRow("no number") << "abc" << band << out << "0.00000";
        QTest::newRow("decimal comma") << "146,5" << band << ok << "146.50000";
        QTest::newRow("decimal comma, off step") << "146,5123" << band << step << "146.51230";
        QTest::newRow("off step") << "146.5123" << band << step << "146.51230";
        QTest::newRow("off step near top") << "160.99999" << band << step << "160.99999";
        QTest::newRow("exponent overflow") << "1e400" << band << out << "inf";
        QTest::newRow("no band: 1 MHz") << "1" << noBand << ok << "1.00000";
        QTest::newRow("no band: negative zero") << "-0" << noBand << ok << "0.00000";
        QTest::newRow("no band: tiny negative") << "-0.000001" << noBand << ok << "0.00000";
        QTest::newRow("no band: inf") << "inf" << noBand << out << "inf";
        QTest::newRow("no band: -nan") << "-nan" << noBand << out << "-nan";
        // Four BCD pairs end below 1000 MHz, whatever a wide band allows.
        QTest::newRow("wide band: 1000") << "1000" << wide << out << "1000.00000";
        QTest::newRow("wide band: 999.995") << "999.995" << wide << ok << "999.99500";
    }
    // clang-format on

    void frequencyCheck()
    {
        QFETCH(QString, typed);
        QFETCH(qint64, upper);
        QFETCH(int, verdict);
        QFETCH(QString, display);
        const FrequencyCheck check
            = CheckFrequency(typed, upper == kBand130to160.upper ? kBand130to160.lower : 0, upper);
        QCOMPARE(int(check.verdict), verdict);
        QCOMPARE(check.displayText, display);
    }

    // clang-format off
    void frequencyBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("storedBack");
        QTest::newRow("146.52") << Hex("00 20 65 14") << "146.52000" << Hex("00 20 65 14");
        QTest::newRow("136.0125") << Hex("50 12 60 13") << "136.01250" << Hex("50 12 60 13");
        QTest::newRow("top of BCD") << Hex("99 99 99 99") << "999.99999" << Hex("99 99 99 99");
        QTest::newRow("top pair 00") << Hex("00 20 65 00") << "" << Hex("FF FF FF FF");
        QTest::newRow("top pair FF") << Hex("00 20 65 FF") << "" << Hex("FF FF FF FF");
        QTest::newRow("odd low nibble") << Hex("0A 20 65 14") << "146.52010" << Hex("10 20 65 14");
        QTest::newRow("odd nibbles below top") << Hex("FF FF FF 14") << "156.66665" << Hex("65 66 66 15");
        QTest::newRow("odd top nibble, 100 MHz") << Hex("00 00 00 0A") << "100.00000" << Hex("00 00 00 10");
        // 1000 MHz and up has no BCD form: the bytes it came from stay.
        QTest::newRow("1000 MHz") << Hex("00 00 00 A0") << "1000.00000" << Hex("00 00 00 A0");
        QTest::newRow("highest") << Hex("FF FF FF FE") << "1656.66665" << Hex("FF FF FF FE");
    }
    // clang-format on

    void frequencyBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QByteArray, storedBack);
        auto* field = reinterpret_cast<std::uint8_t*>(bytes.data());
        QCOMPARE(DecodeFrequency(std::span<const std::uint8_t, 4>(field, 4)), text);
        EncodeFrequency(text, std::span<std::uint8_t, 4>(field, 4));
        QCOMPARE(bytes, storedBack);
    }

    // clang-format off
    void toneWord_data()
    {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<bool>("emptyChannel");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QByteArray>("storedBack");
        QTest::newRow("88.5") << Hex("75 03") << false << "88.5" << "88.5" << Hex("75 03");
        QTest::newRow("254.1") << Hex("ED 09") << false << "254.1" << "254.1" << Hex("ED 09");
        QTest::newRow("unlisted 69.4") << Hex("B6 02") << false << "69.4" << "69.4" << Hex("B6 02");
        QTest::newRow("tone on empty channel") << Hex("00 01") << true << "25.6" << "25.6" << Hex("00 01");
        QTest::newRow("D023N") << Hex("13 28") << false << "D023N" << "D023N" << Hex("13 28");
        QTest::newRow("D411N") << Hex("09 29") << false << "D411N" << "D411N" << Hex("09 29");
        QTest::newRow("D754I") << Hex("EC A9") << false << "D754I" << "D754I" << Hex("EC A9");
        QTest::newRow("unlisted D017N") << Hex("0F 28") << false << "D017N" << "D017N" << Hex("0F 28");
        QTest::newRow("unlisted D050I") << Hex("28 A8") << false << "D050I" << "D050I" << Hex("28 A8");
        QTest::newRow("unknown value 0") << Hex("00 28") << false << "D000N" << "D000N" << Hex("00 28");
        QTest::newRow("unknown high value") << Hex("FF A9") << false << "D000I" << "D000I" << Hex("00 A8");
        QTest::newRow("no tone") << Hex("FF FF") << false << "None" << "无" << Hex("FF FF");
        QTest::newRow("no tone, kind 00") << Hex("55 00") << false << "None" << "无" << Hex("FF FF");
        QTest::newRow("no tone, empty channel") << Hex("FF FF") << true << "" << "" << Hex("FF FF");
    }
    // clang-format on

    void toneWord()
    {
        QFETCH(QByteArray, word);
        QFETCH(bool, emptyChannel);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QFETCH(QByteArray, storedBack);
        QCOMPARE(DecodeTone(std::uint8_t(word[0]), std::uint8_t(word[1]), emptyChannel, false), english);
        QCOMPARE(DecodeTone(std::uint8_t(word[0]), std::uint8_t(word[1]), emptyChannel, true), chinese);
        for (const QString& text : { english, chinese }) {
            auto* stored = reinterpret_cast<std::uint8_t*>(word.data());
            EncodeTone(text, stored[0], stored[1]);
            QCOMPARE(word, storedBack);
        }
    }

    // The list and the code table against the standard lists typed out above; every list item is
    // stored as its tone word and read back as itself.
    void toneListAndDcsTable()
    {
        QStringList expected { "None" };
        for (const char* tone : kStandardCtcss)
            expected << QString::fromLatin1(tone);
        for (const char* polarity : { "N", "I" })
            for (const StandardDcs& dcs : kStandardDcs)
                expected << QStringLiteral("D%1%2").arg(QLatin1String(dcs.code), QLatin1String(polarity));
        QCOMPARE(ToneTable::BuildToneList(false), expected);
        expected[0] = QStringLiteral("无");
        QCOMPARE(ToneTable::BuildToneList(true), expected);

        for (const char* tone : kStandardCtcss) {
            const int tenths = QString::fromLatin1(tone).remove('.').toInt(); // "173.8": 1738 = 0x06CA
            std::uint8_t low = 0, kind = 0;
            EncodeTone(QString::fromLatin1(tone), low, kind);
            QCOMPARE(QList<int>({ low, kind }), QList<int>({ tenths % 256, tenths / 256 }));
            QCOMPARE(DecodeTone(low, kind, false, false), QString::fromLatin1(tone));
        }
        // Bit 8 of the value goes to bit 0 of the kind byte: 28/29 normal, A8/A9 inverted.
        for (const StandardDcs& dcs : kStandardDcs) {
            const int code = QString::fromLatin1(dcs.code).toInt();
            QCOMPARE(DcsValueToCode(dcs.value), code);
            QCOMPARE(DcsCodeToValue(code), dcs.value % 256);
            for (const bool inverted : { false, true }) {
                const QString text
                    = QStringLiteral("D%1%2").arg(QLatin1String(dcs.code), inverted ? "I" : "N");
                std::uint8_t low = 0, kind = 0;
                EncodeTone(text, low, kind);
                QCOMPARE(QList<int>({ low, kind }),
                    QList<int>({ dcs.value % 256, (inverted ? 0xA8 : 0x28) + dcs.value / 256 }));
                QCOMPARE(DecodeTone(low, kind, false, false), text);
            }
        }
        // Besides the listed codes only 017 (value 15) and 050 (value 40) are known.
        QCOMPARE(DcsValueToCode(15), 17);
        QCOMPARE(DcsValueToCode(40), 50);
        QCOMPARE(DcsCodeToValue(50), 40);
        int known = 0;
        for (int value = 0; value < 512; ++value)
            known += DcsValueToCode(value) != 0 ? 1 : 0;
        QCOMPARE(known, 107);
        QCOMPARE(DcsCodeToValue(24), 0);
        QCOMPARE(DcsValueToCode(20), 0); // octal 024, no code
    }

    // clang-format off
    void flagFields_data()
    {
        QTest::addColumn<int>("flagsA");
        QTest::addColumn<int>("flagsB");
        QTest::addColumn<bool>("scan");
        QTest::addColumn<QString>("english"); // W/N, Scan, Busy Lock, Power
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<int>("storedA"); // after encoding the decoded texts again
        QTest::addColumn<int>("storedB");
        QTest::newRow("all clear") << 0x00 << 0x00 << false << "Narrow|No|Off|Low" << "窄|否|关|低" << 0x00 << 0x00;
        QTest::newRow("wide carrier high") << 0x08 << 0x30 << true << "Wide|Yes|Carrier|High" << "宽|是|载波|高" << 0x08 << 0x30;
        QTest::newRow("tone lock middle") << 0x10 << 0x40 << true << "Narrow|Yes|QT/DQT|Middle"
                                          << "窄|是|QT/DQT|中" << 0x10 << 0x40;
        QTest::newRow("both bits set: tone, high") << 0xFF << 0xFF << false << "Wide|No|QT/DQT|High"
                                                   << "宽|否|QT/DQT|高" << 0xF7 << 0xBF;
        QTest::newRow("carried bits kept") << 0xE7 << 0x8F << true << "Narrow|Yes|Off|Low" << "窄|是|关|低" << 0xE7 << 0x8F;
    }
    // clang-format on

    void flagFields()
    {
        QFETCH(int, flagsA);
        QFETCH(int, flagsB);
        QFETCH(bool, scan);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QFETCH(int, storedA);
        QFETCH(int, storedB);
        for (int channel : { 1, 8, 9, 16 }) {
            CRadioImage image;
            setRecord(image, channel, "00 20 65 14 00 20 65 14 FF FF FF FF");
            image.SetByte(channel * 16 + 12, std::uint8_t(flagsA));
            image.SetByte(channel * 16 + 13, std::uint8_t(flagsB));
            image.SetScanFlag(channel, scan);
            for (bool zh : { false, true }) {
                const RowTexts texts = DecodeChannel(image, channel, zh);
                QCOMPARE(joined(texts).section('|', 4), zh ? chinese : english);
                CRadioImage copy = image;
                EncodeChannel(copy, channel, texts);
                QCOMPARE(int(copy.Byte(channel * 16 + 12)), storedA);
                QCOMPARE(int(copy.Byte(channel * 16 + 13)), storedB);
                QVERIFY(copy.Range(ImageMap::kScanFlags, 2)[0] == image.Range(ImageMap::kScanFlags, 2)[0]
                    && copy.Range(ImageMap::kScanFlags, 2)[1] == image.Range(ImageMap::kScanFlags, 2)[1]);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestEditorFields)
#include "tst_editor_fields.moc"
