// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The game's pictures, drawn with QPainter from code so that every picture has
// its source in the repository. One friendly style throughout: soft pastel
// gradients, rounded shapes, bold blue lettering with a white rim.
//
// The screens paint most pictures straight from these functions (buttons,
// banners, backgrounds); the build tool `qx-artgen` writes the pictures the
// program loads by file name (stage pictures, shapes) into the game's bmp/.

#include <QImage>
#include <QSize>
#include <QString>

class QPainter;

namespace qx::art {

// The font every text of the game asks for. Where it is missing, the first
// installed of a list of Japanese fonts of the same kind stands in (IPA
// P Gothic first: it has the same proportional metrics). Installs that once.
QString installScreenFont();
// Whether any font that can show Japanese is installed; without one every
// text would show as boxes. Needs the application to exist.
bool japaneseFontInstalled();

enum class Scene {
    Menu,   // main menu: the liveliest background
    Screen, // every test and user screen
    Dialog, // stage hand-off dialog
    Score,  // overall score screen
};

// While one lives, pictures are drawn for a screen of this many device pixels
// per designed pixel: their sizes and every position in them stay in designed
// pixels, and they carry the ratio (QImage::devicePixelRatio), so a
// high-resolution screen shows them sharp instead of enlarged. Windows draw
// their pictures under the ratio of the screen they are on.
class PixelRatio {
public:
    explicit PixelRatio(qreal ratio);
    ~PixelRatio();
    PixelRatio(const PixelRatio&) = delete;
    PixelRatio& operator=(const PixelRatio&) = delete;

    // The ratio pictures are drawn at now.
    static qreal current();

private:
    qreal m_outer;
};

// Pictures drawn ahead of time, for a quick first frame: writes every picture
// drawn so far into folder, a file each, named after what it shows.
bool saveDrawnPictures(const QString& folder);
// From now on a picture not drawn yet is read from folder when its file is
// there and reads as a picture, and drawn otherwise.
void useDrawnPictures(const QString& folder);

// 600 x 480, opaque.
QImage background(Scene scene);

// The product logo reading logoWord() on a transparent background.
QImage logo(QSize size);
QString logoWord();

// A picture button with its label painted in, transparent around the button.
QImage button(const QString& label, QSize size);

// A picture of text on a transparent background: instruction banners, titles,
// the "個別トレーニング" heading. Lines are separated by '\n'.
QImage banner(const QString& text, QSize size);
// A banner over an entry field: the text in a ribbon at the top, and the
// field's caption alone at the bottom left, just above the field that sits
// below the picture.
QImage fieldBanner(const QString& text, const QString& caption, QSize size);

// The hover marker: a right-pointing triangle, 25 x 28, transparent.
QImage marker();

// Main-menu decorations, transparent.
QImage star(QSize size);
QImage rainbow(QSize size);

// The application icon, `size` pixels square: the main menu's smiling star
// under a rainbow on a rounded sky tile. Small sizes leave out the details
// that would only blur. Painted with vector operations only, so the same
// drawing makes the bitmaps and the scalable icon.
void paintIcon(QPainter& painter, int size);
QImage icon(int size);

// "STAGE n" picture for the overall run, 137 x 33, opaque.
QImage stage(int n);

// Shape n (1..9) for the shape test, at most 57 x 49, on a flat key colour
// that fills the bottom-left pixel (the transparent colour of the picture).
// 1 square outline, 2 filled diamond, 3 diagonal bar from top left to bottom
// right, 4 circle outline, 5 double circle, 6 filled triangle, 7 triangle
// outline, 8 at sign, 9 upward arrow. Turquoise, dark outline, drop shadow.
QImage shape(int n);
// The key colour that shape() fills its background with.
QRgb shapeKeyColor();

// A cyan cube seen obliquely (front square, top and right faces receding up
// and to the right), transparent.
inline constexpr QSize kCubeSize{113, 105};
QImage cube();

// The Reflex pictures, 264 x 225, opaque: 0 a grey group of cartoon figures,
// 1 a laughing girl's face under a yellow bear hood, 2 a red-haired girl
// standing.
QImage reflexPicture(int index);

// The stop screen's stopwatch, 433 x 417, transparent; its face holds the
// white clock area at (72, 112)-(349, 315) relative to the picture.
QImage stopwatch();

// The L-R screen's brick-wall ellipse, 553 x 305, transparent.
QImage brickEllipse();

} // namespace qx::art
