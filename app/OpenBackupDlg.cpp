#include "app/OpenBackupDlg.h"

#include "config/Language.h"
#include "radio/ProductCatalog.h"
#include "image/BackupStore.h"
#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

COpenBackupDlg::COpenBackupDlg(const CIniFile& ini, QWidget* parent)
    : QDialog(parent)
    , m_List(new QTreeWidget(this))
{
    setWindowTitle(tr("Open Backup"));
    CDialogHelp::Attach(this, CHelpLayer::kBackupsTopic);
    const bool zh = CLanguage::IsChinese();
    m_List->setHeaderLabels({ tr("Read at"), tr("Port"), tr("Type"), tr("Frequency") });
    m_List->setRootIsDecorated(false);
    m_List->setAllColumnsShowFocus(true);
    const QList<CBackupStore::Entry> entries = CBackupStore().List();
    for (const CBackupStore::Entry& entry : entries) {
        // The time reads the same in both languages; one the clock put ahead says so, listed last.
        const QString time = entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        auto* item = new QTreeWidgetItem(m_List,
            { entry.ahead ? tr("%1 (the clock was ahead)").arg(time) : time,
                entry.port.isEmpty() ? tr("(not recorded)") : entry.port,
                ProductCatalog::ShownTypeText(ini, entry.type, zh),
                ProductCatalog::ShownBandText(ini, entry.type, entry.band, zh) });
        item->setData(0, Qt::UserRole, entry.path);
    }
    m_List->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_List->setCurrentItem(m_List->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Open)->setText(tr("&Open"));
    buttons->button(QDialogButtonBox::Open)->setEnabled(!entries.isEmpty());
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_List, &QTreeWidget::itemActivated, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    if (entries.isEmpty())
        layout->addWidget(new QLabel(tr("No radio has been read yet: every read is kept here."), this));
    layout->addWidget(m_List);
    layout->addWidget(buttons);
    resize(680, 380);
}

QString COpenBackupDlg::ChosenPath() const
{
    if (result() != QDialog::Accepted || !m_List->currentItem())
        return {};
    return m_List->currentItem()->data(0, Qt::UserRole).toString();
}
