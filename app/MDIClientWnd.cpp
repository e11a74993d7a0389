#include "app/MDIClientWnd.h"

#include "widgets/PaintedIcon.h"
#include "config/AppPaths.h"

#include <QFile>
#include <QPaintEvent>
#include <QPainter>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr quint32 kCoreHeaderSize = 12; // the old header: 16-bit width and height, no compression
constexpr quint32 kUncompressed = 0;
constexpr quint32 kBitFields = 3;

quint32 LittleEndian(const QByteArray& bytes, int at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

// Whether a Windows bitmap holds every byte its headers promise. The image reader takes a file that
// was cut short and leaves the rows it could not read as whatever the memory held, which would then
// be tiled over the whole window.
bool IsWholeBitmap(const QByteArray& bytes)
{
    if (bytes.size() < kFileHeaderSize + 16)
        return false;
    const qint64 pixelsAt = LittleEndian(bytes, 10, 4);
    const quint32 infoSize = LittleEndian(bytes, 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    qint64 bitCount = 0;
    quint32 compression = kUncompressed;
    qint64 declaredSize = 0;
    if (infoSize == kCoreHeaderSize) {
        width = LittleEndian(bytes, 18, 2);
        height = LittleEndian(bytes, 20, 2);
        bitCount = LittleEndian(bytes, 24, 2);
    } else {
        if (infoSize < 40 || bytes.size() < kFileHeaderSize + 40)
            return false;
        width = qint32(LittleEndian(bytes, 18, 4));
        height = qAbs(qint64(qint32(LittleEndian(bytes, 22, 4)))); // negative: rows from the top
        bitCount = LittleEndian(bytes, 28, 2);
        compression = LittleEndian(bytes, 30, 4);
        declaredSize = LittleEndian(bytes, 34, 4);
    }
    if (width <= 0 || height <= 0 || bitCount <= 0 || pixelsAt < kFileHeaderSize + infoSize)
        return false;
    const qint64 available = bytes.size() - pixelsAt;
    if (available <= 0)
        return false;
    if (compression != kUncompressed && compression != kBitFields)
        return declaredSize > 0 && declaredSize <= available; // run-length data says its own size
    const qint64 rowBytes = (width * bitCount + 31) / 32 * 4; // rows are padded to four bytes
    return rowBytes <= available / height;
}

} // namespace

CMDIClientWnd::CMDIClientWnd(QWidget* parent)
    : QMdiArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QPixmap CMDIClientWnd::BackgroundPicture()
{
    QFile file(CAppPaths::BesideExe(QStringLiteral("background.bmp")));
    QPixmap picture;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        // Any picture the platform reads; a Windows bitmap only when it is whole.
        if (!bytes.startsWith("BM") || IsWholeBitmap(bytes))
            picture.loadFromData(bytes);
    }
    if (picture.isNull())
        picture = PaintedIcon::BackgroundTile();
    return picture;
}

QList<QPoint> CMDIClientWnd::TileOrigins(const QSize& area, const QSize& picture)
{
    QList<QPoint> origins;
    if (picture.isEmpty())
        return origins;
    for (int i = 0; i <= area.width() / picture.width(); ++i)
        for (int j = 0; j <= area.height() / picture.height(); ++j)
            origins << QPoint(i * picture.width(), j * picture.height());
    return origins;
}

void CMDIClientWnd::paintEvent(QPaintEvent* event)
{
    const QPixmap picture = BackgroundPicture();
    QPainter painter(viewport());
    for (const QPoint& origin : TileOrigins(viewport()->size(), picture.size()))
        if (event->rect().intersects(QRect(origin, picture.size())))
            painter.drawPixmap(origin, picture);
}

void CMDIClientWnd::resizeEvent(QResizeEvent* event)
{
    QMdiArea::resizeEvent(event);
    viewport()->update();
}
