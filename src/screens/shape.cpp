// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/shape.h"

#include "platform/pictures.h"
#include "platform/timerperiod.h"
#include "rules/store.h"

#include <QPainter>

#include <algorithm>

using namespace qx;

namespace {

// By tag 1..9.
constexpr std::array<QRect, 9> kAnswerButtons{{
    {72, 376, 41, 41},
    {120, 376, 41, 41},
    {168, 376, 49, 41},
    {224, 376, 49, 49},
    {288, 376, 49, 49},
    {344, 376, 41, 41},
    {392, 376, 41, 41},
    {440, 376, 57, 49},
    {504, 376, 41, 57},
}};

// Where entries 0..7 of the order are drawn inside the ring.
constexpr std::array<QPoint, 8> kRingPoints{{
    {72, 16},
    {192, 16},
    {320, 16},
    {72, 88},
    {320, 88},
    {72, 160},
    {192, 160},
    {320, 160},
}};

constexpr int kStopwatchTick = 100;

// What a screen reader says for the answer buttons, by tag 1..9.
constexpr std::array<const char*, 9> kShapeNames{
    QT_TRANSLATE_NOOP("TForm6", "四角"),         QT_TRANSLATE_NOOP("TForm6", "ひし形"),
    QT_TRANSLATE_NOOP("TForm6", "ななめの棒"),   QT_TRANSLATE_NOOP("TForm6", "丸"),
    QT_TRANSLATE_NOOP("TForm6", "二重丸"),       QT_TRANSLATE_NOOP("TForm6", "三角"),
    QT_TRANSLATE_NOOP("TForm6", "白抜きの三角"), QT_TRANSLATE_NOOP("TForm6", "アットマーク"),
    QT_TRANSLATE_NOOP("TForm6", "上向きの矢印"),
};

// The shape centred on a transparent picture of the button's size.
QImage buttonPicture(int n, QSize size)
{
    const QImage shape = keyedTransparent(art::shape(n));
    const qreal ratio = shape.devicePixelRatio();
    QImage picture(size * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QSizeF shown = shape.deviceIndependentSize();
    painter.drawImage(
        QPointF((size.width() - shown.width()) / 2, (size.height() - shown.height()) / 2), shape);
    return picture;
}

} // namespace

TForm6::TForm6(Game& game)
    : TestScreen(game, tr("シャープ"),
                 {TestKind::Shape,
                  {456, 0},
                  32,
                  35,
                  {280, 0, 137, 33},
                  {192, 424, 193, 49},
                  {462, 429, 129, 49}}),
      MMTimer1(game.services.clock, game.dispatcher), m_elapsed(game.services.clock)
{
    beginTimerPeriod();
    for (int n = 1; n <= 9; ++n) {
        const QRect geometry = kAnswerButtons[static_cast<std::size_t>(n - 1)];
        auto* button = new Image(this, geometry);
        button->setPicture([n, size = geometry.size()] { return buttonPicture(n, size); });
        button->setHandCursor();
        button->setButtonName(tr(kShapeNames[static_cast<std::size_t>(n - 1)]));
        button->Tag = n;
        button->setEnabled(false);
        button->OnClick = [this, button] { Image2Click(button); };
        answerButtons[static_cast<std::size_t>(n - 1)] = button;
    }
    arrangeAsKeyboardGrid({answerButtons.begin(), answerButtons.end()}, 9);
    Image11 = new Image(this, QRect(88, 72, 449, 233));
    addBanner(tr("上の図には無い形を選んで下さい"), QRect(64, 312, 473, 49));

    const auto addStopwatchLabel = [this](int left, int top, const QString& text) {
        QLabel* label = addLabel(QPoint(left, top), 24, true);
        label->setText(text);
        label->adjustSize();
        label->hide();
        return label;
    };
    const QString zero = QStringLiteral("0");
    const QString colon = QStringLiteral(":");
    Label7 = addStopwatchLabel(264, 184, zero);
    Label6 = addStopwatchLabel(280, 184, zero);
    Label5 = addStopwatchLabel(296, 181, colon);
    Label3 = addStopwatchLabel(307, 184, zero);
    Label2 = addStopwatchLabel(323, 184, zero);
    Label4 = addStopwatchLabel(339, 181, colon);
    Label1 = addStopwatchLabel(347, 184, zero);
    layOutStopwatch();

    MMTimer1.setInterval(kStopwatchTick);
    MMTimer1.setOnTimer([this] { MMTimer1Timer(); });
}

TForm6::~TForm6()
{
    endTimerPeriod();
}

void TForm6::setAnswersEnabled(bool enabled)
{
    for (Image* button : answerButtons)
        button->setEnabled(enabled);
}

void TForm6::setStopwatchVisible(bool visible)
{
    for (QLabel* label : {Label7, Label6, Label5, Label3, Label2, Label4, Label1})
        label->setVisible(visible);
}

void TForm6::layOutStopwatch()
{
    // Every digit gets the cell of the widest digit and each character
    // follows the one before it, so that the time reads as one text in any
    // font and does not jitter as its digits change.
    const QFontMetrics metrics(Label1->font());
    int digitWidth = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        digitWidth = std::max(digitWidth, metrics.horizontalAdvance(QLatin1Char(digit)));
    int left = Label7->x();
    for (QLabel* label : {Label7, Label6, Label5, Label3, Label2, Label4, Label1}) {
        const bool digit = label->text() != QLatin1String(":");
        const int width = digit ? digitWidth : metrics.horizontalAdvance(QLatin1Char(':'));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(left, label->y(), width, label->height());
        left += width;
    }
}

void TForm6::showStopwatch()
{
    const auto show = [](QLabel* label, int digit) { label->setText(QString::number(digit)); };
    show(Label7, Stopwatch.tensOfMinutes);
    show(Label6, Stopwatch.minutes);
    show(Label3, Stopwatch.tensOfSeconds);
    show(Label2, Stopwatch.seconds);
    show(Label1, Stopwatch.tenths);
}

void TForm6::Image14Click()
{
    if (overall())
        countQuestion();
    setAnswersEnabled(true);
    startButton()->setEnabled(false);
    setStopwatchVisible(true);
    m_elapsed.start();
    MMTimer1.setEnabled(true);
    Stopwatch = ShapeClock();
    showStopwatch();
    Image11->canvas().fill(Qt::white);
    ShapeOrder = drawShapeOrder(services().random);
    for (std::size_t k = 0; k < ShapeBitmaps.size(); ++k) {
        ShapeBitmaps[k] =
            loadKeyedBitmap(services().dataFile(QStringLiteral("bmp/%1.bmp").arg(ShapeOrder[k])),
                            Image11->devicePixelRatioF());
    }
    QPainter painter(&Image11->canvas());
    for (std::size_t k = 0; k < ShapeBitmaps.size(); ++k)
        painter.drawImage(kRingPoints[k], ShapeBitmaps[k]);
}

void TForm6::MMTimer1Timer()
{
    Stopwatch = shapeClockAt(m_elapsed.tenths());
    showStopwatch();
}

void TForm6::Image2Click(Image* sender)
{
    setAnswersEnabled(false);
    startButton()->setEnabled(true);
    MMTimer1.setEnabled(false);
    const int tenths = m_elapsed.tenths();
    Stopwatch = shapeClockAt(tenths);
    showStopwatch();
    const QString time = shapeClockText(Stopwatch);
    const bool right = sender->Tag == ShapeOrder[8];
    finishOrderB(right ? tr("正解") : tr("不正解"), tr("時間：%1").arg(time), QString(),
                 {.right = right, .time = tenths});
}

void TForm6::FormCloseQuery()
{
    Image11->canvas().fill(Qt::white);
    setAnswersEnabled(false);
    Stopwatch = ShapeClock();
    showStopwatch();
    setStopwatchVisible(false);
    MMTimer1.setEnabled(false);
    resetFrame(true);
}
