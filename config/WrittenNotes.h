#pragma once

#include <QString>
#include <QTime>

// What the status bar says after a command wrote a file: what was written, where, and when, so the
// user can find it again ("Saved /home/ana/radios/base.dat at 14:02"). Counts take their singular
// form for one ("1 channel"). Each text in English or Chinese.
namespace WrittenNotes {

// File > Save and Save As.
QString Saved(const QString &path, const QTime &at, bool chinese);
// File > Export CSV...: the programmed channels in the list.
QString ChannelsExported(int channels, const QString &path, const QTime &at, bool chinese);
// File > Export PDF...: the printed report.
QString ReportExported(int pages, const QString &path, const QTime &at, bool chinese);
// Programming Log > Export CSV...: the rows shown.
QString LogExported(int records, const QString &path, const QTime &at, bool chinese);
// Program > Batch Write...: what the last run did.
QString BatchDone(int written, int failed, const QTime &at, bool chinese);

} // namespace WrittenNotes
