#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

// Small file helpers shared by the test suites.
namespace TestFiles {

inline bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The whole file, or "<missing>" when it cannot be read.
inline QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// "00 20 65 14" -> the four bytes.
inline QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// A data file around an image: the magic, 12 zero bytes, the image bytes.
inline QByteArray DataFileBytes(const QByteArray& image)
{
    return QByteArray("Q707") + QByteArray(12, '\0') + image;
}

// Fills the disk that holds dir to its last byte.
inline void FillDisk(const QString& dir)
{
    for (const char* name : { "filler", "tail" }) {
        QFile file(dir + "/" + name);
        file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray chunk(name[0] == 'f' ? 512 : 1, 'f');
        while (file.write(chunk) == chunk.size()) { }
    }
}

// The temporary files of saves left in dir.
inline QStringList SaveLeftovers(const QString& dir)
{
    return QDir(dir).entryList({ "*.saving-*" }, QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace TestFiles
