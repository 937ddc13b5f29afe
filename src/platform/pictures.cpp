#include "platform/pictures.h"

#include "platform/dispatch.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace qx {

QImage loadBitmap(const QString& path, qreal pixelRatio)
{
    const QFileInfo file(path);
    if (!file.isFile())
        throw Error(QStringLiteral("ファイル %1 は開けません").arg(path));
    if (pixelRatio >= 2) {
        QImage sharp(
            file.dir().filePath(file.completeBaseName() + QStringLiteral("@2x.") + file.suffix()));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2);
            return sharp;
        }
    }
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull())
        throw Error(QStringLiteral("ビットマップイメージが不正です"));
    return picture;
}

QImage keyedTransparent(const QImage& picture)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull())
        return out;
    const QRgb key = out.pixel(0, out.height() - 1) | 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((row[x] | 0xFF000000u) == key)
                row[x] = 0;
        }
    }
    return out;
}

} // namespace qx
