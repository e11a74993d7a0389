#include "service/PasswordDlg.h"

#include "widgets/DialogHelp.h"
#include "widgets/DialogLayout.h"
#include "widgets/HelpLayer.h"
#include "radio/ServiceAccess.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CPasswordDlg::CPasswordDlg(QWidget* parent)
    : QDialog(parent)
    , m_Edit(new QLineEdit)
{
    setWindowTitle(tr("Password"));
    CDialogHelp::Attach(this, CHelpLayer::kServiceAccessTopic);
    m_Edit->setEchoMode(QLineEdit::Password);
    m_Edit->setMaxLength(kMaxLength);
    m_Edit->setMinimumWidth(160);
    CHelpLayer::SetControlId(m_Edit, kPasswordId);

    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new QLabel(tr("Password")));
    column->addWidget(m_Edit);
    column->addStretch();
    DialogLayout::SetContentWithOkCancel(this, content);
    m_Edit->setFocus();
}

void CPasswordDlg::accept()
{
    if (m_nMode == kServiceMode && CServiceAccess::Accepts(m_Edit->text()))
        QDialog::accept();
    else
        QDialog::reject();
}
