// Developer tool, not a test: writes pictures of the import report, the import preview of a long list,
// the compare view and Open Backup in both languages, so they can be looked at.
//   xvfb-run -a -s "-screen 0 1280x800x24" csv_snapshot /tmp/shots
#include "app/OpenBackupDlg.h"
#include "config/AppPaths.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "csv/ChannelCsv.h"
#include "csv/CompareDlg.h"
#include "csv/ImageDiff.h"
#include "csv/ImportLocationDlg.h"
#include "csv/ImportReportDlg.h"
#include "radio/ChannelGrid.h"
#include "image/BackupStore.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <QTranslator>

namespace {

const QByteArray kCsv = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                        "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment\n"
                        "1,RPT,147.060000,+,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,\n"
                        "2,UHF,446.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,Low,\n"
                        "3,ODD,146.521000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,\n"
                        "4,AM,146.520000,,0.000000,Tone,89.0,88.5,023,NN,023,Tone->Tone,AM,5.00,,High,\n"
                        "17,FAR,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,\n";

// 60 Locations on 145 MHz + n x 25 kHz, Location 25 outside the band.
QByteArray longList()
{
    QByteArray list = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,Power\n";
    for (int n = 1; n <= 60; ++n)
        list += QByteArray::number(n) + ",R" + QByteArray::number(n) + ","
            + (n == 25 ? QByteArray("446.000000") : QByteArray::number(145000000 + n * 25000).insert(3, '.'))
            + ",,0.000000,TSQL,88.5,88.5,5.0W\n";
    return list;
}

void shoot(QWidget &dialog, const QString &file)
{
    dialog.show();
    for (int i = 0; i < 10; ++i)
        QTest::qWait(20);
    dialog.grab().save(file);
    dialog.hide();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp");
    QDir().mkpath(out);
    CAppPaths::SetExecutableDir(QStringLiteral(PROGRAM_BIN_DIR));
    CIniFile ini;
    ini.OpenBesideExe(QStringLiteral("Program.ini"), false, true, false);

    CRadioImage document;
    document.ApplyDefaults();
    document.SetByte(ImageMap::kProductType, 0);
    document.SetByte(ImageMap::kFrequencyBand, 0);
    CChannelGrid grid(false);
    grid.SetBandLimits({ 13000000, 16100000 });
    grid.LoadImage(document);
    grid.Commit(1, 1, QStringLiteral("146.52"), CChannelGrid::Trigger::Enter);
    grid.StoreGrid(document);
    CRadioImage radio = document;
    radio.SetByte(0x14, 0x50);
    radio.SetByte(0x134, 7);
    // A radio programmed elsewhere: the same channels, its own bits in the flag bytes of the empty ones.
    for (int channel = 2; channel <= 14; ++channel) {
        radio.SetByte(ImageMap::channelOffset(channel) + 12, 0x00);
        radio.SetByte(ImageMap::channelOffset(channel) + 13, 0x20);
    }
    radio.SetByte(ImageMap::kFrequencyBand, 2);
    CRadioImage sent = radio; // what a normal Write would compare: the tables as the document has them
    radio.SetByte(0x300, 0x12);
    radio.SetByte(0x301, 0x34);
    radio.SetByte(0x3E3, 0x40);

    QTemporaryDir backups;
    CBackupStore::SetFolderOverride(backups.path());
    const CBackupStore store;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    store.Keep(document, now.addDays(-3), nullptr, QStringLiteral("COM1 (/dev/ttyUSB0)"));
    store.Keep(radio, now.addDays(400), nullptr, QStringLiteral("COM2 (/dev/ttyUSB1)"));
    store.Keep(sent, now.addSecs(-60), nullptr, QStringLiteral("/dev/ttyACM0"));

    for (const bool chinese : { false, true }) {
        QTranslator translator;
        if (chinese && translator.load(QStringLiteral(PROGRAM_BIN_DIR "/Chinese.qm")))
            QCoreApplication::installTranslator(&translator);
        const QString suffix = chinese ? QStringLiteral("chinese") : QStringLiteral("english");
        const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(kCsv, document, { 13000000, 16100000 }, chinese);
        CImportReportDlg report(plan, chinese);
        shoot(report, out + QStringLiteral("/import_report_%1.png").arg(suffix));
        CLanguage::SetName(chinese ? QStringLiteral("Chinese") : QStringLiteral("English"));
        std::vector<ImageDiff::Difference> differences = ImageDiff::Compare(document, sent, ini, chinese);
        ImageDiff::RadioKindFirst(differences);
        CCompareDlg compare(differences, ImageDiff::Compare(sent, radio, ini, chinese), false);
        compare.Differences()->expandAll();
        shoot(compare, out + QStringLiteral("/compare_%1.png").arg(suffix));
        QStringList columns;
        for (int col = 1; col < CChannelGrid::kCols; ++col)
            columns << CChannelGrid::HeaderText(col, chinese);
        const QByteArray list = longList();
        CImportLocationDlg preview(ChannelCsv::ListLocations(list),
            [&](int first) { return ChannelCsv::Plan(list, document, { 13000000, 16100000 }, chinese, first); },
            columns);
        preview.FirstLocationBox()->setValue(21);
        shoot(preview, out + QStringLiteral("/import_preview_%1.png").arg(suffix));
        COpenBackupDlg backup(ini);
        shoot(backup, out + QStringLiteral("/open_backup_%1.png").arg(suffix));
        QCoreApplication::removeTranslator(&translator);
    }
    return 0;
}
