#include "editor/ChannelRows.h"
#include "image/BackupStore.h"
#include "tests/common/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace ChannelCodec;
using ChannelRows::Range;

namespace {

constexpr BandLimits kBand { 13000000, 16100000 }; // 130 - 160MHz

// Channels programmed with the given receive frequencies ("" leaves one empty); byte 14 of each
// record carries the channel's own number and the scan bit is off on even channels, so a test can
// see that a channel moved whole.
CRadioImage layout(const QStringList& frequencies)
{
    CRadioImage image;
    for (int i = 0; i < frequencies.size(); ++i) {
        const int channel = i + 1;
        if (frequencies[i].isEmpty())
            continue;
        EncodeChannel(
            image, channel, { frequencies[i], frequencies[i], "None", "None", "Wide", "Yes", "Off", "High" });
        image.ChannelRecord(channel)[14] = std::uint8_t(channel);
        image.SetScanFlag(channel, channel % 2 == 1);
    }
    return image;
}

// Where each channel came from ("3" for the record made as channel 3, "-" for an unprogrammed one
// that is all 0xFF with its scan bit set); anything else is "?".
QString origins(const CRadioImage& image)
{
    QStringList out;
    for (int channel = 1; channel <= 16; ++channel) {
        const ChannelRows::Slot slot = ChannelRows::Take(image, channel);
        if (slot == ChannelRows::EmptySlot()) {
            out << "-";
            continue;
        }
        const int from = slot.record[14];
        out << ((slot.scan == (from % 2 == 1)) ? QString::number(from) : QStringLiteral("?"));
    }
    return out.join(' ');
}

QString joined(const std::vector<RowTexts>& rows)
{
    QStringList out;
    for (const RowTexts& row : rows)
        out << QStringList(row.begin(), row.end()).join('|');
    return out.join('\n');
}

const QStringList kFour { "146.5", "140", "", "150.0125" }; // channels 1, 2 and 4 programmed

} // namespace

class TestRows : public QObject {
    Q_OBJECT

private slots:
    void operations_data()
    {
        QTest::addColumn<QStringList>("frequencies");
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("after");

        const QString rest = " - - - - - - - - - - - -";
        QTest::newRow("clear two") << kFour << "clear" << 1 << 2 << true << "- - - 4" + rest;
        QTest::newRow("remove closes the gap") << kFour << "remove" << 1 << 2 << true << "- 4 - -" + rest;
        QTest::newRow("remove the last") << kFour << "remove" << 16 << 16 << true << "1 2 - 4" + rest;
        QTest::newRow("insert moves the rest down")
            << kFour << "insert" << 2 << 3 << true << "1 - - 2 - 4 - -" + QString(" - - - - - - - -");
        QTest::newRow("insert at 16") << kFour << "insert" << 16 << 16 << true << "1 2 - 4" + rest;
        QStringList full = kFour;
        while (full.size() < 16)
            full << "";
        full[15] = "155";
        QTest::newRow("insert would push 16 out")
            << full << "insert" << 1 << 1 << false << "1 2 - 4 - - - - - - - - - - - 16";
        QTest::newRow("move two up") << kFour << "up" << 2 << 3 << true << "2 - 1 4" + rest;
        QTest::newRow("move up at the top") << kFour << "up" << 1 << 2 << false << "1 2 - 4" + rest;
        QTest::newRow("move down") << kFour << "down" << 1 << 1 << true << "2 1 - 4" + rest;
        QTest::newRow("move down at the bottom") << kFour << "down" << 15 << 16 << false << "1 2 - 4" + rest;
        QTest::newRow("sort, empties last") << kFour << "sort" << 1 << 1 << true << "2 1 4 -" + rest;
        QTest::newRow("sort keeps equal ones in order") << QStringList { "", "150", "140", "150",
            "140" } << "sort" << 1 << 1 << true << "3 5 2 4 - - - - - - - - - - - -";
    }

    void operations()
    {
        QFETCH(QStringList, frequencies);
        QFETCH(QString, op);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, done);
        QFETCH(QString, after);
        CRadioImage image = layout(frequencies);
        image.SetByte(0x200, 0x5A); // far from the channels: never touched
        const Range range { first, last };
        bool result = true;
        if (op == "clear")
            ChannelRows::Clear(image, range);
        else if (op == "remove")
            ChannelRows::Remove(image, range);
        else if (op == "insert")
            result = ChannelRows::Insert(image, first, range.Count());
        else if (op == "up" || op == "down")
            result = ChannelRows::Move(image, range, op == "up" ? -1 : 1);
        else
            ChannelRows::SortByReceive(image);
        QCOMPARE(result, done);
        QCOMPARE(origins(image), after);
        QCOMPARE(image.Byte(0x200), std::uint8_t(0x5A));
    }

    void paste_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QStringList>("errors");

        QTest::newRow("copied rows with their numbers")
            << "1\t146.50000\t146.50000\tD023N\t67.0\tNarrow\tNo\tCarrier\tMiddle\n"
            << false << "146.50000|146.50000|D023N|67.0|Narrow|No|Carrier|Middle" << QStringList {};
        QTest::newRow("spreadsheet shortenings, blanks take the defaults")
            << "Rx Frequency\tTx Frequency\r\n146.5\t\t67\td023n\tnarrow\r\n\r\n"
            << false << "146.50000|146.50000|67.0|D023N|Narrow|Yes|Off|High" << QStringList {};
        QTest::newRow("an empty line is an empty channel")
            << "140\n\n150,0125\n"
            << false
            << "140.00000|140.00000|None|None|Wide|Yes|Off|High\n|||||||\n"
               "150.01250|150.01250|None|None|Wide|Yes|Off|High"
            << QStringList {};
        QTest::newRow("Chinese texts into an English grid")
            << "146.5\t146.5\t无\t无\t窄\t否\t载波\t低" << false
            << "146.50000|146.50000|None|None|Narrow|No|Carrier|Low" << QStringList {};
        QTest::newRow("English texts into a Chinese grid")
            << "146.5\t146.5\tNone\t67.0\tWide\tYes\tQT/DQT\tHigh" << true
            << "146.50000|146.50000|无|67.0|宽|是|QT/DQT|高" << QStringList {};
        QTest::newRow("every refusal is listed with its line")
            << "165\n146.5123\n146.5\t146.5\t67.1\n\t\t67.0\n146.5\t170\n1\t2\t3\t4\t5\t6\t7\t8\t9\t10\n146."
               "5\t\t\t\tWidest"
            << false << ""
            << QStringList { "Line 1: Rx Frequency 165 is out of range",
                   "Line 2: Rx Frequency 146.5123 is not on the 5 kHz or 6.25 kHz step",
                   "Line 3: \"67.1\" is not a choice of QT/DQT Dec", "Line 4: no receive frequency",
                   "Line 5: Tx Frequency 170 is out of range", "Line 6: more columns than the grid has",
                   "Line 7: \"Widest\" is not a choice of W/N" };
        QTest::newRow("refusal in Chinese")
            << "165" << true << "" << QStringList { "第1行: 接收频率 165 超出范围" };
    }

    void paste()
    {
        QFETCH(QString, text);
        QFETCH(bool, chinese);
        QFETCH(QString, rows);
        QFETCH(QStringList, errors);
        const ChannelRows::PasteResult result = ChannelRows::ParsePaste(text, kBand, chinese);
        QCOMPARE(result.errors, errors);
        if (errors.isEmpty())
            QCOMPARE(joined(result.rows), rows);
    }

    // What copy gives, paste takes back: over the same channels not one byte changes, into a blank
    // radio every channel shows the same texts, in either language.
    void copyPasteRoundTrip_data()
    {
        QTest::addColumn<bool>("copyChinese");
        QTest::addColumn<bool>("pasteChinese");
        QTest::newRow("English") << false << false;
        QTest::newRow("Chinese to English") << true << false;
    }

    void copyPasteRoundTrip()
    {
        QFETCH(bool, copyChinese);
        QFETCH(bool, pasteChinese);
        CRadioImage image = layout(kFour);
        EncodeChannel(
            image, 5, { "145.00625", "140.5", "D754I", "254.1", "Narrow", "No", "QT/DQT", "Middle" });
        EncodeChannel(image, 6, { "159.99", "", "", "", "", "", "", "" }); // receive only
        image.ChannelRecord(5)[15] = 0x3C;
        const QString text = ChannelRows::CopyText(image, { 1, 16 }, copyChinese);
        const ChannelRows::PasteResult pasted = ChannelRows::ParsePaste(text, kBand, pasteChinese);
        QCOMPARE(pasted.errors, QStringList {});
        QCOMPARE(int(pasted.rows.size()), 16);

        CRadioImage same = image;
        QVERIFY(ChannelRows::ApplyPaste(same, 1, pasted.rows, pasteChinese));
        for (int channel = 1; channel <= 16; ++channel) {
            if (channel == 6)
                continue; // a receive-only channel gains the transmit frequency a pasted one follows
            QCOMPARE(ChannelRows::Take(same, channel), ChannelRows::Take(image, channel));
        }
        CRadioImage blank;
        blank.ChannelRecord(1)[15] = 0x77; // an empty channel's own byte survives a paste into it
        QVERIFY(ChannelRows::ApplyPaste(blank, 1, pasted.rows, pasteChinese));
        QCOMPARE(blank.ChannelRecord(1)[15], std::uint8_t(0x77));
        for (int channel : { 1, 2, 3, 4, 5 })
            QCOMPARE(DecodeChannel(blank, channel, false), DecodeChannel(image, channel, false));

        // Rows that do not fit change nothing.
        CRadioImage untouched = image;
        QVERIFY(!ChannelRows::ApplyPaste(untouched, 2, pasted.rows, pasteChinese));
        QCOMPARE(untouched, image);
    }

    // The newest 50 reads are kept, a second read in the same second gets its own file, and the
    // user's own files in the folder stay.
    void backupRotation()
    {
        QTemporaryDir dir;
        const CBackupStore store(dir.filePath("Backups"));
        const QDateTime start(QDate(2026, 12, 8), QTime(0, 15, 2));
        QVERIFY(QDir().mkpath(dir.filePath("Backups")));
        QVERIFY(TestFiles::Write(dir.filePath("Backups/mine.dat"), "keep"));
        for (int i = 0; i < 53; ++i) {
            CRadioImage image;
            image.SetByte(ImageMap::kProductType, std::uint8_t(i % 3));
            image.SetByte(ImageMap::kFrequencyBand, std::uint8_t(i));
            QString path;
            QVERIFY(store.Keep(image, start.addSecs(i / 2), &path).ok());
            QCOMPARE(QFileInfo(path).fileName(),
                QStringLiteral("read-20261208-%1%2.dat")
                    .arg(QTime(0, 15, 2).addSecs(i / 2).toString("HHmmss"))
                    .arg(i % 2 ? "-2" : ""));
        }
        QVERIFY(
            TestFiles::Write(dir.filePath("Backups/read-20261208-001507.dat"), "short")); // spoilt by hand
        const QList<CBackupStore::Entry> entries = store.List();
        QCOMPARE(entries.size(), 49); // 50 kept, the spoilt one left out
        QCOMPARE(entries.first().band, std::uint8_t(52));
        QCOMPARE(entries.first().type, std::uint8_t(52 % 3));
        QCOMPARE(entries.first().time, start.addSecs(26));
        QCOMPARE(entries[1].band, std::uint8_t(51)); // the second read of its second is the newer
        QCOMPARE(entries.last().band, std::uint8_t(3));
        QCOMPARE(TestFiles::Read(dir.filePath("Backups/mine.dat")), QByteArray("keep"));
        QVERIFY(!QFile::exists(dir.filePath("Backups/read-20261208-001502.dat")));

        // The clock ran ahead and was put right: the read made now sorts below all 50 kept. It is kept
        // and named; the lowest-sorting of the others goes instead.
        CRadioImage late;
        late.SetByte(ImageMap::kFrequencyBand, 99);
        QString kept;
        QVERIFY(store.Keep(late, start.addDays(-1), &kept).ok());
        QCOMPARE(kept, dir.filePath("Backups/read-20261207-001502.dat"));
        QCOMPARE(store.List().last().band, std::uint8_t(99));
        QVERIFY(!QFile::exists(dir.filePath("Backups/read-20261208-001503-2.dat"))); // was the 50th
        // The next read keeps that one too: what the clock named ahead goes first, oldest name first.
        QVERIFY(store.Keep(late, start.addDays(-1).addSecs(1), &kept).ok());
        QVERIFY(QFile::exists(dir.filePath("Backups/read-20261207-001502.dat")) && QFile::exists(kept));
        QVERIFY(!QFile::exists(dir.filePath("Backups/read-20261208-001504.dat")));
        QCOMPARE(QDir(dir.filePath("Backups")).entryList({ "read-*.dat" }).size(), 50);

        // A folder that cannot be made is said as such; nothing is listed.
        const CBackupStore blocked(dir.filePath("Backups/mine.dat/Backups"));
        const DataFile::Result result = blocked.Keep(CRadioImage(), start);
        QCOMPARE(result.status, DataFile::Status::WriteFailed);
        QCOMPARE(result.detail, QString("the folder cannot be made"));
        QVERIFY(blocked.List().isEmpty());

        // A name taken by a symlink, even one leading nowhere, is never written through; a folder
        // that is a symlink is the user's choice and works.
        const QString outside = dir.filePath("outside.dat");
        QVERIFY(QFile::link(outside, dir.filePath("Backups/read-20261208-001600.dat")));
        QVERIFY(QFile::link(dir.filePath("Backups"), dir.filePath("Linked")));
        QString path;
        QVERIFY(CBackupStore(dir.filePath("Linked")).Keep(CRadioImage(), start.addSecs(58), &path).ok());
        QCOMPARE(QFileInfo(path).fileName(), QString("read-20261208-001600-2.dat"));
        QVERIFY(!QFileInfo::exists(outside));
        CRadioImage through;
        QVERIFY(DataFile::Load(dir.filePath("Backups/read-20261208-001600-2.dat"), through).ok());
        QCOMPARE(through, CRadioImage());
    }

    // Open Backup lists by the time each backup holds, not by its name: a name a time zone change made
    // later, or a clock that ran ahead, does not put a backup on top. The port comes along, a device name
    // with control characters made harmless; a backup of an earlier version lists by its name.
    void backupOrder()
    {
        QTemporaryDir dir;
        const CBackupStore store(dir.filePath("Backups"));
        const QDateTime now(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC);
        const auto keep = [&](int band, const QDateTime& when, const QString& port) {
            CRadioImage image;
            image.SetByte(ImageMap::kFrequencyBand, std::uint8_t(band));
            QString path;
            return store.Keep(image, when, &path, port).ok() ? path : QString();
        };
        QVERIFY(!keep(1, now.addSecs(-7200), "COM1 (/dev/ttyUSB0)").isEmpty());
        QVERIFY(!keep(2, QDateTime(QDate(2027, 6, 1), QTime(0, 0), Qt::UTC), "COM2").isEmpty()); // clock ahead
        QVERIFY(!keep(3, now.addSecs(-3600), QString::fromUtf8("/dev/ttyACM0\n\x1b")).isEmpty());
        const QString renamed = keep(5, now.addSecs(-10800), "COM5");
        QVERIFY(QFile::rename(renamed, dir.filePath("Backups/read-20261208-235959.dat")));
        CRadioImage older;
        older.SetByte(ImageMap::kFrequencyBand, 4);
        QVERIFY(TestFiles::Write(dir.filePath("Backups/read-20261207-000000.dat"), DataFile::Serialize(older)));

        QList<int> bands;
        QStringList ports;
        QList<bool> ahead;
        for (const CBackupStore::Entry& entry : store.List(now)) {
            bands << entry.band;
            ports << entry.port;
            ahead << entry.ahead;
        }
        QCOMPARE(bands, QList<int>({ 3, 1, 5, 4, 2 }));
        QCOMPARE(ports, QStringList({ "/dev/ttyACM0??", "COM1 (/dev/ttyUSB0)", "COM5", "", "COM2" }));
        QCOMPARE(ahead, QList<bool>({ false, false, false, false, true }));
        QCOMPARE(store.List(now).first().time, now.addSecs(-3600));
        // Once the clock has caught up, that backup is simply the newest.
        QCOMPARE(store.List(QDateTime(QDate(2027, 6, 2), QTime(0, 0), Qt::UTC)).first().band, std::uint8_t(2));
    }
};

QTEST_GUILESS_MAIN(TestRows)
#include "tst_rows.moc"
