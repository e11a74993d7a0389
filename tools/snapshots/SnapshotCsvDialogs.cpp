// Developer tool, not a test: writes pictures of the import report and the compare view in both
// languages, so they can be looked at.
//   xvfb-run -a -s "-screen 0 1280x800x24" csv_snapshot /tmp/shots
#include "config/AppPaths.h"
#include "config/IniFile.h"
#include "csv/ChannelCsv.h"
#include "csv/CompareDlg.h"
#include "csv/ImageDiff.h"
#include "csv/ImportReportDlg.h"
#include "radio/ChannelGrid.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTranslator>

namespace {

const QByteArray kCsv = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                        "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment\n"
                        "1,RPT,147.060000,+,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,\n"
                        "2,UHF,446.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,Low,\n"
                        "3,ODD,146.521000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,\n"
                        "4,AM,146.520000,,0.000000,Tone,89.0,88.5,023,NN,023,Tone->Tone,AM,5.00,,High,\n"
                        "17,FAR,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,\n";

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
    CChannelGrid grid(false);
    grid.SetBandLimits({ 13000000, 16100000 });
    grid.LoadImage(document);
    grid.Commit(1, 1, QStringLiteral("146.52"), CChannelGrid::Trigger::Enter);
    grid.StoreGrid(document);
    CRadioImage radio = document;
    radio.SetByte(0x14, 0x50);
    radio.SetByte(0x134, 7);
    radio.SetByte(0x300, 0x12);
    radio.SetByte(0x301, 0x34);

    for (const bool chinese : { false, true }) {
        QTranslator translator;
        if (chinese && translator.load(QStringLiteral(PROGRAM_BIN_DIR "/Chinese.qm")))
            QCoreApplication::installTranslator(&translator);
        const QString suffix = chinese ? QStringLiteral("chinese") : QStringLiteral("english");
        const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(kCsv, document, { 13000000, 16100000 }, chinese);
        CImportReportDlg report(plan, chinese);
        shoot(report, out + QStringLiteral("/import_report_%1.png").arg(suffix));
        CCompareDlg compare(ImageDiff::Compare(document, radio, ini, chinese), {}, false);
        shoot(compare, out + QStringLiteral("/compare_%1.png").arg(suffix));
        QCoreApplication::removeTranslator(&translator);
    }
    return 0;
}
