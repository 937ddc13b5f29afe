// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QString>

namespace qx {

// Loads a picture file the game reads at run time (stage and shape pictures).
// Throws Error("ファイル <path> は開けません") when the file is missing and
// Error("ビットマップイメージが不正です") when it is not a picture. For a screen
// of a pixel ratio above 1, the same picture drawn for twice the pixels,
// "<name>@2x.bmp" beside it, is taken instead where it is there and reads;
// below a ratio of 2 it is made smaller to the screen's pixels.
QImage loadBitmap(const QString& path, qreal pixelRatio = 1);
// A picture drawn transparently, keyed as keyedTransparent() does.
QImage loadKeyedBitmap(const QString& path, qreal pixelRatio = 1);

// The picture with every pixel of its bottom-left colour made transparent,
// as transparent drawing of a bitmap does.
QImage keyedTransparent(const QImage& picture);

} // namespace qx
