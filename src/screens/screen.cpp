// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/screen.h"

#include "platform/clock.h"

namespace qx {

Screen::Screen(Game& game, const QString& caption) : Form(game.modal, caption), m_game(game) {}

Services& Screen::services() const
{
    return m_game.services;
}

std::int64_t Screen::keyDownNs() const
{
    const std::int64_t downNs = services().clock.eventTimeNs(keyTimestamp());
    // Only the timed tests ask when a key went down.
    m_game.dispatcher.lateness().addKey(services().clock.nowNs() - downNs);
    return downNs;
}

void Screen::PlayClick() const
{
    playSound(QStringLiteral("wav/click.wav"));
}

void Screen::playSound(const QString& path) const
{
    m_game.services.sound.play(path);
}

Image* Screen::addBackground(art::Scene scene)
{
    auto* image = new Image(this, rect());
    image->setPicture([scene] { return art::background(scene); });
    return image;
}

Image* Screen::addLogo(QRect geometry)
{
    auto* image = new Image(this, geometry);
    image->setPicture([size = geometry.size()] { return art::logo(size); });
    image->setAccessibleName(art::logoWord());
    return image;
}

Image* Screen::addButton(const QString& label, QRect geometry, std::function<void()> onClick)
{
    auto* image = new Image(this, geometry);
    image->setPicture([label, size = geometry.size()] { return art::button(label, size); });
    image->setHandCursor();
    image->setButtonName(label);
    image->OnClick = std::move(onClick);
    return image;
}

Image* Screen::addBanner(const QString& text, QRect geometry)
{
    auto* image = new Image(this, geometry);
    image->setPicture([text, size = geometry.size()] { return art::banner(text, size); });
    image->setAccessibleName(text);
    return image;
}

QLabel* Screen::addLabel(QPoint position, int pixelHeight, bool bold, QColor color)
{
    auto* label = new QLabel(this);
    // Labels show what the player typed and what files hold: never markup.
    label->setTextFormat(Qt::PlainText);
    label->setFont(gameFont(pixelHeight, bold));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->move(position);
    return label;
}

} // namespace qx
