#pragma once

// The box test: a random heap of cubes, at most two high on a three-by-three
// ground plan; the player types how many there are.

#include "platform/clock.h"
#include "platform/timer.h"
#include "tests/frame.h"

#include <array>
#include <bitset>

class QLineEdit;

namespace qx {

class Random;

// The box images by tag, in the order they are painted (later ones on top).
struct BoxPlace {
    int tag;
    QPoint position;
};
inline constexpr int kBoxCount = 18;
extern const std::array<BoxPlace, kBoxCount> kBoxPlaces;

// Visible boxes, indexed by tag.
using BoxSet = std::bitset<24>;

// Eighteen draws of 1..18, each showing its lower box, or its upper box where
// the box under it stands, then hiding the upper boxes that would not look
// right: 15 without 2 or with 18, and 17 and 18 beside 14.
BoxSet drawBoxHeap(Random& random);

// The player's count: the integer value of the whole text, 0 when the text is
// not an integer (blanks around the digits included).
int boxAnswer(const QString& text);

} // namespace qx

class TForm8 final : public qx::TestScreen {
public:
    explicit TForm8(qx::Game& game);
    ~TForm8() override;
    TForm8(const TForm8&) = delete;
    TForm8& operator=(const TForm8&) = delete;

private:
    friend struct qx::ScreenProbe<TForm8>;

    void startQuestion() override { Image10Click(); }
    void Image10Click();
    void Timer1Timer();
    void Edit1KeyPress(QChar& key);
    void FormCloseQuery() override;

    // The boxes in the order of kBoxPlaces.
    std::array<qx::Image*, qx::kBoxCount> boxes{};
    QLineEdit* Edit1;
    QLabel* Label1;
    qx::Timer Timer1;

    int BoxCount = 0;
    int ElapsedHundredths = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hideBoxes();

    qx::Stopwatch m_elapsed;
};
