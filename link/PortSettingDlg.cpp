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
#include "link/TransferNotes.h"
#include "widgets/MessageBox.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <QVBoxLayout>

namespace {
constexpr int kPortRowsPerColumn = 8;
constexpr int kVisibleSystemPorts = 3;
constexpr CBilingual kVirtualRadio { "virtual radio", "虚拟电台" };
constexpr CBilingual kCurrentAbsent { "%1 is the port now, but it does not open: not plugged in, or held by another "
                                      "program. It stays the port until you pick another.",
    "当前端口 %1 现在无法打开: 未插入, 或被其他程序占用。在您选择其他端口之前它仍为当前端口。" };
constexpr CBilingual kTypePath { "Type the device path of the port, for example /dev/ttyUSB0.",
    "请输入端口的设备路径, 例如 /dev/ttyUSB0。" };
constexpr CBilingual kTypedBeyondPorts { "There is no %1: a port is COM1..COM%2 or a device path such as /dev/ttyUSB0.",
    "没有 %1: 端口应为 COM1..COM%2 或设备路径, 例如 /dev/ttyUSB0。" };

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

    // Any device path, for a port the system does not report (a symbolic link, a device named by udev).
    auto* typedRow = new QHBoxLayout;
    m_TypedButton = new QRadioButton(tr("Device path:"), this);
    m_TypedButton->setObjectName(QStringLiteral("typedPathButton"));
    m_Group->addButton(m_TypedButton, kTypedPathId);
    m_Typed = new QLineEdit(this);
    m_Typed->setObjectName(QStringLiteral("typedPath"));
    m_Typed->setPlaceholderText(QStringLiteral("/dev/serial/by-id/..."));
    connect(m_Typed, &QLineEdit::textEdited, m_TypedButton, [this] { m_TypedButton->setChecked(true); });
    typedRow->addWidget(m_TypedButton);
    typedRow->addWidget(m_Typed, 1);
    m_CurrentNote = new QLabel(this);
    m_CurrentNote->setObjectName(QStringLiteral("currentNote"));
    m_CurrentNote->setWordWrap(true);
    m_CurrentNote->hide();

    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(box);
    column->addWidget(systemBox);
    column->addLayout(typedRow);
    column->addWidget(m_CurrentNote);
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

    // The current port stays the choice even when it does not open now (a cable not plugged in yet),
    // greyed and with a note; OK then keeps it.
    m_Group->setExclusive(false);
    for (QAbstractButton* button : m_Group->buttons())
        button->setChecked(false);
    m_Group->setExclusive(true);
    const QString current = CPortName::Current();
    QAbstractButton* chosen = nullptr;
    if (const qsizetype listed = m_SystemDevices.indexOf(current); listed >= 0)
        chosen = m_Group->button(kFirstSystemPortId + int(listed));
    else if (const std::optional<int> n = CPortName::NumberOf(current); n && PortButton(*n))
        chosen = PortButton(*n);
    else if (!CPortName::NumberOf(current))
        chosen = m_TypedButton;
    m_Typed->setText(chosen == m_TypedButton ? current : QString());
    if (chosen)
        chosen->setChecked(true);
    m_nOpenedId = m_Group->checkedId();
    m_strOpenedPath = m_Typed->text();
    const bool opens = Opens(CPortName::DevicePath(current, m_Ini));
    m_CurrentNote->setText(kCurrentAbsent.Text().arg(
        QDir::toNativeSeparators(TransferNotes::PortLabel(current, CPortName::DevicePath(current, m_Ini)))));
    m_CurrentNote->setVisible(chosen && !opens);
    adjustSize();
}

void CPortSettingDlg::accept()
{
    const int id = m_Group->checkedId();
    const QString typed = m_Typed->text().trimmed();
    // The choice as it opened changes nothing: a port given on the command line is not stored.
    if (id == m_nOpenedId && (id != kTypedPathId || typed == m_strOpenedPath)) {
        QDialog::accept();
        return;
    }
    CUserSettings settings = CUserSettings::ForConfiguration(m_Ini);
    if (id >= kFirstButtonId && id < kFirstButtonId + kPortCount) {
        CPortName::Choose(id - kFirstButtonId + 1, settings);
    } else if (id >= kFirstSystemPortId && id < kFirstSystemPortId + m_SystemDevices.size()) {
        CPortName::ChooseDevice(m_SystemDevices.at(id - kFirstSystemPortId), settings);
    } else if (id == kTypedPathId) {
        if (typed.isEmpty()) {
            CMessageBox::Show(this, kTypePath.Text());
            m_Typed->setFocus();
            return;
        }
        // A COM name typed is that COM button; anything else is a device, stored as typed.
        const QString upper = typed.toUpper();
        const std::optional<int> n = CPortName::NumberOf(upper);
        if (n && PortButton(*n) && (upper == QStringLiteral("COM%1").arg(*n) || upper == CPortName::FromNumber(*n))) {
            CPortName::Choose(*n, settings);
        } else if (!CPortName::IsOffered(typed, m_Ini)) {
            // COM17 would become /dev/ttyUSB16, a device the user never meant.
            CMessageBox::Show(this, kTypedBeyondPorts.Text().arg(typed, QString::number(CPortName::kHighestPort)));
            m_Typed->setFocus();
            return;
        } else {
            CPortName::ChooseDevice(typed, settings);
        }
    }
    QDialog::accept();
}
