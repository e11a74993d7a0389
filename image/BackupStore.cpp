#include "image/BackupStore.h"

#include "config/AppPaths.h"
#include "config/Language.h"
#include "config/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

QString CBackupStore::s_Override;

namespace {

constexpr CBilingual kBackupFolderMissing { "the folder cannot be made", "无法建立该文件夹" };
constexpr CBilingual kBackupGone { "the backup was removed by another program as soon as it was made",
                                   "备份刚建立即被另一个程序删除" };
const QString kPrefix = QStringLiteral("read-");
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss");
// read-20261208-001502.dat, and read-20261208-001502-2.dat for a second read within that second.
const QRegularExpression kName(QStringLiteral("^read-(\\d{8}-\\d{6})(?:-(\\d+))?\\.dat$"));

// What a backup carries after the data file's bytes: one "key=value" a line, the value percent-encoded.
const QByteArray kBackupTrailer = QByteArrayLiteral("\n[backup]\n");
const QByteArray kBackupReadAt = QByteArrayLiteral("read-at");
const QByteArray kBackupPort = QByteArrayLiteral("port");
// Far more than any trailer this program writes.
constexpr qint64 kBackupTrailerMax = 4096;

QByteArray backupTrailer(const QDateTime& when, const QString& port)
{
    QByteArray trailer = kBackupTrailer;
    trailer += kBackupReadAt + '=' + when.toUTC().toString(Qt::ISODate).toLatin1() + '\n';
    if (!port.isEmpty())
        trailer += kBackupPort + '=' + QUrl::toPercentEncoding(port) + '\n';
    return trailer;
}

// A port as a list can show it: control characters of a strange device name become '?'.
QString backupShownPort(const QByteArray& encoded)
{
    QString port = QString::fromUtf8(QByteArray::fromPercentEncoding(encoded));
    for (QChar& c : port)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = QLatin1Char('?');
    return port;
}

// Names sort by time; a later read of the same second carries a higher number.
bool newer(const QString& a, const QString& b)
{
    const auto ma = kName.match(a);
    const auto mb = kName.match(b);
    if (ma.captured(1) != mb.captured(1))
        return ma.captured(1) > mb.captured(1);
    return ma.captured(2).toInt() > mb.captured(2).toInt();
}

} // namespace

CBackupStore::CBackupStore(const QString& folder)
    : m_strFolder(folder.isEmpty() ? Folder() : folder)
{
}

QString CBackupStore::Folder()
{
    if (!s_Override.isEmpty())
        return s_Override;
    return QDir(CAppPaths::UserDataDir()).filePath(QStringLiteral("Backups"));
}

void CBackupStore::SetFolderOverride(const QString& folder)
{
    s_Override = folder;
}

DataFile::Result CBackupStore::Keep(
    const CRadioImage& image, const QDateTime& when, QString* path, const QString& port) const
{
    const QDir dir(m_strFolder);
    if (!dir.mkpath(QStringLiteral(".")))
        return { DataFile::Status::WriteFailed, kBackupFolderMissing.Text() };
    // Always a new file: whatever already has the name, a symlink leading out of the folder included,
    // is left alone and the next number taken.
    const QString stem = kPrefix + when.toString(kTimeFormat);
    for (int n = 1;; ++n) {
        const QString target = dir.filePath(stem + (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + QStringLiteral(".dat"));
        bool taken = false;
        const QString reason = SafeFile::Create(target, DataFile::Serialize(image) + backupTrailer(when, port), &taken);
        if (taken && n < kKept * 20)
            continue;
        if (!reason.isEmpty())
            return { DataFile::Status::WriteFailed, reason };
        Prune(QFileInfo(target).fileName());
        // Only a backup that is really there is named (another program pruning at the same moment
        // may have taken it).
        if (!QFileInfo::exists(target))
            return { DataFile::Status::WriteFailed, kBackupGone.Text() };
        if (path)
            *path = target;
        return {};
    }
}

QStringList CBackupStore::Names() const
{
    QStringList names;
    for (const QString& name :
        QDir(m_strFolder).entryList({ kPrefix + QStringLiteral("*.dat") }, QDir::Files))
        if (kName.match(name).hasMatch())
            names << name;
    std::sort(names.begin(), names.end(), newer);
    return names;
}

// Only our own backups are removed; anything else the user put in the folder stays. The one just made
// always stays. Backups named later than it were named by a clock that ran ahead and has since been
// put right: they were made before it, so they count as older than every other backup and go first,
// oldest name first; a new read never pushes out the reads made since the clock was put right.
void CBackupStore::Prune(const QString& justMade) const
{
    QStringList names = Names();
    names.removeOne(justMade);
    const QString now = kName.match(justMade).captured(1);
    std::stable_partition(names.begin(), names.end(),
        [&now](const QString& name) { return kName.match(name).captured(1) <= now; });
    QDir dir(m_strFolder);
    for (int i = kKept - 1; i < names.size(); ++i)
        dir.remove(names[i]);
}

QList<CBackupStore::Entry> CBackupStore::List(const QDateTime& now) const
{
    QList<Entry> entries;
    const QDir dir(m_strFolder);
    for (const QString& name : Names()) {
        CRadioImage image;
        const QString path = dir.filePath(name);
        QByteArray bytes;
        if (!SafeFile::Read(path, DataFile::kFileSize + kBackupTrailerMax, bytes).isEmpty()
            || !DataFile::Parse(bytes, image).ok())
            continue;
        Entry entry;
        entry.path = path;
        entry.time = QDateTime::fromString(kName.match(name).captured(1), kTimeFormat);
        const QByteArray trailer = bytes.mid(DataFile::kFileSize);
        if (trailer.startsWith(kBackupTrailer)) {
            for (const QByteArray& line : trailer.mid(kBackupTrailer.size()).split('\n')) {
                const qsizetype equals = line.indexOf('=');
                const QByteArray key = line.left(equals), value = line.mid(equals + 1);
                if (equals > 0 && key == kBackupReadAt) {
                    const QDateTime at = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODate);
                    if (at.isValid())
                        entry.time = at.toLocalTime();
                } else if (equals > 0 && key == kBackupPort) {
                    entry.port = backupShownPort(value);
                }
            }
        }
        entry.ahead = entry.time > now;
        entry.type = image.Byte(ImageMap::kProductType);
        entry.band = image.Byte(ImageMap::kFrequencyBand);
        entries << entry;
    }
    // Newest first by the time the backup holds; a clock that ran ahead does not keep its backups on
    // top: they count as the oldest, as Prune has it. Equal times keep the order of their names.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.ahead != b.ahead)
            return b.ahead;
        return a.time > b.time;
    });
    return entries;
}
