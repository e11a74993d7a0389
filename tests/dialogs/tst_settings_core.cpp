#include "config/IniFile.h"
#include "config/Language.h"
#include "radio/OptionalFeatures.h"
#include "dialogs/ProductChoice.h"
#include "image/RadioImage.h"

#include <QTest>

// The radio-wide option mapping and the product choice, as the dialogs and program-cli share them.
class TestSettingsCore : public QObject {
    Q_OBJECT

private:
    // Options in dialog order.
    enum { kTot, kSql, kVoice, kPriority, kVox, kVoxGain, kVoxDelay, kSideKey, kBeep, kSaver };

    static const OptionalFeatures::Option& option(int i) { return OptionalFeatures::All()[static_cast<std::size_t>(i)]; }

    // Several types, with bands in several hundred-MHz classes.
    static void fillIni(CIniFile& ini, const char* chineseName)
    {
        ini.LoadText(QByteArray("[Setup]\n"
                                "Type1=QR-260\n"
                                "Field1=130 - 160MHz|136 - 174MHz|400 - 470MHz\n"
                                "Type2=QR-460\n"
                                "Field2=400 - 470MHz|450 - 520MHz\n"
                                "Type3=QR-860\n"
                                "Field3=806 - 870MHz|350 - 390MHz|245MHz\n"
                                "[English]\n"
                                "AppName=Radio Tool\n"
                                "[Chinese]\n"
                                "AppName=")
            + chineseName + "\n");
    }

private slots:
    void cleanup() { CLanguage::SetName(QString()); }

    // What a byte shows, in both languages, and what OK without a change stores back.
    void optionFromByte_data()
    {
        QTest::addColumn<int>("opt");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<int>("stored");

        QTest::newRow("tot first") << int(kTot) << 1 << "15s" << "15s" << 1;
        QTest::newRow("tot last") << int(kTot) << 40 << "600s" << "600s" << 40;
        QTest::newRow("tot zero unlisted") << int(kTot) << 0 << "" << "" << 0;
        QTest::newRow("tot 41 unlisted") << int(kTot) << 41 << "" << "" << 41;
        QTest::newRow("sql 9") << int(kSql) << 9 << "9" << "9" << 9;
        QTest::newRow("sql 10 unlisted") << int(kSql) << 10 << "" << "" << 10;
        QTest::newRow("voice off") << int(kVoice) << 0 << "Off" << "关" << 0;
        QTest::newRow("voice english") << int(kVoice) << 2 << "English" << "英文" << 2;
        QTest::newRow("voice 3 unlisted") << int(kVoice) << 3 << "" << "" << 3;
        QTest::newRow("priority off") << int(kPriority) << 0 << "Off" << "关" << 0;
        QTest::newRow("priority 16") << int(kPriority) << 16 << "16" << "16" << 16;
        QTest::newRow("priority 0xFF unlisted") << int(kPriority) << 0xFF << "" << "" << 0xFF;
        QTest::newRow("vox 1 on") << int(kVox) << 1 << "On" << "开" << 1;
        QTest::newRow("vox 0 off") << int(kVox) << 0 << "Off" << "关" << 0;
        QTest::newRow("vox 5 unlisted kept") << int(kVox) << 5 << "" << "" << 5;
        QTest::newRow("vox gain 1") << int(kVoxGain) << 1 << "1" << "1" << 1;
        QTest::newRow("vox gain 8") << int(kVoxGain) << 8 << "8" << "8" << 8;
        QTest::newRow("vox gain 0 unlisted") << int(kVoxGain) << 0 << "" << "" << 0;
        QTest::newRow("vox delay 3.0s") << int(kVoxDelay) << 5 << "3.0s" << "3.0s" << 5;
        QTest::newRow("vox delay 6 unlisted") << int(kVoxDelay) << 6 << "" << "" << 6;
        QTest::newRow("side key 0xEF") << int(kSideKey) << 0xEF << "Monitor Momentary" << "监听瞬时" << 0xEF;
        QTest::newRow("side key 0x00") << int(kSideKey) << 0x00 << "Off" << "关闭" << 0x00;
        QTest::newRow("side key 0xFF") << int(kSideKey) << 0xFF << "Emergency Alarm" << "紧急报警" << 0xFF;
        QTest::newRow("beep 5 on, stored 1") << int(kBeep) << 5 << "On" << "开" << 1;
        QTest::newRow("beep 0 off") << int(kBeep) << 0 << "Off" << "关" << 0;
        QTest::newRow("saver 0xFF on, stored 1") << int(kSaver) << 0xFF << "On" << "开" << 1;
    }

    void optionFromByte()
    {
        QFETCH(int, opt);
        QFETCH(int, byte);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QFETCH(int, stored);
        CRadioImage image;
        image.ApplyDefaults();
        image.SetByte(option(opt).offset, static_cast<std::uint8_t>(byte));
        const CRadioImage before = image;

        QCOMPARE(OptionalFeatures::ValueText(option(opt), image, false), english);
        QCOMPARE(OptionalFeatures::ValueText(option(opt), image, true), chinese);
        const int index = OptionalFeatures::SelectionFromImage(option(opt), image);
        QCOMPARE(index < 0, english.isEmpty());

        // The dialog's OK stores the selection it showed; nothing else moves.
        OptionalFeatures::StoreSelection(option(opt), image, index);
        QCOMPARE(int(image.Byte(option(opt).offset)), stored);
        for (int offset = 0; offset < ImageMap::kImageSize; ++offset)
            if (offset != option(opt).offset)
                QCOMPARE(image.Byte(offset), before.Byte(offset));
    }

    // Byte 0x30E moves only when the band's low end changes hundred-MHz class.
    void bandClassRule_data()
    {
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("stored");

        const int kept = 0x55;
        QTest::newRow("400s to 100s") << "400 - 470MHz" << "130 - 160MHz" << 2;
        QTest::newRow("100s to 400s") << "130 - 160MHz" << "400 - 470MHz" << 8;
        QTest::newRow("100s to 300s") << "130 - 160MHz" << "350 - 390MHz" << 8;
        QTest::newRow("within 100s") << "130 - 160MHz" << "136 - 174MHz" << kept;
        QTest::newRow("within 400s") << "450 - 520MHz" << "400 - 470MHz" << kept;
        QTest::newRow("same band") << "130 - 160MHz" << "130 - 160MHz" << kept;
        QTest::newRow("to 200s untouched") << "130 - 160MHz" << "245MHz" << kept;
        QTest::newRow("to 800s untouched") << "400 - 470MHz" << "806 - 870MHz" << kept;
        QTest::newRow("from 800s to 100s") << "806 - 870MHz" << "136 - 174MHz" << 2;
        QTest::newRow("from 0s to 400s") << "66 - 88MHz" << "400 - 470MHz" << 8;
        QTest::newRow("199 to 200 is a new class") << "199 - 200MHz" << "200 - 260MHz" << kept;
        QTest::newRow("empty text to 100s") << "" << "100 - 101MHz" << 2;
    }

    void bandClassRule()
    {
        QFETCH(QString, previous);
        QFETCH(QString, chosen);
        QFETCH(int, stored);
        CRadioImage image;
        image.SetByte(ImageMap::kNarrowSquelchThreshold, 0x55);
        ProductCatalog::ApplyBandClassRule(image, ProductCatalog::LimitsFromBandText(previous).lower,
            ProductCatalog::LimitsFromBandText(chosen).lower);
        QCOMPARE(int(image.Byte(ImageMap::kNarrowSquelchThreshold)), stored);
    }

    // OK's effect on the image from the selection indexes; -1 (no selection) keeps its byte.
    void productApply_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("band");
        QTest::addColumn<QByteArray>("bytes"); // 0x30E, 0x32E, 0x32F after
        QTest::addColumn<QString>("title");
        QTest::addColumn<qint64>("lower");
        QTest::addColumn<qint64>("upper");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QString>("language");

        // Before: type 0 band 0 ("130 - 160MHz"), 0x30E = 0x33.
        QTest::newRow("same again") << 0 << 0 << QByteArray("\x33\x00\x00", 3)
                                    << "Radio Tool  [ Type:QR-260  Fre:130 - 160MHz ]" << qint64(13000000)
                                    << qint64(16100000) << true << "English";
        QTest::newRow("other 400s type")
            << 1 << 1 << QByteArray("\x08\x01\x01", 3) << "Radio Tool  [ Type:QR-460  Fre:450 - 520MHz ]"
            << qint64(45000000) << qint64(52100000) << true << "English";
        QTest::newRow("band without dash")
            << 2 << 2 << QByteArray("\x33\x02\x02", 3) << "Radio Tool  [ Type:QR-860  Fre:245MHz ]"
            << qint64(24500000) << qint64(24600000) << true << "English";
        QTest::newRow("no band selection keeps byte")
            << 0 << -1 << QByteArray("\x33\x00\x00", 3) << "Radio Tool  [ Type:QR-260  Fre:130 - 160MHz ]"
            << qint64(13000000) << qint64(16100000) << false << "English";
        QTest::newRow("no selection at all")
            << -1 << -1 << QByteArray("\x33\x00\x00", 3) << "Radio Tool  [ Type:QR-260  Fre:130 - 160MHz ]"
            << qint64(13000000) << qint64(16100000) << false << "English";
        // A Chinese run titles in Chinese, labels and product name, as the channel view does.
        QTest::newRow("Chinese") << 1 << 0 << QByteArray("\x08\x01\x00", 3)
                                 << "电台工具  [ 类型:QR-460  频率:400 - 470MHz ]" << qint64(40000000)
                                 << qint64(47100000) << true << "Chinese";
        // An unlisted band is named unknown and checked against its type's last band, 450 - 520MHz
        // (class 4 after class 1: 0x30E becomes 8), not against the band chosen before.
        QTest::newRow("band past the list")
            << 1 << 2 << QByteArray("\x08\x01\x02", 3) << "Radio Tool  [ Type:QR-460  Fre:Unknown 0x02 ]"
            << qint64(45000000) << qint64(52100000) << false << "English";
        QTest::newRow("band past the list, Chinese")
            << 1 << 2 << QByteArray("\x08\x01\x02", 3) << "电台工具  [ 类型:QR-460  频率:未知 0x02 ]"
            << qint64(45000000) << qint64(52100000) << false << "Chinese";
    }

    void productApply()
    {
        QFETCH(int, type);
        QFETCH(int, band);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        QFETCH(qint64, lower);
        QFETCH(qint64, upper);
        QFETCH(bool, listed);
        QFETCH(QString, language);
        CIniFile ini;
        fillIni(ini, "电台工具");
        CLanguage::SetName(language);
        CRadioImage image;
        image.SetByte(ImageMap::kNarrowSquelchThreshold, 0x33);
        image.SetByte(ImageMap::kProductType, 0);
        image.SetByte(ImageMap::kFrequencyBand, 0);
        const std::int64_t previous = ProductChoice::Current(ini, image).limits.lower;

        const ProductChoice::Outcome outcome = ProductChoice::Apply(ini, image, type, band, previous);
        const char after[] = { char(image.Byte(0x30E)), char(image.Byte(0x32E)), char(image.Byte(0x32F)) };
        QCOMPARE(QByteArray(after, 3), bytes);
        QCOMPARE(outcome.title, title);
        QCOMPARE(outcome.limits.lower, lower);
        QCOMPARE(outcome.limits.upper, upper);
        QCOMPARE(ProductCatalog::IsListed(ini, type, band), listed);
    }
};

QTEST_GUILESS_MAIN(TestSettingsCore)
#include "tst_settings_core.moc"
