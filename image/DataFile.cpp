#include "image/DataFile.h"

#include "config/FileName.h"
#include "config/Language.h"
#include "config/SafeFile.h"
#include "image/ForeignFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace DataFile {

namespace {

constexpr CBilingual kFormatError { "Data Format Error", "数据格式不正确" };

std::span<const std::uint8_t> asBytes(const QByteArray &data, qsizetype from, qsizetype length)
{
    return { reinterpret_cast<const std::uint8_t *>(data.constData()) + from, static_cast<std::size_t>(length) };
}

} // namespace

Result Parse(const QByteArray &bytes, CRadioImage &image)
{
    // A file too short to hold all of the magic is only too short when what it has matches it;
    // an empty file is a short file, not a foreign one.
    const std::size_t present = std::min<std::size_t>(sizeof kMagic, static_cast<std::size_t>(bytes.size()));
    if (std::memcmp(bytes.constData(), kMagic, present) != 0)
        return { Status::FormatError, {}, bytes.left(kFileSize) };
    if (bytes.size() < kFileSize)
        return { Status::TooShort, {} };
    image.CopyIn(0, asBytes(bytes, kHeaderSize, ImageMap::kImageSize));
    return {};
}

Result Load(const QString &path, CRadioImage &image)
{
    QByteArray bytes;
    qint64 size = -1;
    const QString reason = SafeFile::Read(path, kFileSize, bytes, &size);
    if (!reason.isEmpty())
        return { Status::OpenFailed, reason };
    Result result = Parse(bytes, image);
    result.size = size;
    return result;
}

QByteArray Serialize(const CRadioImage &image)
{
    QByteArray bytes(kHeaderSize, '\0');
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    bytes.append(reinterpret_cast<const char *>(image.Data().data()), ImageMap::kImageSize);
    return bytes;
}

Result Save(const QString &path, const CRadioImage &image)
{
    const QString reason = SafeFile::Write(path, Serialize(image));
    if (!reason.isEmpty())
        return { Status::WriteFailed, reason };
    return {};
}

CRadioImage NewImage(const QString &directory, bool *builtIn)
{
    CRadioImage image;
    QFile file(QDir(directory).filePath(QString::fromLatin1(kDefaultFileName)));
    const bool opened = file.open(QIODevice::ReadOnly);
    if (builtIn)
        *builtIn = !opened;
    if (!opened) {
        image.ApplyDefaults();
        return image;
    }
    // Whatever the file holds after its header, up to one image; a short file leaves the rest 0xFF.
    if (file.size() > kHeaderSize && file.seek(kHeaderSize)) {
        const QByteArray bytes = file.read(ImageMap::kImageSize);
        image.CopyIn(0, asBytes(bytes, 0, bytes.size()));
    }
    return image;
}

QString Describe(const Result &result, const QString &path)
{
    return Describe(result, path, CLanguage::IsChinese());
}

QString Describe(const Result &result, const QString &path, bool zh)
{
    const QString name = FileName::Display(path);
    switch (result.status) {
    case Status::Ok: return {};
    case Status::FormatError: {
        // The fixed text first; then which file, what it looks like and, for a channel list, the way in.
        // The size the read saw; a name that is not UTF-8 is not one QFileInfo can find.
        const QFileInfo info(path);
        const qint64 size = result.size >= 0 ? result.size : info.isFile() ? info.size() : result.start.size();
        QString text = kFormatError.Text(zh) + QLatin1Char('\n') + ForeignFile::Why(name, result.start, size, zh);
        if (ForeignFile::LooksLikeChannelList(result.start))
            text += QLatin1Char('\n') + ForeignFile::ImportHint(path, zh);
        return text;
    }
    case Status::TooShort:
        return zh ? QStringLiteral("%1 不足 %2 字节, 不是完整的数据文件").arg(name).arg(kFileSize)
                  : QStringLiteral("%1 is shorter than %2 bytes: not a complete data file").arg(name).arg(kFileSize);
    case Status::OpenFailed:
        return zh ? QStringLiteral("无法打开 %1: %2").arg(name, result.detail)
                  : QStringLiteral("Cannot open %1: %2").arg(name, result.detail);
    case Status::WriteFailed:
        return zh ? QStringLiteral("无法保存 %1: %2").arg(name, result.detail)
                  : QStringLiteral("Cannot save %1: %2").arg(name, result.detail);
    }
    return {};
}

} // namespace DataFile
