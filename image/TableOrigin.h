#pragma once

#include "image/RadioImage.h"

#include <QDateTime>
#include <QString>

#include <vector>

// Where a document's power and alignment tables came from: a radio read, a data file, or nowhere
// (a new document). A service-mode Write names it before it offers to replace a radio's calibration.
// Each source is kept with the table bytes it brought, and the answer is the latest source whose bytes
// the image still holds: undo, redo and the service dialogs need no bookkeeping of their own.
class CTableOrigin {
public:
    enum class Kind { NeverRead, File, Radio };
    // What a read brought: the whole image, or one table through a service dialog.
    enum class Tables { Both, Power, Alignment };

    // A new document or an opened file: the sources before it are forgotten.
    void Reset(Kind kind, const CRadioImage& image, const QString& fileName = {});
    // A read from a radio that finished at time; the tables not read keep their source.
    void AddRead(const CRadioImage& image, const QDateTime& time, Tables tables = Tables::Both);

    // "Power and alignment tables: read from a radio at 2026-12-08 03:50:12." One line for both tables
    // when they share their source, else a line each; a table that matches no source was changed here.
    QString Describe(const CRadioImage& image, bool chinese) const;
    // The question before a Write that may include the tables, naming their source.
    QString Question(const CRadioImage& image, bool chinese) const;

private:
    struct Source {
        Kind kind;
        QString detail; // the file name or the time of the read
        CRadioImage image;
        Tables tables = Tables::Both;
    };
    // The latest source of the power table (else the alignment table) whose bytes equal the image's, or -1.
    int Find(const CRadioImage& image, bool power) const;
    QString Phrase(int source, bool chinese) const;

    std::vector<Source> m_Sources;
};
