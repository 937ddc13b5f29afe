// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main menu's pictures drawn ahead at build time: they must be the
// pictures the game would draw itself, and a damaged file must never show.

#include "screens/mainform.h"
#include "art/art.h"
#include "art/paint.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace qx;

class DrawAheadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void drawnAheadAreWhatTheMenuDraws();
    void damagedPictureFilesReadAsNothing_data();
    void damagedPictureFilesReadAsNothing();
};

// The build draws them with the game's own code; were the two to part (a
// picture changed, a stale file left), the menu would look different the
// moment it is drawn again.
void DrawAheadTest::drawnAheadAreWhatTheMenuDraws()
{
    qxtest::GameFixture f;
    f.window<TForm1>().grab();
    const QTemporaryDir drawnHere;
    QVERIFY(art::saveDrawnPictures(drawnHere.path()));
    const QDir here(drawnHere.path());
    const QDir ahead(QStringLiteral(QX_GAME_DIR "/art"));
    const QStringList names = here.entryList(QDir::Files);
    QVERIFY(!names.isEmpty());
    for (const QString& name : names) {
        QVERIFY2(ahead.exists(name), qPrintable(name));
        QCOMPARE(art::paint::readPicture(ahead.filePath(name)),
                 art::paint::readPicture(here.filePath(name)));
    }
}

void DrawAheadTest::damagedPictureFilesReadAsNothing_data()
{
    QTest::addColumn<int>("cut");
    QTest::addColumn<QByteArray>("replaceHeading");
    QTest::newRow("whole") << 0 << QByteArray();
    QTest::newRow("last byte missing") << 1 << QByteArray();
    QTest::newRow("heading only") << 16 * 12 * 4 << QByteArray();
    QTest::newRow("not a picture") << 0 << QByteArray("PNG\r\n\x1a\n\0");
    // 16 x 12 read as 65536 x 1: the sizes no longer match the file.
    QTest::newRow("size changed") << 0
                                  << QByteArray("QXPIC1\r\n\x00\x00\x01\x00\x01\x00\x00\x00", 16);
    QTest::newRow("no width") << 0 << QByteArray("QXPIC1\r\n\x00\x00\x00\x00\x0c\x00\x00\x00", 16);
}

void DrawAheadTest::damagedPictureFilesReadAsNothing()
{
    QFETCH(int, cut);
    QFETCH(QByteArray, replaceHeading);
    const QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p.qxpic"));
    QImage picture(16, 12, QImage::Format_ARGB32_Premultiplied);
    picture.fill(qRgba(10, 20, 30, 255));
    QVERIFY(art::paint::writePicture(file, picture));
    QByteArray bytes = qxtest::readBytes(file);
    bytes.chop(cut);
    bytes.replace(0, replaceHeading.size(), replaceHeading);
    qxtest::writeBytes(file, bytes);
    const bool whole = cut == 0 && replaceHeading.isEmpty();
    QCOMPARE(art::paint::readPicture(file), whole ? picture : QImage());
}

QTEST_MAIN(DrawAheadTest)
#include "tst_drawahead.moc"
