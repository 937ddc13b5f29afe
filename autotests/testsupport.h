// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Fakes for the seams and a game fixture that plays in a scratch folder on the
// virtual clock.

#include "screens/game.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "probes.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>

namespace qxtest {

class RecordingSound final : public qx::Sound {
public:
    void play(const QString& path) override { played.append(path); }
    QStringList played;
};

// Answers input boxes from a script and records every box shown.
class ScriptedDialogs final : public qx::Dialogs {
public:
    void message(const QString& text) override
    {
        if (whenShown)
            whenShown();
        messages.append(text);
    }
    QString input(const QString& caption, const QString& prompt,
                  const QString& defaultText) override;
    void error(const QString& text) override { errors.append(text); }
    QString chooseFolder(const QString& caption) override;

    // Runs when an input box opens, before it answers (for example to move
    // the clock while the player types).
    std::function<void()> whileAsking;
    // Runs when any box opens, over the windows as they stand then.
    std::function<void()> whenShown;
    std::deque<QString> answers;
    // Folders picked, in turn; "" (cancel) when none is left.
    std::deque<QString> folders;
    QStringList messages;
    QStringList errors;
    QStringList prompts;
};

// A working folder holding "Rec/" with a top ten, entered for the life of the
// fixture.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The records folder of the scratch folder a test runs in, as the fixture
// hands it to the game.
qx::store::Records records();

// The game's messages about a file in the records folder, which name it by
// its whole path: cannotOpen("u/box.dat").
QString cannotOpen(const QString& inRecords);
QString cannotCreate(const QString& inRecords);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// Runs action in a child process that may take no more than budget bytes of
// memory beyond what it starts with (where the build's sanitizer allows a
// limit) and no more than the seconds given; whether it returned true there.
// An exception, a crash or a limit reached is false.
bool inBoundedChild(qint64 budget, unsigned seconds, const std::function<bool()>& action);

// A whole game on the virtual clock with fake sound and boxes, seeded for
// repeatable draws. Its records and pictures are in a scratch folder that it
// hands to the game, as the program hands its own folder. Errors reported by
// handlers land in dialogs.errors.
class GameFixture {
public:
    explicit GameFixture(std::uint32_t seed = 1);
    ~GameFixture();

    // Registers and selects a user.
    void selectUser(const QString& name);
    // Single play of a test, as the menu and the level selection open it.
    void openAlone(qx::TestKind kind, int level = 1);
    // One of the game's windows: f.window<TForm10>().
    template <class W> W& window() { return qxtest::window<W>(*game); }
    // An overall run that has reached the stage of a test with the points
    // given, as the run's earlier stages would leave it.
    void enterStage(const char* testId, int score = 0);

    ScratchFolder folder;
    qx::VirtualClock clock;
    qx::Random random;
    RecordingSound sound;
    ScriptedDialogs dialogs;
    qx::store::Records records{folder.path() + QStringLiteral("/Rec")};
    qx::Services services{clock, random, sound, dialogs, records, folder.path()};
    std::unique_ptr<qx::Game> game;
};

// A test screen after the player left it: no run left (mode, points and
// question count back to 0), no counter, no stage picture, start enabled.
void verifyAtRest(GameFixture& f, qx::TestScreen& screen);

} // namespace qxtest
