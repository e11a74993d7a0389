#include "dialogs/LanguageDlg.h"

#include "widgets/DialogLayout.h"
#include "widgets/HelpLayer.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "widgets/MessageBox.h"
#include "config/FileName.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CLanguageDlg::CLanguageDlg(CIniFile& ini, QWidget* parent)
    : QDialog(parent)
    , m_Ini(ini)
    // Each language by its own name in its own script, whatever the program runs in: a user who
    // cannot read the running language still finds their own.
    , m_English(new QRadioButton(QStringLiteral("English"), this))
    , m_Chinese(new QRadioButton(QStringLiteral("中文"), this))
{
    setWindowTitle(tr("Language"));
    CHelpLayer::SetControlId(this, CHelpLayer::kLanguageTopic);
    CHelpLayer::SetControlId(m_English, kEnglishId);
    CHelpLayer::SetControlId(m_Chinese, kChineseId);

    auto* group = new QButtonGroup(this);
    group->addButton(m_English, kEnglish);
    group->addButton(m_Chinese, kChinese);

    auto* box = new QGroupBox(this);
    auto* choices = new QVBoxLayout(box);
    choices->addWidget(m_English);
    choices->addWidget(m_Chinese);

    DialogLayout::SetContentWithOkCancel(this, box);
}

int CLanguageDlg::exec()
{
    m_nLanguage = CLanguage::IsChinese() ? kChinese : kEnglish;
    (m_nLanguage == kChinese ? m_Chinese : m_English)->setChecked(true);
    return QDialog::exec();
}

void CLanguageDlg::accept()
{
    m_nLanguage = m_Chinese->isChecked() ? kChinese : kEnglish;
    if ((m_nLanguage == kChinese) != CLanguage::IsChinese()) {
        const QString setup = QStringLiteral("Setup"), key = QStringLiteral("Language");
        const QString running = m_Ini.GetValue(setup, key);
        // Always the other language than the running one, and on disk at once: the restart reads it.
        m_Ini.SetValue(setup, key, CLanguage::IsChinese() ? QStringLiteral("English") : QStringLiteral("Chinese"));
        m_Ini.Save(false);
        if (!m_Ini.SaveError().isEmpty()) {
            // A restart would only come back in the old language: say why, and nothing is switched.
            const QString error = m_Ini.SaveError();
            m_Ini.SetValue(setup, key, running);
            CMessageBox::Show(this, tr("Cannot save %1: %2").arg(FileName::Display(m_Ini.SavePath()), error),
                QMessageBox::Ok, QMessageBox::Warning);
            m_nLanguage = CLanguage::IsChinese() ? kChinese : kEnglish;
            QDialog::reject();
            return;
        }
        m_bChanged = true;
    }
    QDialog::accept();
}

void CLanguageDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1)
        CHelpLayer::ShowTopic(this, CHelpLayer::kLanguageTopic);
    QDialog::keyPressEvent(event);
}
