#pragma once

// The real seams: sound through Qt Multimedia and the standard boxes.

#include "platform/services.h"

#include <QHash>

#include <memory>

class QSoundEffect;

namespace qx {

class DesktopSound final : public Sound {
public:
    DesktopSound();
    ~DesktopSound() override;
    void play(const QString& path) override;

private:
    QHash<QString, QSoundEffect*> m_effects;
    QSoundEffect* m_playing = nullptr;
};

class DesktopDialogs final : public Dialogs {
public:
    void message(const QString& text) override;
    QString input(const QString& caption, const QString& prompt,
                  const QString& defaultText) override;
    void error(const QString& text) override;
};

} // namespace qx
