#pragma once

#include <QString>
#include <QStringList>

class CCliContext;
class CRadioImage;

// What program-cli write checks before it sends a file, alone or to many radios: the channels the
// file's band leaves out, and whether the radio's calibration may be replaced.
class CCliWriteChecks {
public:
    // Takes --with-alignment and --allow-out-of-band out of args.
    void Take(QStringList& args);

    // A usage error for the flags as given with or without the access code; empty when they go together.
    QString UsageError(bool hasAccessCode) const;
    // Whether the write also sends the power and alignment tables: only with the code and
    // --with-alignment, never on the code alone.
    bool WithTables(bool hasAccessCode) const { return hasAccessCode && m_bWithAlignment; }
    // Before anything is sent: refuses (exit 1) a file with channels outside its band unless
    // --allow-out-of-band, and tells a code without --with-alignment that the tables stay as they are.
    // kDone when the write may go ahead.
    int Check(CCliContext& context, const CRadioImage& image, bool hasAccessCode) const;

private:
    bool m_bWithAlignment = false;
    bool m_bAllowOutOfBand = false;
};
