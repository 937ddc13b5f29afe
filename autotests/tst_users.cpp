// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Registration, selection and the listing of users: what the player sees and
// what lands on disk.

#include "screens/mainform.h"
#include "platform/controls.h"
#include "testsupport.h"
#include "screens/regist.h"
#include "screens/select.h"
#include "rules/users.h"

#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace qx;

namespace {
// Every path under the scratch folder, to prove that nothing was created.
QStringList tree()
{
    QStringList paths;
    QDirIterator it(QDir::currentPath(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    return paths;
}
} // namespace

class UsersTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void registrationMakesSevenEmptyFiles();
    void refusedNamesCreateNothing_data();
    void refusedNamesCreateNothing();
    void acceptedNames_data();
    void acceptedNames();
    void listingFollowsTheFolder();
    void selectionUnlocksTheNineButtons();
    void selectionWithNothingChosenReportsTheListIndex();
    void closingRegistrationEmptiesTheBox();
    void nameCaptionSitsJustAboveTheEntryBox();
};

void UsersTest::registrationMakesSevenEmptyFiles()
{
    qxtest::GameFixture f;
    auto* form = &f.window<TForm11>();
    form->ShowModal();
    probe(*form).nameBox().fill(QStringLiteral("山田"));
    probe(*form).registerButton().click();
    QCOMPARE(f.dialogs.messages, QStringList{"登録しました"});
    QVERIFY(probe(*form).nameBox().text().isEmpty());
    QDir folder(QStringLiteral("Rec/山田"));
    QStringList files = folder.entryList(QDir::Files);
    files.sort();
    QStringList expected{"L_R.dat",   "N_memory.dat", "Reflex.dat", "box.dat",
                         "panel.dat", "shape.dat",    "stop.dat"};
    QCOMPARE(files, expected);
    for (const QString& file : files)
        QCOMPARE(QFileInfo(folder.filePath(file)).size(), 0);
    QVERIFY(f.window<TForm1>().UserName().isEmpty());

    // A pasted name of two lines registers its first line.
    probe(*form).nameBox().fill(QStringLiteral("佐藤\r\n"));
    probe(*form).registerButton().click();
    QCOMPARE(f.dialogs.messages.last(), QStringLiteral("登録しました"));
    QVERIFY(QFileInfo(QStringLiteral("Rec/佐藤")).isDir());

    // A second registration of the same name leaves the first one alone.
    qxtest::writeBytes(QStringLiteral("Rec/山田/panel.dat"), "keep\r\n");
    probe(*form).nameBox().fill(QStringLiteral("山田"));
    probe(*form).registerButton().click();
    QCOMPARE(f.dialogs.messages.last(), QStringLiteral("登録できません"));
    QCOMPARE(probe(*form).nameBox().text(), QStringLiteral("山田"));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/山田/panel.dat")), QByteArray("keep\r\n"));
}

void UsersTest::refusedNamesCreateNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("hidden") << ".taro";
    QTest::newRow("climbs out") << "../x";
    QTest::newRow("slash") << "a/b";
    QTest::newRow("backslash") << "a\\b";
    for (const char* c : {":", "*", "?", "\"", "<", ">", "|"})
        QTest::newRow(qPrintable(QStringLiteral("char %1").arg(QLatin1String(c))))
            << QStringLiteral("a%1b").arg(QLatin1String(c));
    QTest::newRow("tab") << "a\tb";
    // Only what comes before a line break is taken: nothing here.
    QTest::newRow("line break first") << "\nb";
    QTest::newRow("CON") << "CON";
    QTest::newRow("nul.txt") << "nul.txt";
    QTest::newRow("com1") << "com1";
    QTest::newRow("LPT9.log") << "LPT9.log";
    QTest::newRow("trailing dot") << "taro.";
    QTest::newRow("trailing space") << "taro ";
    QTest::newRow("over 255 bytes") << QString(128, QChar(0x3042));
    QTest::newRow("not in code page 932") << "caf\u00E9\U0001F600";
    QTest::newRow("exists as record.dat") << "record.dat";
}

void UsersTest::refusedNamesCreateNothing()
{
    QFETCH(QString, name);
    qxtest::GameFixture f;
    const QStringList before = tree();
    auto* form = &f.window<TForm11>();
    form->ShowModal();
    probe(*form).nameBox().fill(name);
    probe(*form).registerButton().click();
    QCOMPARE(f.dialogs.messages, QStringList{"登録できません"});
    QCOMPARE(tree(), before);
}

void UsersTest::acceptedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("kanji") << "山田太郎";
    QTest::newRow("space inside") << "taro yamada";
    QTest::newRow("comma") << "a,b";
    QTest::newRow("CONSOLE is no device") << "CONSOLE";
    QTest::newRow("kanji with 5C trail byte") << "表ソ";
}

void UsersTest::acceptedNames()
{
    QFETCH(QString, name);
    QVERIFY(users::isAcceptableName(name));
}

void UsersTest::listingFollowsTheFolder()
{
    qxtest::GameFixture f;
    users::registerUser(qxtest::records(), QStringLiteral("b"));
    users::registerUser(qxtest::records(), QStringLiteral("a"));
    qxtest::writeBytes(QStringLiteral("Rec/plain"), "x");
    QDir().mkdir(QStringLiteral("Rec/.hidden"));
    qxtest::writeBytes(QStringLiteral("Rec/.record.dat.tmp"), "x");
    QStringList listed = users::list(qxtest::records());
    listed.sort();
    QCOMPARE(listed, (QStringList{"a", "b", "plain"}));

    auto* form = &f.window<TForm12>();
    form->ShowModal();
    probe(*form).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    form->ShowModal(); // the list is filled anew at each opening
    QCOMPARE(probe(*form).users().count(), 3);
}

void UsersTest::selectionUnlocksTheNineButtons()
{
    qxtest::GameFixture f;
    auto& menu = f.window<TForm1>();
    const QList<qxtest::Control> locked{probe(menu).recordsButton(),
                                        probe(menu).overallButton(),
                                        probe(menu).testButton(TestKind::Panel),
                                        probe(menu).testButton(TestKind::LR),
                                        probe(menu).testButton(TestKind::NMemory),
                                        probe(menu).testButton(TestKind::Stop),
                                        probe(menu).testButton(TestKind::Reflex),
                                        probe(menu).testButton(TestKind::Box),
                                        probe(menu).testButton(TestKind::Shape)};
    for (const qxtest::Control& button : locked)
        QVERIFY(!button.isEnabled());
    // A locked button neither acts nor sounds.
    probe(menu).testButton(TestKind::Panel).click();
    QVERIFY(f.sound.played.isEmpty());
    QCOMPARE(f.game->modal.depth(), 0);

    users::registerUser(qxtest::records(), QStringLiteral("山田"));
    probe(menu).selectButton().click();
    QCOMPARE(f.game->modal.top(), &f.window<TForm12>());
    auto* select = &f.window<TForm12>();
    probe(*select).users().choose(0);
    probe(*select).okButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    QCOMPARE(menu.UserName(), QStringLiteral("山田"));
    QCOMPARE(probe(menu).userLabel().text(), QStringLiteral("ユーザー名：山田"));
    for (const qxtest::Control& button : locked)
        QVERIFY(button.isEnabled());
    QCOMPARE(f.sound.played, QStringList{"wav/click.wav"});
}

void UsersTest::selectionWithNothingChosenReportsTheListIndex()
{
    qxtest::GameFixture f;
    users::registerUser(qxtest::records(), QStringLiteral("u"));
    probe(f.window<TForm1>()).selectButton().click();
    probe(f.window<TForm12>()).okButton().click();
    QCOMPARE(f.dialogs.errors,
             QStringList{QStringLiteral("リストのインデックスが範囲を超えています (-1)")});
    QCOMPARE(f.game->modal.top(), &f.window<TForm12>());
    QVERIFY(f.window<TForm1>().UserName().isEmpty());
}

void UsersTest::closingRegistrationEmptiesTheBox()
{
    qxtest::GameFixture f;
    probe(f.window<TForm1>()).registerButton().click();
    probe(f.window<TForm11>()).nameBox().fill(QStringLiteral("half typed"));
    probe(f.window<TForm11>()).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    QVERIFY(probe(f.window<TForm11>()).nameBox().text().isEmpty());
}

// The lowest lettering of the instruction picture is "名前", the entry box's
// caption, so it must end just above the box.
void UsersTest::nameCaptionSitsJustAboveTheEntryBox()
{
    qxtest::GameFixture f;
    TForm11& form = f.window<TForm11>();
    const QImage picture = probe(form).instructions().picture();
    int lowestInk = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.alpha() > 200 && c.red() < 0x60 && c.blue() > 0xb0)
                lowestInk = y;
        }
    }
    QVERIFY(lowestInk >= 0);
    const int gap = probe(form).nameBox().y() - (probe(form).instructions().y() + lowestInk);
    QVERIFY2(gap > 0 && gap <= 20, qPrintable(QString::number(gap)));
}

QTEST_MAIN(UsersTest)
#include "tst_users.moc"
