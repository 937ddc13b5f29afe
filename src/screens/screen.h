// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What every window of the game is built from: the form, its pictures painted
// by the art library, and its way to the game.

#include "screens/game.h"
#include "art/art.h"
#include "platform/controls.h"
#include "platform/form.h"

#include <QLabel>

#include <QCoreApplication>

namespace qx {

// The one way in for tests that look inside a screen: every screen keeps its
// controls, timers and state private and names its accessor a friend; the
// accessors themselves are the tests' own.
template <class S> struct ScreenProbe;

class Screen : public Form {
    Q_DECLARE_TR_FUNCTIONS(Screen)

public:
    Screen(Game& game, const QString& caption);

protected:
    Game& game() const { return m_game; }
    Services& services() const;
    Session& session() const { return m_game.session; }
    // When the key being handled went down, on the game's clock.
    std::int64_t keyDownNs() const;

    void PlayClick() const;
    void playSound(const QString& path) const;

    Image* addBackground(art::Scene scene);
    Image* addLogo(QRect geometry);
    // A picture button with its label painted in.
    Image* addButton(const QString& label, QRect geometry, std::function<void()> onClick);
    Image* addBanner(const QString& text, QRect geometry);
    QLabel* addLabel(QPoint position, int pixelHeight, bool bold, QColor color = Qt::black);

private:
    Game& m_game;
};

} // namespace qx
