#include "widgets/DialogLayout.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace DialogLayout {

void SetContentWithOkCancel(QDialog *dialog, QWidget *content)
{
    auto *buttons = new QDialogButtonBox(Qt::Vertical, dialog);
    buttons->addButton(QCoreApplication::translate("DialogLayout", "OK"), QDialogButtonBox::AcceptRole)
        ->setDefault(true);
    buttons->addButton(QCoreApplication::translate("DialogLayout", "Cancel"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);

    auto *layout = new QHBoxLayout(dialog);
    layout->addWidget(content, 1);
    auto *column = new QVBoxLayout;
    column->addWidget(buttons);
    column->addStretch();
    layout->addLayout(column);
}

} // namespace DialogLayout
