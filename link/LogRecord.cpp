#include "link/LogRecord.h"

#include "csv/CsvText.h"
#include "radio/ProductCatalog.h"
#include "image/ImageMap.h"
#include "link/BatchTransfer.h"
#include "link/ServiceExchange.h"
#include "link/SystemPorts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#ifndef PROGRAM_VERSION
#define PROGRAM_VERSION "unknown"
#endif

namespace {

using Status = CCloneTransfer::Status;

// The JSON names, which are also the CSV header; "cable" is kept apart in the file and joins the
// port in the table.
constexpr const char* kColumns[] = { "time", "port", "direction", "area", "file", "sha256", "type", "band",
    "blocks", "verify", "outcome", "version", "backup" };

constexpr int kBlocksField = 8; // the one column that is a number

// Control characters and the bytes of a name that are not UTF-8 (kept as U+DC80..U+DCFF, see
// FileName) as escapes a table and a terminal show as they are.
QString LogShownText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool pairedLow = i > 0 && text.at(i - 1).isHighSurrogate();
        if (c == u'\n')
            shown += QStringLiteral("\\n");
        else if (c == u'\r')
            shown += QStringLiteral("\\r");
        else if (c == u'\t')
            shown += QStringLiteral("\\t");
        else if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            shown += QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0'));
        else if (c >= 0xDC80 && c <= 0xDCFF && !pairedLow)
            shown += QStringLiteral("\\x%1").arg(int(c - 0xDC00), 2, 16, QLatin1Char('0'));
        else
            shown += QChar(c);
    }
    return shown;
}

QString CableOf(const QString& device)
{
    const QString canonical = QFileInfo(device).canonicalFilePath();
    for (const CSystemPorts::Port& port : CSystemPorts::Available())
        if (port.device == device
            || (!canonical.isEmpty() && QFileInfo(port.device).canonicalFilePath() == canonical))
            return port.description;
    return {};
}

QString Hex(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

CLogRecord Start(CCloneTransfer::Direction direction, const QString& area, const QString& port,
    const QString& device, const QString& file)
{
    CLogRecord record;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    record.time = now.addMSecs(-now.time().msec()); // whole seconds, as the log shows them
    record.port = port;
    record.cable = CableOf(device);
    if (device != port)
        record.device = device;
    record.direction
        = direction == CCloneTransfer::Direction::Read ? QStringLiteral("read") : QStringLiteral("write");
    record.area = area;
    // A relative name from the command line would mean nothing when the log is read elsewhere.
    // Made absolute by hand: Qt's own way decodes a relative name again and turns bytes that are not
    // UTF-8 into U+FFFD, so two files would be logged under one name.
    record.file = file.isEmpty()  ? CLogRecord::UnsavedDocument()
        : QDir::isAbsolutePath(file) ? QFileInfo(file).absoluteFilePath()
                                     : QDir::cleanPath(QDir::currentPath() + QLatin1Char('/') + file);
    record.version = QStringLiteral(PROGRAM_VERSION);
    record.verify = QStringLiteral("not verified");
    return record;
}

} // namespace

QString CLogRecord::UnsavedDocument()
{
    return QStringLiteral("unsaved document");
}

void CLogRecord::SetImage(const CRadioImage& image, const CIniFile& ini)
{
    const auto bytes = image.Range(0, ImageMap::kImageSize);
    sha256 = QString::fromLatin1(QCryptographicHash::hash(
        QByteArrayView(bytes.data(), qsizetype(bytes.size())), QCryptographicHash::Sha256)
                                     .toHex());
    const std::uint8_t typeByte = image.Byte(ImageMap::kProductType);
    type = ProductCatalog::ShownTypeText(ini, typeByte, false);
    band = ProductCatalog::ShownBandText(ini, typeByte, image.Byte(ImageMap::kFrequencyBand), false);
}

void CLogRecord::SetEnd(Status status, const QString& reason, const QString& step)
{
    switch (status) {
    case Status::Done:
        outcome = QStringLiteral("done");
        return;
    case Status::Stopped:
        outcome = QStringLiteral("stopped");
        return;
    case Status::PortOpenFailed:
        outcome = QStringLiteral("failed: the port could not be opened");
        break;
    case Status::CommunicationError:
        // The step the user was told about, a pulled cable as a pulled cable.
        if (!step.isEmpty()) {
            outcome = QStringLiteral("failed: ") + step;
            break;
        }
        [[fallthrough]];
    case Status::Ready:
    case Status::Running:
        outcome = QStringLiteral("failed: the radio did not answer as it should");
        break;
    }
    if (!reason.isEmpty())
        outcome += QStringLiteral(" (") + reason + QLatin1Char(')');
}

CLogRecord CLogRecord::Of(const CCloneTransfer& transfer, const QString& port, const QString& device,
    const QString& file, const CIniFile& ini)
{
    const CCloneTransfer::Direction direction = transfer.TransferDirection();
    CLogRecord record = Start(direction, QStringLiteral("channels"), port, device, file);
    const Status status = transfer.CurrentStatus();
    // What a write sent is known whatever happened; a read's bytes only count when all came in.
    if (direction == CCloneTransfer::Direction::Write || status == Status::Done)
        record.SetImage(transfer.Image(), ini);
    record.blocks = transfer.BlocksDone();
    record.SetEnd(status, transfer.PortFailureReason(false), transfer.FailureReason());
    return record;
}

CLogRecord CLogRecord::Of(const CBatchOutcome& outcome, CCloneTransfer::Direction direction,
    const QString& device, const QString& file, const CIniFile& ini)
{
    CLogRecord record = Start(direction, QStringLiteral("channels"), outcome.port, device, file);
    if (direction == CCloneTransfer::Direction::Write || outcome.status == Status::Done)
        record.SetImage(outcome.image, ini);
    record.blocks = outcome.blocks;
    record.SetEnd(outcome.status, outcome.portReason[0], outcome.failureReason);
    if (outcome.verifyRan)
        record.SetVerify(outcome.verifyStatus, outcome.mismatch);
    return record;
}

CLogRecord CLogRecord::Of(const CServiceExchange& exchange, const QString& port, const QString& device,
    const QString& file, const CIniFile& ini)
{
    const CCloneTransfer::Direction direction = exchange.TransferDirection();
    const bool power = exchange.ExchangeArea() == CServiceExchange::Area::Power;
    CLogRecord record
        = Start(direction, power ? QStringLiteral("power") : QStringLiteral("param"), port, device, file);
    if (direction == CCloneTransfer::Direction::Write || exchange.Succeeded())
        record.SetImage(exchange.Image(), ini);
    record.blocks = exchange.BlocksDone();
    record.SetEnd(exchange.CurrentStatus(), exchange.PortFailureReason(false), exchange.FailureReason());
    return record;
}

void CLogRecord::SetSaveFailure(const QString& reason)
{
    outcome = QStringLiteral("failed: the data file was not saved (") + reason + QLatin1Char(')');
}

void CLogRecord::SetCompare()
{
    direction = QStringLiteral("compare");
    file.clear();
}

void CLogRecord::SetVerify(Status readBack, const std::optional<CWriteVerify::Mismatch>& mismatch)
{
    if (readBack == Status::Done && !mismatch) {
        verify = QStringLiteral("verified");
        return;
    }
    verify = QStringLiteral("not verified");
    if (readBack == Status::Stopped) {
        outcome = QStringLiteral("stopped");
    } else if (readBack != Status::Done) {
        outcome = QStringLiteral("failed: the read-back for the verify failed");
    } else {
        // The radio took the blocks but holds something else: the write did not do its job.
        verify = QStringLiteral("differs at 0x") + Hex(mismatch->address, 3);
        outcome = QStringLiteral("failed: wrote %1, read back %2")
                      .arg(Hex(mismatch->sent, 2), Hex(mismatch->found, 2));
    }
}

QByteArray CLogRecord::ToLine() const
{
    QJsonObject object;
    object.insert(QLatin1String("time"), time.toString(Qt::ISODate));
    object.insert(QLatin1String("port"), port);
    if (!cable.isEmpty())
        object.insert(QLatin1String("cable"), cable);
    if (!device.isEmpty())
        object.insert(QLatin1String("device"), device);
    object.insert(QLatin1String("direction"), direction);
    object.insert(QLatin1String("area"), area);
    object.insert(QLatin1String("file"), file);
    object.insert(QLatin1String("sha256"), sha256);
    object.insert(QLatin1String("type"), type);
    object.insert(QLatin1String("band"), band);
    object.insert(QLatin1String("blocks"), blocks);
    object.insert(QLatin1String("verify"), verify);
    object.insert(QLatin1String("outcome"), outcome);
    object.insert(QLatin1String("version"), version);
    if (!backup.isEmpty())
        object.insert(QLatin1String("backup"), backup);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<CLogRecord> CLogRecord::FromLine(const QByteArray& line)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    CLogRecord record;
    record.time = QDateTime::fromString(object.value(QLatin1String("time")).toString(), Qt::ISODate);
    // A record without its time or direction is no record of ours.
    if (!record.time.isValid() || !object.value(QLatin1String("direction")).isString())
        return std::nullopt;
    record.time = record.time.toUTC();
    const auto text = [&object](const char* name) { return object.value(QLatin1String(name)).toString(); };
    record.port = text("port");
    record.cable = text("cable");
    record.device = text("device");
    record.direction = text("direction");
    record.area = text("area");
    record.file = text("file");
    record.sha256 = text("sha256");
    record.type = text("type");
    record.band = text("band");
    record.blocks = object.value(QLatin1String("blocks")).toInt();
    record.verify = text("verify");
    record.outcome = text("outcome");
    record.version = text("version");
    record.backup = text("backup");
    return record;
}

QStringList CLogRecord::Columns()
{
    QStringList columns;
    for (const char* name : kColumns)
        columns << QLatin1String(name);
    return columns;
}

QStringList CLogRecord::Fields() const
{
    const QString where = cable.isEmpty() ? port : port + QStringLiteral(" (") + cable + QLatin1Char(')');
    return { time.toString(Qt::ISODate), where, direction, area, file, sha256, type, band,
        QString::number(blocks), verify, outcome, version, backup };
}

QStringList CLogRecord::ShownFields() const
{
    QStringList fields = Fields();
    for (QString& field : fields)
        field = LogShownText(field);
    return fields;
}

QString CLogRecord::ShownPort() const
{
    QStringList about;
    if (!device.isEmpty() && device != port)
        about << device;
    if (!cable.isEmpty())
        about << cable;
    const QString where = about.isEmpty() ? port : port + QStringLiteral(" (") + about.join(QStringLiteral(", ")) + QLatin1Char(')');
    return LogShownText(where);
}

QString CLogRecord::ShortDigest() const
{
    return sha256.size() <= kShortDigest ? sha256 : sha256.left(kShortDigest) + QChar(0x2026);
}

QByteArray CLogRecord::CsvHeader()
{
    return CsvText::Line(Columns());
}

QByteArray CLogRecord::CsvRow() const
{
    QStringList fields = ShownFields();
    for (int i = 0; i < fields.size(); ++i)
        if (i != kBlocksField)
            fields[i] = CsvText::SpreadsheetText(fields.at(i));
    return CsvText::Line(fields);
}
