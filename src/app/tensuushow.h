#pragma once

// The overall score screen: the last screen of an overall run. It shows the
// total, ranks it into the top ten of "Rec/record.dat" and writes the table
// back when the score entered it.

#include "app/screen.h"
#include "users/store.h"

#include <array>

class QTableWidget;
class TShadowLabel;

namespace qx {

// The top ten as the screen keeps it: at most ten entries of three fields
// (date, score, name), as code page 932 bytes.
using RankingEntries = QList<store::Lines>;

// The entries of the top-ten file: its first ten lines, each split by the
// comma-text rule into its first three fields.
RankingEntries rankingEntries(const store::Lines& lines);

struct Ranking {
    int rank = 0;           // 1..10; 0 when the score did not enter the table
    RankingEntries entries; // the table with the new entry in its place
    bool write = false;     // whether the file is to be rewritten
};

// Ranks a score: it takes the place of the first entry whose score it reaches,
// so ties go to the new score. A table of fewer than ten entries has room
// below its last one; a full table drops its tenth entry. newLine is the text
// "date,score,name", cut into three fields by the comma-text rule, so a name
// keeps only what comes before its first space or comma. Throws
// Error("'<field>' は整数ではありません") when the comparison reaches an entry
// whose score is not a decimal integer; entries below the place are not read.
Ranking rankScore(const RankingEntries& entries, int score, const QByteArray& newLine);

} // namespace qx

class TForm15 final : public qx::Screen {
public:
    explicit TForm15(qx::Game& game);

private:
    friend struct qx::ScreenProbe<TForm15>;

    void FormActivate() override;
    void FormCloseQuery() override;
    void Image3Click();

    TShadowLabel* ShadowLabel1; // user name
    TShadowLabel* ShadowLabel2; // "点数：" and the total
    TShadowLabel* ShadowLabel4; // the rank reached
    TShadowLabel* ShadowLabel3; // "順位"
    qx::Panel* Panel1;
    std::array<TShadowLabel*, 10> rankNumbers{}; // ShadowLabel13 .. ShadowLabel22
    QTableWidget* StringGrid1;                   // row 0 the heading, rows 1.. the table
    qx::Image* Image3;                           // もどる

private:
    void setRow(int row, const qx::store::Lines& fields);
    void showEntries(const qx::RankingEntries& entries);
};
