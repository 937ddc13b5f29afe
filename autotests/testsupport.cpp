// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "screens/mainform.h"
#include "platform/controls.h"
#include "platform/dispatch.h"
#include "rules/store.h"
#include "rules/users.h"
#include "widgets/ShadoLbl.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qxtest {

void Control::mouseClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) const
{
    QTest::mouseClick(m_widget, button, modifiers, at);
}

void Control::key(Qt::Key key, Qt::KeyboardModifiers modifiers) const
{
    QTest::keyClick(m_widget, key, modifiers);
}

void Control::type(const QString& text) const
{
    QTest::keyClicks(m_widget, text);
}

QString ScriptedDialogs::input(const QString& caption, const QString& prompt, const QString&)
{
    prompts.append(caption + QLatin1Char('/') + prompt);
    if (whenShown)
        whenShown();
    if (whileAsking)
        whileAsking();
    if (answers.empty())
        return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedDialogs::chooseFolder(const QString& caption)
{
    prompts.append(caption);
    if (folders.empty())
        return {};
    QString folder = folders.front();
    folders.pop_front();
    return folder;
}

ScratchFolder::ScratchFolder() : m_previous(QDir::currentPath())
{
    QDir(m_dir.path()).mkdir(QStringLiteral("Rec"));
    QFile::copy(QStringLiteral(QX_SOURCE_DIR "/assets/record.dat"),
                m_dir.path() + QStringLiteral("/Rec/record.dat"));
    QFile(m_dir.path() + QStringLiteral("/Rec/record.dat"))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    // The pictures the screens load by name, as in the game folder.
    QDir(m_dir.path()).mkdir(QStringLiteral("bmp"));
    const QDir pictures(QStringLiteral(QX_GAME_DIR "/bmp"));
    for (const QString& name : pictures.entryList(QDir::Files))
        QFile::copy(pictures.filePath(name), m_dir.path() + QStringLiteral("/bmp/") + name);
    QDir::setCurrent(m_dir.path());
}

ScratchFolder::~ScratchFolder()
{
    QDir::setCurrent(m_previous);
}

qx::store::Records records()
{
    return qx::store::Records(QDir::current().absoluteFilePath(QStringLiteral("Rec")));
}

QString cannotOpen(const QString& inRecords)
{
    return QStringLiteral("ファイル %1/%2 は開けません").arg(records().folder(), inRecords);
}

QString cannotCreate(const QString& inRecords)
{
    return QStringLiteral("ファイル %1/%2 を作成できません").arg(records().folder(), inRecords);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool inBoundedChild(qint64 budget, unsigned seconds, const std::function<bool()>& action)
{
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
#if !defined(__SANITIZE_ADDRESS__)
        // The address space the process has mapped so far, in pages.
        std::FILE* statm = std::fopen("/proc/self/statm", "r");
        unsigned long pages = 0;
        if (statm == nullptr || std::fscanf(statm, "%lu", &pages) != 1)
            ::_exit(2);
        std::fclose(statm);
        const auto limit =
            static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) +
            static_cast<rlim_t>(budget);
        const rlimit memory{limit, limit};
        if (::setrlimit(RLIMIT_AS, &memory) != 0)
            ::_exit(2);
#else
        Q_UNUSED(budget);
#endif
        ::alarm(seconds);
        bool held = false;
        try {
            held = action();
        } catch (...) {
            held = false;
        }
        ::_exit(held ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

GameFixture::GameFixture(std::uint32_t seed)
{
    qx::installFontSubstitution();
    qx::installAccessibility();
    game = std::make_unique<qx::Game>(services);
    random.seed(seed);
    game->start();
}

GameFixture::~GameFixture()
{
    game.reset();
}

void GameFixture::selectUser(const QString& name)
{
    qx::users::registerUser(records, name);
    game->session.selectUser(name);
}

void GameFixture::openAlone(qx::TestKind kind, int level)
{
    game->session.playAlone(kind);
    if (qx::testDef(kind).hasLevels)
        game->session.chooseLevel(level);
}

void GameFixture::enterStage(const char* testId, int score)
{
    qx::ScreenProbe<qx::Session>{game->session}.reachStage(
        *qx::findTest(QString::fromLatin1(testId)), score);
}

void verifyAtRest(GameFixture& f, qx::TestScreen& screen)
{
    const TForm1& menu = f.window<TForm1>();
    QCOMPARE(menu.OverallMode(), 0);
    QCOMPARE(menu.TotalScore(), 0);
    QCOMPARE(f.game->session.run().question(), 0);
    QVERIFY(frame(screen).counterLabel().text().isEmpty());
    QVERIFY(!frame(screen).stagePicture().hasPicture());
    QVERIFY(frame(screen).startButton().isEnabled());
}

} // namespace qxtest
