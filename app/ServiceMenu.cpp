#include "app/ServiceMenu.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "config/Language.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "link/LogRecord.h"
#include "link/PortName.h"
#include "link/ProgramLogDlg.h"
#include "service/ServiceDriver.h"
#include "service/ParamAdjustDlg.h"
#include "service/PasswordDlg.h"
#include "service/PowerAdjustDlg.h"
#include "radio/ServiceAccess.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>

namespace {
constexpr CBilingual kPowerText { "Power Adjustment", "功率调整" };
constexpr CBilingual kParamText { "Parameter Adjustment", "参数调整" };
constexpr int kEditMenuIndex = 1;
constexpr const char* kServicePane = "serviceMode";
} // namespace

CServiceMenu::CServiceMenu(CMainFrame* frame, const CIniFile& ini)
    : QObject(frame)
    , m_pFrame(frame)
    , m_Ini(ini)
    , m_pPowerDlg(new CPowerAdjustDlg(frame))
{
    auto* chord = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F11), frame);
    chord->setContext(Qt::WindowShortcut);
    connect(chord, &QShortcut::activated, this, &CServiceMenu::OnUnlockKey);
}

void CServiceMenu::OnUnlockKey()
{
    CPasswordDlg dialog(m_pFrame);
    dialog.m_nMode = CPasswordDlg::kServiceMode;
    if (dialog.exec() == QDialog::Accepted)
        Unlock();
}

void CServiceMenu::Unlock()
{
    CServiceAccess::Grant();
    ShowServiceMark();
    const QList<QAction*> menus = m_pFrame->menuBar()->actions();
    QMenu* edit = menus.size() > kEditMenuIndex ? menus.at(kEditMenuIndex)->menu() : nullptr;
    if (!edit || edit->actions().isEmpty()
        || edit->actions().constLast()->data().toInt() == CMainFrame::kParameterAdjust)
        return;
    QAction* power = edit->addAction(kPowerText.Text());
    power->setData(int(CMainFrame::kPowerAdjust));
    connect(power, &QAction::triggered, this, &CServiceMenu::OnPowerAdjust);
    QAction* param = edit->addAction(kParamText.Text());
    param->setData(int(CMainFrame::kParameterAdjust));
    connect(param, &QAction::triggered, this, &CServiceMenu::OnParamAdjust);
    emit Unlocked(power->text(), param->text());
}

// While access is granted every Write may replace a radio's calibration: the status bar and the title
// say so for the rest of the run.
void CServiceMenu::ShowServiceMark()
{
    const bool zh = CLanguage::IsChinese();
    QStatusBar* bar = m_pFrame->statusBar();
    if (!bar->findChild<QLabel*>(QString::fromLatin1(kServicePane))) {
        auto* pane = new QLabel(CServiceAccess::ModeText(zh), bar);
        pane->setObjectName(QString::fromLatin1(kServicePane));
        pane->setFrameShape(QFrame::StyledPanel);
        pane->setStyleSheet(QStringLiteral("QLabel { color: #c00000; font-weight: bold; padding: 0 6px; }"));
        bar->insertPermanentWidget(0, pane);
    }
    const QString title = CProgramView::MainWindowTitle();
    if (!title.isEmpty())
        CProgramView::SetMainWindowTitle(m_pFrame, title);
    else if (!m_pFrame->windowTitle().endsWith(CServiceAccess::MarkedTitle(QString(), zh)))
        m_pFrame->setWindowTitle(CServiceAccess::MarkedTitle(m_pFrame->windowTitle(), zh));
}

// Both dialogs change the image in place (OK, Read, Write, and the sanitiser when the parameters are
// shown); the change is one undo step and the document asks to be saved, like one edited in the grid.
void CServiceMenu::RunOnActiveDocument(
    const std::function<void(CRadioImage&, const BandLimits&, const QString&)>& dialog)
{
    CChildFrame* child = m_pFrame->ActiveChild();
    if (!child)
        return;
    CProgramDoc* document = child->Document();
    const CProgramView* view = child->View();
    const CRadioImage before = document->m_Image;
    const QString port = CPortName::Current();
    const QString device = CPortName::DevicePath(port, m_Ini);
    // Every service read and write of the dialog goes into the programming log under this document.
    // A table read here is the radio's, as after a whole read, until a cell of it is changed.
    ServiceDriver::SetRecorder([this, port, device, document, file = document->PathName()](
                                   QWidget* parent, const CServiceExchange& exchange) {
        if (exchange.TransferDirection() == CServiceExchange::Direction::Read && exchange.Succeeded())
            document->RecordTableRead(exchange.Image(),
                exchange.ExchangeArea() == CServiceExchange::Area::Power ? CTableOrigin::Tables::Power
                                                                         : CTableOrigin::Tables::Alignment);
        CProgramLogDlg::Record(parent, CLogRecord::Of(exchange, port, device, file, m_Ini));
    });
    ServiceDriver::SetPortName(port);
    dialog(document->m_Image, { view->m_nLowerLimit, view->m_nUpperLimit }, device);
    ServiceDriver::SetPortName({});
    ServiceDriver::SetRecorder({});
    document->RecordChange(before, QStringLiteral("Service"));
}

void CServiceMenu::OnPowerAdjust()
{
    RunOnActiveDocument([this](CRadioImage& image, const BandLimits& limits, const QString& device) {
        m_pPowerDlg->Run(image, limits, device);
    });
}

void CServiceMenu::OnParamAdjust()
{
    RunOnActiveDocument([this](CRadioImage& image, const BandLimits& limits, const QString& device) {
        CParamAdjustDlg dialog(image, limits, device, m_pFrame);
        dialog.exec();
    });
}
