#include "service/ServiceDriver.h"

#include "widgets/MessageBox.h"
#include "config/Language.h"
#include "link/RunningWork.h"
#include "link/SerialTrace.h"
#include "link/TransferNotes.h"

#include <QApplication>
#include <QCursor>

namespace {

ServiceDriver::Recorder g_Recorder;
QString g_ServicePortName;

void Repaint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool Run(QWidget* parent, CServiceExchange& exchange, const QString& device)
{
    // Listed as running until its record is written: a window that closes meanwhile (or a stop
    // signal) ends it between blocks, with the same message a failed exchange gets.
    bool stop = false;
    const bool read = exchange.TransferDirection() == CServiceExchange::Direction::Read;
    if (!g_ServicePortName.isEmpty())
        exchange.SetPortName(g_ServicePortName);
    const QString label = g_ServicePortName.isEmpty() ? device : TransferNotes::PortLabel(g_ServicePortName, device);
    const CRunningWork::Guard running(
        read ? CRunningWork::Kind::ServiceRead : CRunningWork::Kind::ServiceWrite, { label }, [&stop] {
            stop = true;
        });
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    Repaint();
    CServiceExchange::Status status = exchange.Begin(device);
    while (status == CServiceExchange::Status::Running) {
        Repaint();
        status = stop ? exchange.Stop() : exchange.Step();
    }
    QApplication::restoreOverrideCursor();

    const bool zh = CLanguage::IsChinese();
    QString text = exchange.Message(zh);
    const QString reason = exchange.PortFailureReason(zh);
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    for (const QString& line : CSerialTrace::TakeFailures(zh))
        text += QLatin1Char('\n') + line;
    CMessageBox::Show(parent, text, QMessageBox::Ok,
        exchange.Succeeded() ? QMessageBox::Information : QMessageBox::Warning);
    if (g_Recorder)
        g_Recorder(parent, exchange);
    return exchange.Succeeded();
}

} // namespace

namespace ServiceDriver {

void SetPortName(const QString& name)
{
    g_ServicePortName = name;
}

void SetRecorder(Recorder recorder)
{
    g_Recorder = std::move(recorder);
}

bool Read(QWidget* parent, CServiceExchange::Area area, CRadioImage& image, const QString& device)
{
    CServiceExchange exchange(CServiceExchange::Direction::Read, area, image);
    // The message first, then the document: the dialog refreshes once it is acknowledged.
    const bool done = Run(parent, exchange, device);
    return done && exchange.TakeOver(image);
}

bool Write(QWidget* parent, CServiceExchange::Area area, const CRadioImage& image, const QString& device)
{
    CServiceExchange exchange(CServiceExchange::Direction::Write, area, image);
    return Run(parent, exchange, device);
}

} // namespace ServiceDriver
