#pragma once

#include <QImage>
#include <QString>

namespace qx {

// Loads a picture file the game reads at run time (stage and shape pictures).
// Throws Error("ファイル <path> は開けません") when the file is missing and
// Error("ビットマップイメージが不正です") when it is not a picture. For a screen
// of a pixel ratio of 2 or more, the same picture drawn for twice the pixels,
// "<name>@2x.bmp" beside it, is taken instead where it is there and reads.
QImage loadBitmap(const QString& path, qreal pixelRatio = 1);

// The picture with every pixel of its bottom-left colour made transparent,
// as transparent drawing of a bitmap does.
QImage keyedTransparent(const QImage& picture);

} // namespace qx
