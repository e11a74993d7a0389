#include "link/PortSettingDlg.h"

#include "widgets/DialogHelp.h"
#include "widgets/DialogLayout.h"
#include "widgets/HelpLayer.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "config/UserSettings.h"
#include "link/PortName.h"
#include "link/SerialPort.h"
#include "link/SystemPorts.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <QVBoxLayout>

namespace {
constexpr int kPortRowsPerColumn = 8;
constexpr int kVisibleSystemPorts = 6;
constexpr CBilingual kVirtualRadio { "virtual radio", "虚拟电台" };

// Opens the device the way an exchange does and lets it go again at once.
bool Opens(const QString& device)
{
    CSerialPort port;
    return port.Open(device);
}
}

CPortSettingDlg::CPortSettingDlg(CIniFile& ini, QWidget* parent)
    : QDialog(parent)
    , m_Ini(ini)
    , m_Group(new QButtonGroup(this))
{
    setWindowTitle(tr("Port Setting"));
    CDialogHelp::Attach(this, CHelpLayer::kComSetupTopic);
    auto* box = new QGroupBox(tr("Port"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(24);
    for (int n = 1; n <= kPortCount; ++n) {
        auto* button = new QRadioButton(QStringLiteral("COM%1").arg(n), box);
        const int id = kFirstButtonId + n - 1;
        CHelpLayer::SetControlId(button, id);
        m_Group->addButton(button, id);
        grid->addWidget(button, (n - 1) % kPortRowsPerColumn, (n - 1) / kPortRowsPerColumn);
        m_Buttons[static_cast<std::size_t>(n - 1)] = button;
    }

    // A computer may report dozens of built-in ports: the list scrolls past a few rows, so the dialog
    // always fits on a small screen.
    auto* systemBox = new QGroupBox(tr("Serial ports of this computer"), this);
    auto* list = new QWidget;
    m_SystemLayout = new QVBoxLayout(list);
    m_SystemLayout->setContentsMargins(0, 0, 0, 0);
    m_NoSystemPorts = new QLabel(list);
    m_SystemLayout->addWidget(m_NoSystemPorts);
    m_SystemLayout->addStretch();
    m_SystemScroller = new QScrollArea(systemBox);
    m_SystemScroller->setWidget(list);
    m_SystemScroller->setWidgetResizable(true);
    m_SystemScroller->setFrameShape(QFrame::NoFrame);
    m_SystemScroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    (new QVBoxLayout(systemBox))->addWidget(m_SystemScroller);

    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(box);
    column->addWidget(systemBox);
    DialogLayout::SetContentWithOkCancel(this, content);
}

QList<QRadioButton*> CPortSettingDlg::SystemPortButtons() const
{
    QList<QRadioButton*> buttons;
    for (int i = 0; i < m_SystemDevices.size(); ++i)
        if (auto* button = qobject_cast<QRadioButton*>(m_Group->button(kFirstSystemPortId + i)))
            buttons << button;
    return buttons;
}

// Ports come and go with their cables: the list is made anew each time the dialog opens.
void CPortSettingDlg::ListSystemPorts()
{
    for (QRadioButton* button : SystemPortButtons()) {
        m_Group->removeButton(button);
        delete button;
    }
    m_SystemDevices.clear();
    const bool zh = CLanguage::IsChinese();
    const QList<CSystemPorts::Port> ports = CSystemPorts::Available();
    for (const CSystemPorts::Port& port : ports) {
        auto* button = new QRadioButton(CSystemPorts::Describe(port, zh), m_NoSystemPorts->parentWidget());
        m_Group->addButton(button, kFirstSystemPortId + int(m_SystemDevices.size()));
        m_SystemLayout->insertWidget(m_SystemLayout->count() - 1, button);
        m_SystemDevices << port.device;
        button->setEnabled(Opens(port.device));
    }
    m_NoSystemPorts->setText(CSystemPorts::NoneFound(zh));
    m_NoSystemPorts->setVisible(ports.isEmpty());
    const QWidget* list = m_SystemScroller->widget();
    const int rowHeight = m_NoSystemPorts->sizeHint().height() + m_SystemLayout->spacing();
    m_SystemScroller->setFixedHeight(std::min(list->sizeHint().height(), kVisibleSystemPorts * rowHeight));
    m_SystemScroller->setMinimumWidth(
        list->sizeHint().width() + m_SystemScroller->verticalScrollBar()->sizeHint().width());
}

QRadioButton* CPortSettingDlg::PortButton(int n) const
{
    return n >= 1 && n <= kPortCount ? m_Buttons[static_cast<std::size_t>(n - 1)] : nullptr;
}

QString CPortSettingDlg::DeviceOf(int n) const
{
    return CPortName::DevicePath(CPortName::FromNumber(n), m_Ini);
}

int CPortSettingDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CPortSettingDlg::OnInitDialog()
{
    ListSystemPorts();
    for (int n = 1; n <= kPortCount; ++n) {
        QRadioButton* button = PortButton(n);
        const QString device = DeviceOf(n);
#if !defined(Q_OS_WIN)
        // Elsewhere COMn is only a name: say which device it opens.
        const std::optional<CPortName::Override> given = CPortName::OverrideFor(n);
        const QString where = given && given->virtualRadio
            ? QStringLiteral("%1, %2").arg(kVirtualRadio.Text(), QDir::toNativeSeparators(device))
            : QDir::toNativeSeparators(device);
        button->setText(QStringLiteral("COM%1  (%2)").arg(n).arg(where));
#endif
        button->setEnabled(Opens(device));
    }

    // Nothing checked unless the current port opens; OK then changes nothing.
    m_Group->setExclusive(false);
    for (QRadioButton* button : m_Buttons)
        button->setChecked(false);
    m_Group->setExclusive(true);
    const QString current = CPortName::Current();
    if (Opens(CPortName::DevicePath(current, m_Ini))) {
        if (const qsizetype listed = m_SystemDevices.indexOf(current); listed >= 0)
            m_Group->button(kFirstSystemPortId + int(listed))->setChecked(true);
        else if (const std::optional<int> n = CPortName::NumberOf(current); n && PortButton(*n))
            PortButton(*n)->setChecked(true);
    }
    adjustSize();
}

void CPortSettingDlg::accept()
{
    const int id = m_Group->checkedId();
    if (id >= kFirstButtonId && id < kFirstButtonId + kPortCount) {
        CUserSettings settings = CUserSettings::ForConfiguration(m_Ini);
        CPortName::Choose(id - kFirstButtonId + 1, settings);
    } else if (id >= kFirstSystemPortId && id < kFirstSystemPortId + m_SystemDevices.size()) {
        CUserSettings settings = CUserSettings::ForConfiguration(m_Ini);
        CPortName::ChooseDevice(m_SystemDevices.at(id - kFirstSystemPortId), settings);
    }
    QDialog::accept();
}
