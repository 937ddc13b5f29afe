// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "art/picturefile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSaveFile>

#include <cstdint>
#include <cstring>

namespace qx::art::paint {

QString drawnPictureFile(const QString& folder, const QString& key)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1);
    return folder + QLatin1Char('/') + QString::fromLatin1(hash.toHex()) + QStringLiteral(".qxpic");
}

namespace {

constexpr char kPictureMagic[8] = {'Q', 'X', 'P', 'I', 'C', '1', '\r', '\n'};
constexpr int kLargestDrawnSide = 8192;

struct PictureHeading {
    char magic[8];
    std::uint32_t width;
    std::uint32_t height;
};

} // namespace

bool writePicture(QIODevice& out, const QImage& picture)
{
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    PictureHeading heading{};
    std::memcpy(heading.magic, kPictureMagic, sizeof kPictureMagic);
    heading.width = static_cast<std::uint32_t>(pixels.width());
    heading.height = static_cast<std::uint32_t>(pixels.height());
    bool written = out.write(reinterpret_cast<const char*>(&heading), sizeof heading) ==
                   qint64(sizeof heading);
    for (int y = 0; written && y < pixels.height(); ++y) {
        const qint64 rowBytes = qint64(pixels.width()) * 4;
        written =
            out.write(reinterpret_cast<const char*>(pixels.constScanLine(y)), rowBytes) == rowBytes;
    }
    return written;
}

bool writePicture(const QString& file, const QImage& picture)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    writePicture(out, picture);
    return out.commit();
}

QImage readPicture(QIODevice& in)
{
    PictureHeading heading{};
    if (in.read(reinterpret_cast<char*>(&heading), sizeof heading) != sizeof heading ||
        std::memcmp(heading.magic, kPictureMagic, sizeof kPictureMagic) != 0 ||
        heading.width == 0 || heading.height == 0 || heading.width > kLargestDrawnSide ||
        heading.height > kLargestDrawnSide)
        return {};
    const qint64 rowBytes = static_cast<qint64>(heading.width) * 4;
    if (in.size() != static_cast<qint64>(sizeof heading) + rowBytes * heading.height)
        return {};
    QImage picture(static_cast<int>(heading.width), static_cast<int>(heading.height),
                   QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < picture.height(); ++y) {
        if (in.read(reinterpret_cast<char*>(picture.scanLine(y)), rowBytes) != rowBytes)
            return {};
    }
    return picture;
}

QImage readPicture(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return readPicture(in);
}

} // namespace qx::art::paint
