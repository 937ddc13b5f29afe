// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The seven tests, each defined once: its identifier, its record file and the
// form of that file's lines, the titles it is shown by, its stage in the
// overall run and what its chart measures. Whatever lists the tests or tells
// one from another asks here; nothing else compares a test's identifier.

#include <QDate>
#include <QtGlobal>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

namespace qx {

enum class TestKind { Panel, LR, NMemory, Stop, Reflex, Box, Shape };

// What a test's chart shows for each day.
enum class Measure {
    Accuracy, // panel, L-R, N-memory: the share of right answers and the level
    Time,     // Reflex, box, shape: the median and the best time, hundredths
    Distance, // stop: the median distance from the target, hundredths
};

// Titles and column names are written in the files' own Japanese: record
// files and exports hold them as they are; the interface shows them through
// their translation (context "Tests" for titles, "Columns" for columns).
struct TestDef {
    TestKind kind;
    // The identifier the run state and the records viewer know it by.
    const char* testId;
    int number;    // position in the overall run; picks "bmp/stage<n>.bmp"
    int questions; // questions of the stage in the overall run
    // Shows its verdicts on its own screen and hands the run on itself,
    // without the stage dialog.
    bool ownHandOff;
    bool hasLevels; // played at a level from 1 to 10 chosen before it starts
    Measure measure;
    const char* fileName; // in the user's folder
    // The column names of its record lines, UTF-8; unused places are null.
    std::array<const char*, 5> columns;
    const char* title;   // in the records viewer and on its chart, UTF-8
    const char* heading; // on the level selection, UTF-8

    QString id() const { return QString::fromLatin1(testId); }
    QString file() const { return QString::fromLatin1(fileName); }
    // As files hold them.
    QStringList fieldNames() const;
    // In the interface's language.
    QStringList shownFieldNames() const;
    QString shownTitle() const;
    QString shownHeading() const;
    // The test's name in file names made for the player (exports): the
    // record file's name without ".dat".
    QString fileStem() const { return file().chopped(4); }
};

// The column names shared by several tests, each marked once for translation.
namespace column {
inline constexpr const char* kDay = QT_TRANSLATE_NOOP("Columns", "日付");
inline constexpr const char* kLevel = QT_TRANSLATE_NOOP("Columns", "レベル");
inline constexpr const char* kVerdict = QT_TRANSLATE_NOOP("Columns", "合否");
inline constexpr const char* kAnswer = QT_TRANSLATE_NOOP("Columns", "答え");
inline constexpr const char* kTyped = QT_TRANSLATE_NOOP("Columns", "入力した答え");
inline constexpr const char* kTime = QT_TRANSLATE_NOOP("Columns", "時間");
} // namespace column

// In the order of the overall run.
inline constexpr std::array<TestDef, 7> kTests{{
    {TestKind::Panel,
     "panel",
     1,
     5,
     false,
     true,
     Measure::Accuracy,
     "panel.dat",
     {column::kDay, column::kLevel, column::kVerdict},
     QT_TRANSLATE_NOOP("Tests", "パネル"),
     QT_TRANSLATE_NOOP("Tests", "パネル")},
    {TestKind::LR,
     "L-R",
     2,
     5,
     false,
     true,
     Measure::Accuracy,
     "L_R.dat",
     {column::kDay, column::kLevel, column::kVerdict, column::kAnswer, column::kTyped},
     QT_TRANSLATE_NOOP("Tests", "L→R"),
     QT_TRANSLATE_NOOP("Tests", "Ｌ→Ｒ")},
    {TestKind::NMemory,
     "N_memory",
     3,
     5,
     false,
     true,
     Measure::Accuracy,
     "N_memory.dat",
     {column::kDay, column::kLevel, column::kVerdict, column::kAnswer, column::kTyped},
     QT_TRANSLATE_NOOP("Tests", "N_メモリ"),
     QT_TRANSLATE_NOOP("Tests", "N_メモリ")},
    {TestKind::Stop,
     "stop",
     4,
     5,
     true,
     true,
     Measure::Distance,
     "stop.dat",
     {column::kDay, column::kLevel, QT_TRANSLATE_NOOP("Columns", "秒"),
      QT_TRANSLATE_NOOP("Columns", "ストップ"), QT_TRANSLATE_NOOP("Columns", "差")},
     QT_TRANSLATE_NOOP("Tests", "ストップ"),
     QT_TRANSLATE_NOOP("Tests", "ストップ")},
    {TestKind::Reflex,
     "Reflex",
     5,
     5,
     false,
     false,
     Measure::Time,
     "Reflex.dat",
     {column::kDay, column::kTime},
     QT_TRANSLATE_NOOP("Tests", "Reflexes"),
     QT_TRANSLATE_NOOP("Tests", "Reflexes")},
    {TestKind::Box,
     "box",
     6,
     7,
     false,
     false,
     Measure::Time,
     "box.dat",
     {column::kDay, column::kVerdict, column::kTime, QT_TRANSLATE_NOOP("Columns", "正解個数"),
      QT_TRANSLATE_NOOP("Columns", "入力数")},
     QT_TRANSLATE_NOOP("Tests", "BOX"),
     QT_TRANSLATE_NOOP("Tests", "ＢＯＸ")},
    {TestKind::Shape,
     "shape",
     7,
     5,
     false,
     false,
     Measure::Time,
     "shape.dat",
     {column::kDay, column::kVerdict, column::kTime},
     QT_TRANSLATE_NOOP("Tests", "シャープ"),
     QT_TRANSLATE_NOOP("Tests", "シャープ")},
}};

// The order registration creates the record files in, which the export
// follows as well.
inline constexpr std::array<TestKind, 7> kFileOrder{
    TestKind::Panel, TestKind::LR,    TestKind::NMemory, TestKind::Reflex,
    TestKind::Box,   TestKind::Shape, TestKind::Stop};

const TestDef& testDef(TestKind kind);
// The seven record files, "panel.dat" first, in that order.
QStringList recordFiles();
// The test of an identifier, or nullptr.
const TestDef* findTest(QStringView testId);

// A finished question as its record file keeps it. Which fields a test
// fills is its own: see recordLine().
struct Record {
    QDate day;
    int level = 0; // tests with levels
    bool right = false;
    bool falseStart = false; // Reflex: the key came before the picture
    // Reflex and box: the time, hundredths; stop: the clock when stopped,
    // hundredths; shape: the stopwatch, tenths.
    int time = 0;
    int target = 0;  // stop: the target, hundredths
    int count = 0;   // box: the boxes there were
    QString answer;  // L-R, N-memory: the right answer
    QString typed;   // L-R, N-memory, box: what the player typed
    int matches = 0; // panel: the panels pressed in their place; not written
};

// The record line of a finished question, without its line break:
//   panel            2026/12/08,レベル3,○
//   L-R, N-memory    2026/12/08,レベル3,×,74,7 4
//   stop             2026/12/08,レベル1,3:00,3:05,+00:05
//   Reflex           2026/12/08,00:00:28  or  2026/12/08,フライング
//   box              2026/12/08,○,00:02:50,14,14
//   shape            2026/12/08,○,00:10:0
// Only the last field may hold what the player typed, commas and all.
QString recordLine(const TestDef& test, const Record& record);

// Column names in the interface's language, from the files' own.
QStringList shownColumns(const QStringList& names);

// The points a finished question earns in an overall run:
//   panel            10 for each panel pressed in its place, 50 more if right
//   L-R, N-memory    10 for each position of the answer (positionMatches),
//                    50 more if right
//   stop             stopPoints
//   Reflex           50 minus the time in hundredths; 0 for a false start
//   box              400 minus the time in hundredths if right, else 0
//   shape            shapePoints of the stopwatch if right, else 0
int questionPoints(const TestDef& test, const Record& record);

// Points of the three tests that score by position: 10 for each position i
// where the answer's i-th byte of code page 932 text equals the i-th character
// of the right answer, whatever the lengths.
int positionMatches(const QString& right, const QString& answer);

} // namespace qx
