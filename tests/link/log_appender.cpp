// Appends records to a programming log as another program would: log_appender LOG COUNT ROTATE TAG
// waits for a line on its standard input (so several start together), then appends COUNT records with
// port TAG and blocks 0..COUNT-1, the log renamed at ROTATE bytes. Prints each failure.

#include "link/ProgramLog.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 5)
        return 2;
    const CProgramLog log(QString::fromLocal8Bit(argv[1]), QByteArray(argv[3]).toLongLong());
    const int count = QByteArray(argv[2]).toInt();
    std::getchar();
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        CLogRecord record;
        record.time = QDateTime(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC);
        record.port = QString::fromLocal8Bit(argv[4]);
        record.direction = QStringLiteral("write");
        record.blocks = i;
        if (const QString reason = log.Append(record); !reason.isEmpty()) {
            std::printf("%s\n", qPrintable(reason));
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
