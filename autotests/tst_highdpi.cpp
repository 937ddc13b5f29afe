// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A screen of twice the pixels: every window keeps its designed layout, and
// its pictures are drawn for the screen's pixels instead of being enlarged.

#include "screens/mainform.h"
#include "art/art.h"
#include "platform/pictures.h"
#include "testsupport.h"

#include <QApplication>
#include <QTest>
#include <QtMath>

using namespace qx;

class HighDpiTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowsKeepTheirLayoutAndDrawSharp();
    void picturesAreDrawnNotEnlarged_data();
    void picturesAreDrawnNotEnlarged();
    void picturesReadByNameAreSharpAtEveryRatio_data();
    void picturesReadByNameAreSharpAtEveryRatio();
};

void HighDpiTest::windowsKeepTheirLayoutAndDrawSharp()
{
    qxtest::GameFixture f;
    TForm1& menu = f.window<TForm1>();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QCOMPARE(menu.devicePixelRatioF(), 2.0);
    QCOMPARE(menu.size(), QSize(600, 480));
    const qxtest::Control registration = probe(menu).registerButton();
    QCOMPARE(registration.geometry(), QRect(24, 0, 113, 41));
    QCOMPARE(registration.picture().size(), QSize(226, 82));
    QCOMPARE(registration.picture().devicePixelRatio(), 2.0);
    // What screens draw on at run time is as sharp: the stop clock's face.
    TForm5& stop = f.window<TForm5>();
    QCOMPARE(probe(stop).clockFace().picture().size(), probe(stop).clockFace().size() * 2);
    // And the pictures loaded by name: the stage picture of an overall run.
    f.selectUser(QStringLiteral("u"));
    f.enterStage("panel");
    f.window<TForm2>().ShowModal();
    const QImage stage = frame(f.window<TForm2>()).stagePicture().picture();
    QCOMPARE(stage.devicePixelRatio(), 2.0);
    QCOMPARE(stage.deviceIndependentSize(), QSizeF(137, 33));
}

void HighDpiTest::picturesAreDrawnNotEnlarged_data()
{
    QTest::addColumn<int>("which");
    QTest::newRow("button") << 0;
    QTest::newRow("background") << 1;
    QTest::newRow("shape") << 2;
}

// Enlarging the ordinary picture would give 2 x 2 blocks of one colour; a
// picture drawn for the pixels has detail inside them, at the edges of every
// letter and line.
void HighDpiTest::picturesAreDrawnNotEnlarged()
{
    QFETCH(int, which);
    const auto draw = [which] {
        switch (which) {
        case 0:
            return art::button(QStringLiteral("登録"), QSize(113, 41));
        case 1:
            return art::background(art::Scene::Screen);
        default:
            return art::shape(5);
        }
    };
    const QImage ordinary = draw();
    QImage sharp;
    {
        const art::PixelRatio twice(2);
        sharp = draw();
    }
    QCOMPARE(sharp.size(), ordinary.size() * 2);
    QCOMPARE(sharp.deviceIndependentSize(), QSizeF(ordinary.size()));
    const QImage enlarged = ordinary.scaled(ordinary.size() * 2);
    int within = 0;
    for (int y = 0; y < sharp.height(); y += 2) {
        for (int x = 0; x < sharp.width(); x += 2) {
            if (sharp.pixel(x, y) != sharp.pixel(x + 1, y + 1))
                ++within;
        }
    }
    QVERIFY2(within > sharp.width() * sharp.height() / 4 / 100,
             qPrintable(QStringLiteral("%1 blocks with detail").arg(within)));
    QVERIFY(sharp != enlarged);
}

void HighDpiTest::picturesReadByNameAreSharpAtEveryRatio_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<qreal>("pictureRatio");
    for (const char* name : {"stage3", "5"}) {
        QTest::addRow("%s at 1", name) << name << 1.0 << 1.0;
        QTest::addRow("%s at 1.25", name) << name << 1.25 << 1.25;
        QTest::addRow("%s at 1.5", name) << name << 1.5 << 1.5;
        QTest::addRow("%s at 2", name) << name << 2.0 << 2.0;
        QTest::addRow("%s at 3", name) << name << 3.0 << 2.0;
    }
}

// Stage pictures and shapes come from the files drawn for twice the pixels on
// every screen of more pixels than designed, made smaller below twice; keyed
// shapes are keyed first, so that their edges blend into the ring.
void HighDpiTest::picturesReadByNameAreSharpAtEveryRatio()
{
    QFETCH(QString, name);
    QFETCH(qreal, ratio);
    QFETCH(qreal, pictureRatio);
    const QString path = QStringLiteral(QX_GAME_DIR "/bmp/") + name + QStringLiteral(".bmp");
    const QSize designed = QImage(path).size();
    for (const QImage& picture : {loadBitmap(path, ratio), loadKeyedBitmap(path, ratio)}) {
        QCOMPARE(picture.devicePixelRatio(), pictureRatio);
        QCOMPARE(picture.size(), QSize(qCeil(designed.width() * pictureRatio),
                                       qCeil(designed.height() * pictureRatio)));
    }
    if (pictureRatio == 1 || pictureRatio == 2 || name.startsWith(QLatin1String("stage")))
        return;
    const QImage keyed = loadKeyedBitmap(path, ratio);
    int blended = 0;
    for (int y = 0; y < keyed.height(); ++y) {
        for (int x = 0; x < keyed.width(); ++x) {
            const int alpha = qAlpha(keyed.pixel(x, y));
            blended += alpha > 0 && alpha < 255 ? 1 : 0;
        }
    }
    QVERIFY(blended > 0);
}

int main(int argc, char* argv[])
{
    // Before the application exists: its screens take the factor then.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HighDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
