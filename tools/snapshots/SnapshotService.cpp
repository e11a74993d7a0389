// Pictures of the two service dialogs and the Password dialog in English and Chinese, for a person to
// look at: gui_service_snapshot OUTPUT_DIR (run under a real or virtual display).

#include "config/Language.h"
#include "widgets/MSFlexGrid.h"
#include "image/RadioImage.h"
#include "service/ParamAdjustDlg.h"
#include "service/PasswordDlg.h"
#include "service/PowerAdjustDlg.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTranslator>

namespace {

void Save(QWidget* widget, const QString& path)
{
    widget->show();
    QTest::qWait(200);
    widget->grab().save(path);
    widget->hide();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    for (const QString& language : { QStringLiteral("English"), QStringLiteral("Chinese") }) {
        CLanguage::SetName(language);
        QTranslator translator;
        if (!translator.load(QStringLiteral(PROGRAM_BIN_DIR "/") + language + QStringLiteral(".qm")))
            qWarning("no language file for %s", qPrintable(language));
        QCoreApplication::installTranslator(&translator);

        CRadioImage image;
        image.ApplyDefaults();
        for (int a = 0x300; a < 0x31B; ++a)
            image.SetByte(a, std::uint8_t(20 + a % 7));
        image.SetByte(0x30E, 0x83);
        for (const auto& [name, band] :
            { std::pair { "130-160", "130 - 160MHz" }, { "400-520", "400 - 520MHz" } }) {
            const BandLimits limits = ProductCatalog::LimitsFromBandText(QString::fromLatin1(band));
            CPowerAdjustDlg power;
            power.Prepare(image, limits, QString());
            Save(&power, out.filePath(QStringLiteral("power-%1-%2.png").arg(language, QLatin1String(name))));
            CParamAdjustDlg param(image, limits, QString());
            Save(&param, out.filePath(QStringLiteral("param-%1-%2.png").arg(language, QLatin1String(name))));
        }
        // The in-place editors open over a cell.
        {
            const BandLimits limits = ProductCatalog::LimitsFromBandText(QStringLiteral("136 - 174MHz"));
            CPowerAdjustDlg power;
            power.Prepare(image, limits, QString());
            power.show();
            QTest::qWait(100);
            CMSFlexGrid* grid = power.Grid();
            QTest::mouseClick(
                grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(2, 2)).center());
            Save(&power, out.filePath(QStringLiteral("power-editing-%1.png").arg(language)));
            CParamAdjustDlg param(image, limits, QString());
            param.show();
            QTest::qWait(100);
            grid = param.SqlGrid();
            QTest::mouseClick(
                grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(3, 1)).center());
            Save(&param, out.filePath(QStringLiteral("param-editing-%1.png").arg(language)));
        }
        CPasswordDlg password;
        Save(&password, out.filePath(QStringLiteral("password-%1.png").arg(language)));
        QCoreApplication::removeTranslator(&translator);
    }
    return 0;
}
