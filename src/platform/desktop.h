// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The real seams: sound through Qt Multimedia and the standard boxes.

#include "platform/services.h"

#include <QHash>

#include <functional>
#include <memory>

class QSoundEffect;
class QWidget;

namespace qx {

// What the process needs of the system before anything else runs. Under a
// file size limit (ulimit -f, set by some desktops and sandboxes) a write past
// it would end the game with SIGXFSZ: the sound system's shared memory alone is
// larger than some limits. Ignored, the write fails with EFBIG instead: a save
// reports it like any failed save, and a sound that cannot play stays silent.
void prepareProcess();

class DesktopSound final : public Sound {
public:
    // Sounds are named by their path in the data folder, "wav/cd.wav".
    explicit DesktopSound(QString dataFolder = {});
    ~DesktopSound() override;
    void play(const QString& path) override;

private:
    QString m_dataFolder;
    QHash<QString, QSoundEffect*> m_effects;
    QSoundEffect* m_playing = nullptr;
};

class DesktopDialogs final : public Dialogs {
public:
    // The window each box belongs to, so that the box opens over it and hands
    // the keyboard back to it; without one, the active window.
    void setOwner(std::function<QWidget*()> owner) { m_owner = std::move(owner); }

    void message(const QString& text) override;
    QString input(const QString& caption, const QString& prompt,
                  const QString& defaultText) override;
    void error(const QString& text) override;
    QString chooseFolder(const QString& caption) override;

private:
    QWidget* owner() const;
    std::function<QWidget*()> m_owner;
};

} // namespace qx
