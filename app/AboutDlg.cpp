#include "app/AboutDlg.h"

#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"
#include "widgets/PaintedIcon.h"
#include "config/AppPaths.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "config/MenuText.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>
#include <QWindow>

namespace {

QLabel* addLine(QVBoxLayout* lines, const QString& text, const char* name)
{
    auto* label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText); // "&" and "<" show as they stand
    lines->addWidget(label);
    return label;
}

} // namespace

CAboutDlg::CAboutDlg(const CIniFile& ini, QWidget* parent)
    : QDialog(parent)
    , m_pIcon(new QLabel(this))
{
    const QString section = CLanguage::Name();
    // The menu's "About ..." says a dialog follows; the dialog's own title drops the dots.
    setWindowTitle(MenuText::WithoutEllipsis(ini.GetValue(section, QStringLiteral("About Title"))));
    CDialogHelp::Attach(this, CHelpLayer::kContentsTopic);

    QIcon icon(CAppPaths::BesideExe(QStringLiteral("title.ico")));
    if (icon.availableSizes().isEmpty())
        icon = PaintedIcon::Icon(PaintedIcon::Kind::Radio);
    m_pIcon->setObjectName(QStringLiteral("aboutIcon"));
    m_pIcon->setPixmap(icon.pixmap(32, 32));
    m_pIcon->setAlignment(Qt::AlignTop);

    auto* lines = new QVBoxLayout;
    addLine(lines, ini.GetValue(section, QStringLiteral("Version")), "version");
    addLine(lines, ini.GetValue(section, QStringLiteral("Copyrights")), "copyrights");
    addLine(lines, ini.GetValue(section, QStringLiteral("Copyrights Owner")), "owner");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* body = new QHBoxLayout;
    body->addWidget(m_pIcon);
    body->addSpacing(12);
    body->addLayout(lines, 1);
    body->addWidget(buttons, 0, Qt::AlignTop);
    setLayout(body);
    setMinimumWidth(360);
}

void CAboutDlg::showEvent(QShowEvent* event)
{
    // Given an empty title, the window system would show the program's file name in the title bar;
    // a zero-width space keeps the bar as empty as the configuration says.
    if (windowTitle().isEmpty() && windowHandle())
        windowHandle()->setTitle(kEmptyBarTitle);
    QDialog::showEvent(event);
}
