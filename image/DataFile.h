#pragma once

#include "image/RadioImage.h"

#include <QByteArray>
#include <QString>

#include <utility>

// The data file (*.dat): "Q707", 12 zero bytes, then the 1024 image bytes in image order.
namespace DataFile {

constexpr char kMagic[4] = { 'Q', '7', '0', '7' };
constexpr int kHeaderSize = 16;
constexpr int kFileSize = kHeaderSize + ImageMap::kImageSize; // 1040; later bytes are never read
inline constexpr const char *kDefaultFileName = "Default.dat";

enum class Status {
    Ok,
    OpenFailed,  // the file could not be opened or read
    FormatError, // the first four bytes are not the magic
    TooShort,    // the file ends before 1040 bytes, and what it has of the magic is right
    WriteFailed,
};

struct Result
{
    Result() = default;
    Result(Status status_, QString detail_ = {}, QByteArray start_ = {})
        : status(status_), detail(std::move(detail_)), start(std::move(start_))
    {
    }

    Status status = Status::Ok;
    QString detail; // the system's reason for an open or write failure
    QByteArray start; // a foreign file's first bytes as read (up to kFileSize), for the message
    qint64 size = -1; // the whole file's size, where a file was read
    bool ok() const { return status == Status::Ok; }
};

// Reads a data file into image. On any failure image is left exactly as it was.
Result Load(const QString &path, CRadioImage &image);
// Checks and takes over the bytes of a whole file.
Result Parse(const QByteArray &bytes, CRadioImage &image);
// Writes header and image as SafeFile::Write does: any failure leaves the old file as it was.
Result Save(const QString &path, const CRadioImage &image);
QByteArray Serialize(const CRadioImage &image);

// The image of a new document: the bytes of "Default.dat" in directory (from file offset 16, as many
// as it has, the rest 0xFF, header not examined), or the built-in defaults when it cannot be opened;
// builtIn, when given, tells which of the two it is.
CRadioImage NewImage(const QString &directory, bool *builtIn = nullptr);

// One line for the user, in the language of the language flag.
QString Describe(const Result &result, const QString &path);
QString Describe(const Result &result, const QString &path, bool chinese);

} // namespace DataFile
