// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// User deletion: the seven record files and the folder go, nothing else does,
// and the run state stays as it was.

#include "screens/mainform.h"
#include "testsupport.h"
#include "rules/store.h"
#include "rules/users.h"
#include "screens/usrdelete.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTest>

using namespace qx;

namespace {

QStringList listed(TForm14& form)
{
    QStringList names = probe(form).users().names();
    names.sort();
    return names;
}

void choose(TForm14& form, const QString& name)
{
    QCOMPARE(probe(form).users().names().count(name), 1);
    probe(form).users().choose(name);
}

} // namespace

class DeleteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void freshUserIsRemoved();
    void whatIsNotARecordFolderStays_data();
    void whatIsNotARecordFolderStays();
    void userFolderThatIsALink_data();
    void userFolderThatIsALink();
    void runStateIsUntouched();
    void readOnlyRecordFileKeepsTheFolder_data();
    void readOnlyRecordFileKeepsTheFolder();
    void leftoversOfAnInterruptedSaveGoWithTheUser();
    void hiddenFilesOfOtherShapesStay_data();
    void hiddenFilesOfOtherShapesStay();
};

void DeleteTest::freshUserIsRemoved()
{
    qxtest::GameFixture f;
    users::registerUser(qxtest::records(), QStringLiteral("山田"));
    users::registerUser(qxtest::records(), QStringLiteral("b"));
    probe(f.window<TForm1>()).deleteButton().click();
    TForm14& form = f.window<TForm14>();
    QCOMPARE(f.game->modal.top(), &form);
    QCOMPARE(form.pos(), QPoint(211, 149));
    QCOMPARE(listed(form), (QStringList{"b", "山田"}));

    // Nothing chosen: the list-index error, and nothing goes.
    probe(form).okButton().click();
    QCOMPARE(f.dialogs.errors,
             QStringList{QStringLiteral("リストのインデックスが範囲を超えています (-1)")});
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(users::list(qxtest::records()).size(), 2);

    choose(form, QStringLiteral("山田"));
    probe(form).okButton().click();
    QCOMPARE(f.dialogs.messages, QStringList{"削除しました"});
    QVERIFY(!QFileInfo::exists(QStringLiteral("Rec/山田")));
    QCOMPARE(listed(form), QStringList{"b"});
    QCOMPARE(f.game->modal.top(), &form);
    QVERIFY(QFileInfo::exists(QStringLiteral("Rec/record.dat")));

    probe(form).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
}

void DeleteTest::whatIsNotARecordFolderStays_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("folder with another file") << "withmemo";
    QTest::newRow("plain file") << "plain";
    QTest::newRow("link to a plain file") << "filelink";
}

void DeleteTest::whatIsNotARecordFolderStays()
{
    QFETCH(QString, entry);
    qxtest::GameFixture f;
    users::registerUser(qxtest::records(), QStringLiteral("withmemo"));
    qxtest::writeBytes(QStringLiteral("Rec/withmemo/memo.txt"), "memo");
    qxtest::writeBytes(QStringLiteral("Rec/plain"), "plain");
    QVERIFY(QFile::link(QStringLiteral("plain"), QStringLiteral("Rec/filelink")));

    probe(f.window<TForm1>()).deleteButton().click();
    TForm14& form = f.window<TForm14>();
    choose(form, entry);
    probe(form).okButton().click();
    QCOMPARE(f.dialogs.messages, QStringList{"削除できませんでした"});
    QVERIFY(listed(form).contains(entry));

    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/withmemo/memo.txt")), QByteArray("memo"));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/plain")), QByteArray("plain"));
    QVERIFY(QFileInfo(QStringLiteral("Rec/filelink")).isSymLink());
    for (const QString& file : recordFiles()) {
        // The record files of the folder with another file are gone all the same.
        QCOMPARE(QFileInfo::exists(qxtest::records().resultPath(QStringLiteral("withmemo"), file)),
                 entry != QLatin1String("withmemo"));
    }
}

void DeleteTest::userFolderThatIsALink_data()
{
    QTest::addColumn<bool>("absolute");
    QTest::newRow("absolute link") << true;
    QTest::newRow("relative link") << false;
}

// A player's records kept elsewhere (a synchronised folder, say) and reached
// by a link are a user like any other: listed and written through the link.
// Deleting the user removes the link alone; the records it leads to may be
// another machine's too, and stay.
void DeleteTest::userFolderThatIsALink()
{
    QFETCH(bool, absolute);
    qxtest::GameFixture f;
    QVERIFY(QDir().mkdir(QStringLiteral("outside")));
    for (const QString& file : recordFiles())
        qxtest::writeBytes(QStringLiteral("outside/") + file, "keep\r\n");
    QVERIFY(QFile::link(absolute ? QDir::current().absoluteFilePath(QStringLiteral("outside"))
                                 : QStringLiteral("../outside"),
                        QStringLiteral("Rec/link")));
    QCOMPARE(users::list(qxtest::records()), QStringList{"link"});
    qxtest::records().writeResultLine(
        qxtest::records().resultPath(QStringLiteral("link"), QStringLiteral("shape.dat")), true,
        QStringLiteral("2026/12/08,○,00:12:3"));
    const QByteArray written("2026/12/08,\x81\x9B,00:12:3\r\nkeep\r\n");
    QCOMPARE(qxtest::readBytes(QStringLiteral("outside/shape.dat")), written);

    probe(f.window<TForm1>()).deleteButton().click();
    TForm14& form = f.window<TForm14>();
    choose(form, QStringLiteral("link"));
    probe(form).okButton().click();
    QCOMPARE(f.dialogs.messages, QStringList{"削除しました"});
    QVERIFY(listed(form).isEmpty());
    QVERIFY(!QFileInfo(QStringLiteral("Rec/link")).isSymLink());
    for (const QString& file : recordFiles()) {
        QCOMPARE(qxtest::readBytes(QStringLiteral("outside/") + file),
                 file == QLatin1String("shape.dat") ? written : QByteArray("keep\r\n"));
    }
}

void DeleteTest::runStateIsUntouched()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    TForm1& menu = f.window<TForm1>();
    probe(menu).deleteButton().click();
    choose(f.window<TForm14>(), QStringLiteral("u"));
    probe(f.window<TForm14>()).okButton().click();
    QCOMPARE(f.dialogs.messages, QStringList{"削除しました"});
    probe(f.window<TForm14>()).backButton().click();

    QCOMPARE(menu.UserName(), QStringLiteral("u"));
    QCOMPARE(probe(menu).userLabel().text(), QStringLiteral("ユーザー名：u"));
    for (const qxtest::Control& button :
         {probe(menu).recordsButton(), probe(menu).overallButton(),
          probe(menu).testButton(TestKind::Panel), probe(menu).testButton(TestKind::LR),
          probe(menu).testButton(TestKind::NMemory), probe(menu).testButton(TestKind::Stop),
          probe(menu).testButton(TestKind::Reflex), probe(menu).testButton(TestKind::Box),
          probe(menu).testButton(TestKind::Shape)})
        QVERIFY(button.isEnabled());
    QCOMPARE(menu.OverallMode(), 0);
    QCOMPARE(menu.TotalScore(), 0);
}

// Read-only is the file's own mark: the game running as root, which may
// delete anything, passes the file over all the same.
void DeleteTest::readOnlyRecordFileKeepsTheFolder_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("first file") << "panel.dat";
    QTest::newRow("last file") << "Reflex.dat";
}

void DeleteTest::readOnlyRecordFileKeepsTheFolder()
{
    QFETCH(QString, file);
    qxtest::GameFixture f;
    users::registerUser(qxtest::records(), QStringLiteral("u"));
    const QString path = qxtest::records().resultPath(QStringLiteral("u"), file);
    qxtest::writeBytes(path, "keep\r\n");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    probe(f.window<TForm1>()).deleteButton().click();
    choose(f.window<TForm14>(), QStringLiteral("u"));
    probe(f.window<TForm14>()).okButton().click();
    QCOMPARE(f.dialogs.messages, QStringList{"削除できませんでした"});
    QVERIFY(listed(f.window<TForm14>()).contains(QStringLiteral("u")));
    QCOMPARE(qxtest::readBytes(path), QByteArray("keep\r\n"));
    QCOMPARE(QDir(QStringLiteral("Rec/u")).entryList(QDir::Files), QStringList{file});
}

// A save cut short by a crash leaves hidden copies beside a record file; they
// belong to the user and must not keep the folder from going.
void DeleteTest::leftoversOfAnInterruptedSaveGoWithTheUser()
{
    qxtest::GameFixture f;
    users::registerUser(qxtest::records(), QStringLiteral("u"));
    qxtest::writeBytes(QStringLiteral("Rec/u/.panel.dat.old"), "old");
    qxtest::writeBytes(QStringLiteral("Rec/u/.stop.dat.a1B2c3"), "partial");
    QVERIFY(users::deleteUser(qxtest::records(), QStringLiteral("u")));
    QVERIFY(!QFileInfo::exists(QStringLiteral("Rec/u")));
}

// Only the exact names a save makes are the game's to delete; anything else
// hidden in the folder is the player's.
void DeleteTest::hiddenFilesOfOtherShapesStay_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("other name") << ".notes";
    QTest::newRow("player's backup") << ".panel.dat.bak";
    QTest::newRow("longer suffix") << ".stop.dat.a1B2c3d";
    QTest::newRow("shorter suffix") << ".stop.dat.a1B2c";
    QTest::newRow("not a letter or digit") << ".stop.dat.a1-2c3";
    QTest::newRow("kept copy of another name") << ".stop.dat.older";
}

void DeleteTest::hiddenFilesOfOtherShapesStay()
{
    QFETCH(QString, entry);
    qxtest::ScratchFolder folder;
    users::registerUser(qxtest::records(), QStringLiteral("v"));
    qxtest::writeBytes(QStringLiteral("Rec/v/") + entry, "mine");
    QVERIFY(!users::deleteUser(qxtest::records(), QStringLiteral("v")));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/v/") + entry), QByteArray("mine"));
}

QTEST_MAIN(DeleteTest)
#include "tst_delete.moc"
