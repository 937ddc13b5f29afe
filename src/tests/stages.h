#pragma once

// The stages of the overall run, in order.

#include <QString>

#include <array>

namespace qx {

struct Stage {
    const char* testId;
    int number;    // position in the run; picks "bmp/stage<n>.bmp"
    int questions; // questions of the stage in the overall run
    // Shows its verdicts on its own screen and hands the run on itself,
    // without the stage dialog.
    bool ownHandOff = false;
};

inline constexpr std::array<Stage, 7> kStages{{
    {"panel", 1, 5},
    {"L-R", 2, 5},
    {"N_memory", 3, 5},
    {"stop", 4, 5, true},
    {"Reflex", 5, 5},
    {"box", 6, 7},
    {"shape", 7, 5},
}};

// The stage of a test identifier, or nullptr.
const Stage* stageOf(const QString& testId);

// Points of the three tests that score by position: 10 for each position i
// where the answer's i-th byte of code page 932 text equals the i-th character
// of the right answer, whatever the lengths.
int positionMatches(const QString& right, const QString& answer);

} // namespace qx
