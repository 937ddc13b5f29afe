// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The files of pictures drawn ahead of time, which the game reads at start-up
// instead of drawing them. Apart from the rest of the art library, so that the
// fuzz targets build the reader with Qt Core and Qt Gui alone, no painting.

#include <QImage>
#include <QString>

class QIODevice;

namespace qx::art::paint {

// Pictures drawn ahead of time. A picture's file is named after its key, which
// says what the picture shows (kind, size, text), so the same key is the same
// picture. The pixels are kept as they are in memory after a short heading:
// reading them so is many times quicker than decoding a compressed picture.
QString drawnPictureFile(const QString& folder, const QString& key);
bool writePicture(const QString& file, const QImage& picture);
// The same bytes, written to any device.
bool writePicture(QIODevice& out, const QImage& picture);
// A null picture for anything but a whole, well-formed file.
QImage readPicture(const QString& file);
// The same from any device holding the file's bytes, from its start; its
// size() is the file's.
QImage readPicture(QIODevice& in);

} // namespace qx::art::paint
