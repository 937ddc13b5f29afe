// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pictures.h"

#include "platform/dispatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QtMath>

namespace qx {

namespace {

// The file as it is read: for a screen of more pixels than designed, the same
// picture drawn for twice the pixels where it is there and reads.
QImage readBitmap(const QString& path, qreal pixelRatio)
{
    const QFileInfo file(path);
    if (!file.isFile())
        throw Error(QCoreApplication::translate("Pictures", "ファイル %1 は開けません").arg(path));
    if (pixelRatio > 1) {
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
        throw Error(QCoreApplication::translate("Pictures", "ビットマップイメージが不正です"));
    return picture;
}

// Between one and two device pixels a designed pixel, the sharp picture made
// smaller: sharper than the ordinary one enlarged.
QImage forRatio(const QImage& picture, qreal pixelRatio)
{
    if (picture.devicePixelRatio() != 2 || pixelRatio >= 2)
        return picture;
    const QSizeF designed = picture.deviceIndependentSize();
    QImage fitted =
        picture.scaled(qCeil(designed.width() * pixelRatio), qCeil(designed.height() * pixelRatio),
                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    fitted.setDevicePixelRatio(pixelRatio);
    return fitted;
}

} // namespace

QImage loadBitmap(const QString& path, qreal pixelRatio)
{
    return forRatio(readBitmap(path, pixelRatio), pixelRatio);
}

QImage loadKeyedBitmap(const QString& path, qreal pixelRatio)
{
    // Keyed before it is made smaller, so that its edges blend into what is
    // behind them instead of into the key colour.
    return forRatio(keyedTransparent(readBitmap(path, pixelRatio)), pixelRatio);
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
