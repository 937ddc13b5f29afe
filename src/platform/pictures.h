#pragma once

#include <QImage>
#include <QString>

namespace qx {

// Loads a picture file the game reads at run time (stage and shape pictures).
// Throws Error("ファイル <path> は開けません") when the file is missing and
// Error("ビットマップイメージが不正です") when it is not a picture.
QImage loadBitmap(const QString& path);

// The picture with every pixel of its bottom-left colour made transparent,
// as transparent drawing of a bitmap does.
QImage keyedTransparent(const QImage& picture);

} // namespace qx
