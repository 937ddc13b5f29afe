// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls.h"
#include "widgets/ShadoLbl.h"

#include <QFontMetrics>
#include <QImage>
#include <QPalette>
#include <QSet>
#include <QTest>

#include <memory>

namespace {

const QColor kBackground(0, 0, 160);
const QColor kFont(10, 20, 30);
const QColor kMid(101, 0, 255);
const QColor kEnd(0, 255, 100);

QFont crispFont(int pixelSize)
{
    // Without antialiasing every ink pixel has exactly the colour it was
    // drawn in.
    QFont font = qx::gameFont(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A label on a plain background that paints only its text.
std::unique_ptr<TShadowLabel> plainLabel(const QString& caption, QSize size = QSize(200, 32))
{
    auto label = std::make_unique<TShadowLabel>(nullptr);
    label->setAutoSize(false);
    label->resize(size);
    label->setFont(crispFont(24));
    label->setColor(kBackground);
    label->setFontColor(kFont);
    label->Shadow()->setVisible(false);
    label->Highlight()->setVisible(false);
    label->setCaption(caption);
    return label;
}

QImage render(TShadowLabel& label, QColor underneath = Qt::magenta)
{
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(underneath);
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The colours in the columns [left, right) that differ from the background.
QSet<QRgb> ink(const QImage& image, int left, int right, QColor background = kBackground)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = std::max(left, 0); x < std::min(right, image.width()); ++x)
            if (image.pixel(x, y) != background.rgb())
                colours.insert(image.pixel(x, y));
    return colours;
}

// Whether an automatically sized label is as large as its text, up to the
// rounding of fractional metrics.
bool fitsText(QSize size, const QFont& font, const QString& text)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    return size.width() >= width && size.width() <= width + 1 &&
           size.height() >= metrics.height() && size.height() <= metrics.height() + 1;
}

QSet<QRgb> only(QColor colour)
{
    return {colour.rgb()};
}

} // namespace

class ShadowLabelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qx::installFontSubstitution(); }

    // Characters are counted in Shift-JIS: half-width katakana take one
    // byte, "■" two; the three-colour split never cuts a character.
    void colouredCharacterByCharacter_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<TTextGradation>("gradation");
        QTest::addColumn<bool>("enabled");
        // An invalid colour stands for the disabled text colour.
        QTest::addColumn<QList<QColor>>("expected");
        const QColor midToEnd(50, 127, 177);
        QTest::newRow("five single-byte, three colours")
            << "HHHHH" << TTextGradation::tg3Colors << true
            << QList<QColor>{kFont, kMid, kMid, midToEnd, kEnd};
        QTest::newRow("five half-width katakana, three colours")
            << "ｱｲｳｴｵ" << TTextGradation::tg3Colors << true
            << QList<QColor>{kFont, kMid, kMid, midToEnd, kEnd};
        QTest::newRow("three double-byte, three colours")
            << "■■■" << TTextGradation::tg3Colors << true << QList<QColor>{kFont, kMid, kEnd};
        const QColor fontToMid(55, 10, 142);
        QTest::newRow("split moved past a lead byte")
            << "■■■■■" << TTextGradation::tg3Colors << true
            << QList<QColor>{kFont, fontToMid, kMid, kMid, kEnd};
        QTest::newRow("split moved past a lead byte, mixed")
            << "HH■HH" << TTextGradation::tg3Colors << true
            << QList<QColor>{kFont, fontToMid, kMid, kMid, kEnd};
        QTest::newRow("two characters, three colours")
            << "HH" << TTextGradation::tg3Colors << true << QList<QColor>{kFont, kEnd};
        QTest::newRow("three characters, two colours")
            << "HHH" << TTextGradation::tg2Colors << true
            << QList<QColor>{kFont, QColor(5, 137, 65), kEnd};
        QTest::newRow("one character never graded (disabled shows it)")
            << "H" << TTextGradation::tg3Colors << false << QList<QColor>{QColor()};
        QTest::newRow("disabled, graded from the font colour")
            << "HH" << TTextGradation::tg3Colors << false << QList<QColor>{kFont, kEnd};
        QTest::newRow("no gradation")
            << "HH" << TTextGradation::tgNone << true << QList<QColor>{kFont, kFont};
    }

    void colouredCharacterByCharacter()
    {
        QFETCH(QString, caption);
        QFETCH(TTextGradation, gradation);
        QFETCH(bool, enabled);
        QFETCH(QList<QColor>, expected);
        auto label = plainLabel(caption);
        label->setTextGradation(gradation);
        label->setTextMidColor(kMid);
        label->setTextGradationColor(kEnd);
        label->setEnabled(enabled);
        const QImage image = render(*label);

        const QFontMetrics metrics(label->font());
        int left = 0;
        for (qsizetype k = 0; k < caption.size(); ++k) {
            const int advance = metrics.horizontalAdvance(caption.at(k));
            const QColor colour = expected.at(k).isValid()
                                      ? expected.at(k)
                                      : label->palette().color(QPalette::Active, QPalette::Dark);
            QCOMPARE(ink(image, left + 1, left + advance - 1), only(colour));
            left += advance;
        }
        QVERIFY(ink(image, left + 1, image.width()).isEmpty());
    }

    void copiesInTheirColours_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("enabled") << true;
        QTest::newRow("disabled") << false;
    }

    // Disabled, the text takes the button-shadow colour, the shadow grey and
    // the highlight the button-highlight colour.
    void copiesInTheirColours()
    {
        QFETCH(bool, enabled);
        const QColor shadow(200, 0, 0);
        const QColor highlight(0, 200, 0);
        auto label = plainLabel(QStringLiteral("■"));
        label->Shadow()->setVisible(true);
        label->Shadow()->setColor(shadow);
        label->Shadow()->setOffsetLeft(40);
        label->Shadow()->setOffsetTop(0);
        label->Highlight()->setVisible(true);
        label->Highlight()->setColor(highlight);
        label->Highlight()->setOffsetLeft(80);
        label->Highlight()->setOffsetTop(0);
        label->setEnabled(enabled);
        const QImage image = render(*label);

        const QPalette palette = label->palette();
        QCOMPARE(ink(image, 0, 40),
                 only(enabled ? kFont : palette.color(QPalette::Active, QPalette::Dark)));
        QCOMPARE(ink(image, 40, 80), only(enabled ? shadow : QColor(128, 128, 128)));
        QCOMPARE(ink(image, 80, 120),
                 only(enabled ? highlight : palette.color(QPalette::Active, QPalette::Light)));
    }

    // Shadow first, highlight over it, text over both: shifted right by 4
    // and 2 pixels, a solid square shows each copy's last columns.
    void paintsShadowThenHighlightThenText()
    {
        auto label = plainLabel(QStringLiteral("■"));
        label->Shadow()->setVisible(true);
        label->Shadow()->setColor(Qt::red);
        label->Shadow()->setOffsetLeft(4);
        label->Shadow()->setOffsetTop(0);
        label->Highlight()->setVisible(true);
        label->Highlight()->setColor(Qt::green);
        label->Highlight()->setOffsetLeft(2);
        label->Highlight()->setOffsetTop(0);
        const QImage image = render(*label);

        // The middle row of the square's ink.
        int top = 0;
        while (ink(image.copy(0, top, image.width(), 1), 0, image.width()).isEmpty())
            ++top;
        int bottom = image.height() - 1;
        while (ink(image.copy(0, bottom, image.width(), 1), 0, image.width()).isEmpty())
            --bottom;
        const int row = (top + bottom) / 2;
        int right = image.width() - 1;
        while (right > 0 && image.pixel(right, row) == kBackground.rgb())
            --right;
        QCOMPARE(image.pixel(right, row), QColor(Qt::red).rgb());
        QCOMPARE(image.pixel(right - 1, row), QColor(Qt::red).rgb());
        QCOMPARE(image.pixel(right - 2, row), QColor(Qt::green).rgb());
        QCOMPARE(image.pixel(right - 3, row), QColor(Qt::green).rgb());
        QCOMPARE(image.pixel(right - 4, row), kFont.rgb());
    }

    // An empty caption paints a single space: only the background shows,
    // and an automatically sized label stays one line tall.
    void emptyCaptionPaintsOnlyBackground()
    {
        auto label = plainLabel(QString(), QSize(40, 20));
        label->Shadow()->setVisible(true);
        label->Highlight()->setVisible(true);
        label->setTextGradation(TTextGradation::tg3Colors);
        QVERIFY(ink(render(*label), 0, 40).isEmpty());

        label->setAutoSize(true);
        QVERIFY(fitsText(label->size(), label->font(), QStringLiteral(" ")));
    }

    void backgroundGradient_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("flickerless");
        QTest::addColumn<QSize>("size");
        // Colour at each step along the gradient's direction.
        QTest::addColumn<QList<QColor>>("expected");
        const QList<QColor> fiveSteps{QColor(0, 0, 255), QColor(63, 63, 255), QColor(127, 127, 255),
                                      QColor(191, 191, 255), QColor(255, 255, 255)};
        QTest::newRow("vertical, off-screen") << true << true << QSize(30, 5) << fiveSteps;
        QTest::newRow("vertical, direct") << true << false << QSize(30, 5) << fiveSteps;
        QTest::newRow("horizontal, off-screen") << false << true << QSize(5, 50) << fiveSteps;
        QTest::newRow("horizontal, direct") << false << false << QSize(5, 50) << fiveSteps;
        const QList<QColor> start{QColor(0, 0, 255)};
        QTest::newRow("vertical, one pixel tall") << true << true << QSize(10, 1) << start;
        QTest::newRow("vertical, one pixel tall, direct") << true << false << QSize(10, 1) << start;
        QTest::newRow("horizontal, one pixel wide") << false << true << QSize(1, 10) << start;
        QTest::newRow("horizontal, one pixel wide, direct")
            << false << false << QSize(1, 10) << start;
    }

    // From GradationColor at the top or left to the label's colour, each
    // component truncated.
    void backgroundGradient()
    {
        QFETCH(bool, vertical);
        QFETCH(bool, flickerless);
        QFETCH(QSize, size);
        QFETCH(QList<QColor>, expected);
        auto label = plainLabel(QString(), size);
        label->setColor(Qt::white);
        label->setGradation(true);
        label->setGradateVert(vertical);
        label->setFlickerless(flickerless);
        const QImage image = render(*label);

        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                QCOMPARE(QColor(image.pixel(x, y)), expected.at(vertical ? y : x));
    }

    void layoutMovesTextDown_data()
    {
        QTest::addColumn<TTextLayout>("layout");
        QTest::addColumn<int>("lines");
        QTest::newRow("top") << TTextLayout::tlTop << 0;
        QTest::newRow("centre") << TTextLayout::tlCenter << 1;
        QTest::newRow("bottom") << TTextLayout::tlBottom << 2;
    }

    void layoutMovesTextDown()
    {
        QFETCH(TTextLayout, layout);
        QFETCH(int, lines);
        const auto topOfInk = [](TTextLayout layout) {
            auto label = plainLabel(QStringLiteral("■"), QSize(40, 61));
            label->setLayout(layout);
            const QImage image = render(*label);
            int y = 0;
            while (ink(image.copy(0, y, image.width(), 1), 0, image.width()).isEmpty())
                ++y;
            return y;
        };
        const int lineHeight = QFontMetrics(crispFont(24)).height();
        const int shifts[] = {0, (61 - lineHeight) / 2, 61 - lineHeight};
        QCOMPARE(topOfInk(layout) - topOfInk(TTextLayout::tlTop), shifts[lines]);
    }

    // AutoSize fits the label to each caption; a right-aligned label keeps
    // its right edge.
    void autoSizeFollowsCaption()
    {
        auto label = plainLabel(QStringLiteral("H"));
        label->setAlignment(TAlignment::taRightJustify);
        label->setAutoSize(true);
        label->move(300, 10);
        const int right = label->geometry().right();
        label->setCaption(QStringLiteral("HHHH"));
        QVERIFY(fitsText(label->size(), label->font(), QStringLiteral("HHHH")));
        QCOMPARE(label->geometry().right(), right);
        label->setFont(crispFont(48));
        QVERIFY(fitsText(label->size(), label->font(), QStringLiteral("HHHH")));
        QCOMPARE(label->geometry().right(), right);
    }

    void shadowNotifiesOnlyOnChange()
    {
        TShadow shadow;
        int changes = 0;
        shadow.setOnChange([&] { ++changes; });
        shadow.setVisible(true);
        shadow.setColor(QColor(192, 192, 192));
        shadow.setOffsetLeft(1);
        shadow.setOffsetTop(1);
        QCOMPARE(changes, 0);
        shadow.setOffsetTop(3);
        QCOMPARE(changes, 1);
        const TShadow defaults;
        shadow.Assign(defaults);
        QCOMPARE(changes, 2);
        QCOMPARE(shadow.OffsetTop(), 1);
    }

    // The label copies the values; it keeps no reference to the object.
    void shadowAssignmentCopiesValues()
    {
        auto label = plainLabel(QStringLiteral("■"));
        TShadow source;
        source.setColor(QColor(1, 2, 3));
        source.setOffsetLeft(40);
        source.setOffsetTop(-2);
        label->setShadow(&source);
        source.setColor(Qt::yellow);
        source.setVisible(false);
        label->setShadow(nullptr);

        QVERIFY(label->Shadow()->Visible());
        QCOMPARE(label->Shadow()->Color(), QColor(1, 2, 3));
        QCOMPARE(label->Shadow()->OffsetLeft(), 40);
        QCOMPARE(label->Shadow()->OffsetTop(), -2);
        QCOMPARE(ink(render(*label), 40, 80), only(QColor(1, 2, 3)));
    }

    // The screens' labels: transparent, black shadow, white highlight.
    void screenLabelIsTransparentWithShadowAndHighlight()
    {
        TShadowLabel label(nullptr);
        styleScreenLabel(&label, 30, Qt::red);
        label.setCaption(QStringLiteral("■"));
        QVERIFY(label.font().bold());
        QCOMPARE(label.font().pixelSize(), 30);
        // A crisp font keeps the one-pixel highlight pure white.
        QFont font = label.font();
        font.setStyleStrategy(QFont::NoAntialias);
        label.setFont(font);
        const QImage image = render(label, Qt::magenta);

        QCOMPARE(image.pixel(0, label.height() - 1), QColor(Qt::magenta).rgb());
        const QSet<QRgb> colours = ink(image, 0, image.width(), Qt::magenta);
        QVERIFY(colours.contains(QColor(Qt::black).rgb()));
        QVERIFY(colours.contains(QColor(Qt::white).rgb()));
        QVERIFY(colours.contains(QColor(Qt::red).rgb()));
    }
};

QTEST_MAIN(ShadowLabelTest)
#include "tst_shadowlabel.moc"
