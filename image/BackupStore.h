#pragma once

#include "image/DataFile.h"
#include "image/RadioImage.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The copies of every successful read from a radio, kept as data files named by date and time
// ("read-20261208-001502.dat") in the user's data folder, the newest 50 of them.
class CBackupStore {
public:
    static constexpr int kKept = 50;

    struct Entry {
        QString path;
        QDateTime time; // when the radio was read, local time
        std::uint8_t type = 0; // the image's product type and band bytes
        std::uint8_t band = 0;
    };

    // A store in folder; empty: the default one, Folder().
    explicit CBackupStore(const QString& folder = QString());

    // The user's backup folder: "Backups" in the per-user data folder, or the one tests put instead.
    static QString Folder();
    static void SetFolderOverride(const QString& folder);

    // Writes image as the backup of a read at when, then removes the oldest beyond kKept, never the one
    // just made. The path written, set only when the backup is there, or the failure.
    DataFile::Result Keep(const CRadioImage& image, const QDateTime& when, QString* path = nullptr) const;
    // The backups there are, newest first; files that cannot be read are left out.
    QList<Entry> List() const;

private:
    void Prune(const QString& justMade) const;
    QStringList Names() const; // newest first

    QString m_strFolder;
    static QString s_Override;
};
