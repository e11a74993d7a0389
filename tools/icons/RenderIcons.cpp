// Draws the program's icon as the PNG sizes a freedesktop icon theme wants, from the same vector
// drawing the windows carry: render-icons FOLDER writes FOLDER/hicolor/NxN/apps/fieldcom-programmer.png.
#include "widgets/PaintedIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("Usage: render-icons FOLDER\n", stderr);
        return 2;
    }
    const QIcon icon = PaintedIcon::Icon(PaintedIcon::Kind::Radio);
    for (const int size : { 16, 22, 24, 32, 48, 64, 128, 256 }) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            icon.paint(&painter, image.rect());
        }
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/fieldcom-programmer.png"))) {
            std::fprintf(stderr, "render-icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
