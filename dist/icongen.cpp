// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// qx-icongen <outdir> <name>: writes the application icon as a hicolor theme
// tree, <outdir>/hicolor/<n>x<n>/apps/<name>.png at the sizes desktops look
// for, and <outdir>/hicolor/scalable/apps/<name>.svg.

#include "art/art.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QTextStream>

#include <array>

namespace {

constexpr std::array kSizes = {16, 22, 24, 32, 48, 64, 128, 256, 512};
// The scalable icon is drawn with every detail, as at this size.
constexpr int kScalableSize = 256;

bool makeFolder(const QDir& root, const QString& folder)
{
    if (root.mkpath(folder))
        return true;
    QTextStream(stderr) << "qx-icongen: cannot create " << root.filePath(folder) << '\n';
    return false;
}

bool writePng(const QDir& root, const QString& name, int size)
{
    const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
    if (!makeFolder(root, folder))
        return false;
    const QString path = root.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    if (qx::art::icon(size).save(path, "PNG"))
        return true;
    QTextStream(stderr) << "qx-icongen: cannot write " << path << '\n';
    return false;
}

bool writeSvg(const QDir& root, const QString& name)
{
    const QString folder = QStringLiteral("hicolor/scalable/apps");
    if (!makeFolder(root, folder))
        return false;
    QSvgGenerator svg;
    svg.setFileName(root.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".svg")));
    svg.setSize(QSize(kScalableSize, kScalableSize));
    svg.setViewBox(QRect(0, 0, kScalableSize, kScalableSize));
    svg.setTitle(QStringLiteral("Quiravex"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        QTextStream(stderr) << "qx-icongen: cannot write " << svg.fileName() << '\n';
        return false;
    }
    qx::art::paintIcon(painter, kScalableSize);
    return painter.end();
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 3) {
        QTextStream(stderr) << "usage: qx-icongen <outdir> <name>\n";
        return 2;
    }
    const QDir root(arguments.at(1));
    const QString& name = arguments.at(2);
    for (const int size : kSizes) {
        if (!writePng(root, name, size))
            return 1;
    }
    return writeSvg(root, name) ? 0 : 1;
}
