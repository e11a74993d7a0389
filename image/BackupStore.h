#pragma once

#include "image/DataFile.h"
#include "image/RadioImage.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The copies of every successful read from a radio, kept as data files named by date and time
// ("read-20261208-001502.dat") in the user's data folder, the newest 50 of them. After the 1040 bytes
// of the data file, which is all a data file reader takes, each backup carries the time of the read in
// UTC and the port it came from.
class CBackupStore {
public:
    static constexpr int kKept = 50;

    struct Entry {
        QString path;
        QDateTime time; // when the radio was read, local time
        QString port; // as the user knows it, "COM1 (/dev/ttyUSB0)"; empty when not recorded
        // The time lies ahead of the clock: a clock that ran ahead made it, and it lists as the oldest.
        bool ahead = false;
        std::uint8_t type = 0; // the image's product type and band bytes
        std::uint8_t band = 0;
    };

    // A store in folder; empty: the default one, Folder().
    explicit CBackupStore(const QString& folder = QString());

    // The user's backup folder: "Backups" in the per-user data folder, or the one tests put instead.
    static QString Folder();
    static void SetFolderOverride(const QString& folder);

    // Writes image as the backup of a read at when from port, then removes the oldest beyond kKept,
    // never the one just made. The path written, set only when the backup is there, or the failure.
    DataFile::Result Keep(const CRadioImage& image, const QDateTime& when, QString* path = nullptr,
        const QString& port = QString()) const;
    // The backups there are, newest first by the time each holds (by its name when it holds none, as
    // backups of earlier versions); those whose time lies ahead of now go last, as Keep prunes them
    // first. Files that cannot be read are left out.
    QList<Entry> List(const QDateTime& now = QDateTime::currentDateTimeUtc()) const;

private:
    void Prune(const QString& justMade) const;
    QStringList Names() const; // newest first

    QString m_strFolder;
    static QString s_Override;
};
