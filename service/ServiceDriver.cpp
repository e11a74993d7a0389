#include "service/ServiceDriver.h"

#include "widgets/MessageBox.h"
#include "config/Language.h"

#include <QApplication>
#include <QCursor>

namespace {

void Repaint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool Run(QWidget* parent, CServiceExchange& exchange, const QString& device)
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    Repaint();
    CServiceExchange::Status status = exchange.Begin(device);
    while (status == CServiceExchange::Status::Running) {
        Repaint();
        status = exchange.Step();
    }
    QApplication::restoreOverrideCursor();

    const bool zh = CLanguage::IsChinese();
    QString text = exchange.Message(zh);
    const QString reason = exchange.PortFailureReason(zh);
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    CMessageBox::Show(parent, text, QMessageBox::Ok,
        exchange.Succeeded() ? QMessageBox::Information : QMessageBox::Warning);
    return exchange.Succeeded();
}

} // namespace

namespace ServiceDriver {

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
