// A screen of twice the pixels: every window keeps its designed layout, and
// its pictures are drawn for the screen's pixels instead of being enlarged.

#include "screens/mainform.h"
#include "art/art.h"
#include "testsupport.h"

#include <QApplication>
#include <QTest>

using namespace qx;

class HighDpiTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowsKeepTheirLayoutAndDrawSharp();
    void picturesAreDrawnNotEnlarged_data();
    void picturesAreDrawnNotEnlarged();
};

void HighDpiTest::windowsKeepTheirLayoutAndDrawSharp()
{
    qxtest::GameFixture f;
    TForm1& menu = *f.game->Form1;
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QCOMPARE(menu.devicePixelRatioF(), 2.0);
    QCOMPARE(menu.size(), QSize(600, 480));
    Image* registration = probe(menu).Image14();
    QCOMPARE(registration->geometry(), QRect(24, 0, 113, 41));
    QCOMPARE(registration->picture().size(), QSize(226, 82));
    QCOMPARE(registration->picture().devicePixelRatio(), 2.0);
    // What screens draw on at run time is as sharp: the stop clock's face.
    TForm5& stop = *f.game->Form5;
    QCOMPARE(probe(stop).PaintBox1()->canvas().size(), probe(stop).PaintBox1()->size() * 2);
    // And the pictures loaded by name: the stage picture of an overall run.
    f.selectUser(QStringLiteral("u"));
    f.enterStage("panel");
    f.game->Form2->ShowModal();
    const QImage stage = frame(*f.game->Form2).stagePicture()->picture();
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

int main(int argc, char* argv[])
{
    // Before the application exists: its screens take the factor then.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HighDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
