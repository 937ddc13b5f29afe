// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// qx-artgen <outdir>: writes the pictures the game loads by file name into
// <outdir>/bmp as 24-bit BMP files, and beside each the same picture drawn
// for twice the pixels (<name>@2x.bmp) for high-resolution screens.

#include "art/art.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

#include <functional>

namespace {

constexpr int kStages = 7;
constexpr int kShapes = 9;

bool writeBmp(const QDir& dir, const QString& name, const QImage& picture)
{
    const QString path = dir.filePath(name);
    // RGB32 is what makes the BMP writer produce 24-bit pixels.
    if (picture.convertToFormat(QImage::Format_RGB32).save(path, "BMP"))
        return true;
    QTextStream(stderr) << "qx-artgen: cannot write " << path << '\n';
    return false;
}

bool writeSeries(const QDir& dir, int count, const QString& pattern,
                 const std::function<QImage(int)>& draw)
{
    for (int n = 1; n <= count; ++n) {
        if (!writeBmp(dir, pattern.arg(n), draw(n)))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: qx-artgen <outdir>\n";
        return 2;
    }
    QDir bmp(arguments.at(1));
    if (!bmp.mkpath(QStringLiteral("bmp")) || !bmp.cd(QStringLiteral("bmp"))) {
        QTextStream(stderr) << "qx-artgen: cannot create " << bmp.filePath(QStringLiteral("bmp"))
                            << '\n';
        return 1;
    }
    bool written = writeSeries(bmp, kStages, QStringLiteral("stage%1.bmp"), qx::art::stage) &&
                   writeSeries(bmp, kShapes, QStringLiteral("%1.bmp"), qx::art::shape);
    // The same pictures for screens of twice the pixels.
    const qx::art::PixelRatio twice(2);
    written = written &&
              writeSeries(bmp, kStages, QStringLiteral("stage%1@2x.bmp"), qx::art::stage) &&
              writeSeries(bmp, kShapes, QStringLiteral("%1@2x.bmp"), qx::art::shape);
    return written ? 0 : 1;
}
