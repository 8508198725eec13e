#include "app/SettingsRecord.h"

#include <gtest/gtest.h>

namespace vostrel {
namespace {

HighScoreTable DefaultTable() {
    SettingsRecord s;
    SetDefaultHighScores(s);
    return s.highScores;
}

TEST(HighScoreTable, DefaultsReadFromTheBest) {
    const HighScoreTable t = DefaultTable();
    const char* names[] = {"ABC", "XYZ", "PYR", "owns", "ZORVEK"};
    const int32_t scores[] = {500, 450, 400, 350, 300};
    for (int i = 0; i < kHighScoreRows; ++i) {
        EXPECT_EQ(t.name[i], names[i]);
        EXPECT_EQ(t.score[i], scores[i]);
    }
}

TEST(HighScoreTable, InsertAtTopPushesEveryRowDownAndDropsTheLast) {
    HighScoreTable t = DefaultTable();
    // A full name goes with its row; the new row has none.
    t.fullName[0] = "full0";
    t.fullName[3] = "full3";
    EXPECT_EQ(InsertHighScore(t, 600), 0);
    EXPECT_EQ(t.name[0], "none");
    EXPECT_EQ(t.fullName[0], "");
    EXPECT_EQ(t.score[0], 600);
    EXPECT_EQ(t.name[1], "ABC");
    EXPECT_EQ(t.fullName[1], "full0");
    EXPECT_EQ(t.name[4], "owns");
    EXPECT_EQ(t.fullName[4], "full3");
    EXPECT_EQ(t.score[4], 350);
}

TEST(HighScoreTable, EqualScoreGoesBelow) {
    HighScoreTable t = DefaultTable();
    EXPECT_EQ(InsertHighScore(t, 400), 3);
    EXPECT_EQ(t.name[2], "PYR");
    EXPECT_EQ(t.score[3], 400);
    EXPECT_EQ(t.name[4], "owns");
    EXPECT_EQ(t.score[4], 350);
}

TEST(HighScoreTable, ScoreNotAboveTheLastRowLeavesTheTable) {
    HighScoreTable t = DefaultTable();
    const HighScoreTable before = t;
    EXPECT_EQ(InsertHighScore(t, 300), -1);
    EXPECT_EQ(t, before);
    EXPECT_EQ(InsertHighScore(t, 301), 4);
    EXPECT_EQ(t.name[4], "none");
    EXPECT_EQ(t.score[3], 350);
}

TEST(HighScoreTable, UnsortedRowsAreNotSortedAndNegativesCompareSigned) {
    HighScoreTable t;
    const int32_t scores[] = {-5, 100, -20, -30, -40};
    for (int i = 0; i < kHighScoreRows; ++i) {
        t.score[i] = scores[i];
        t.name[i] = std::string(1, char('a' + i));
    }
    EXPECT_EQ(InsertHighScore(t, -10), 2);
    EXPECT_EQ(t.score[1], 100);
    EXPECT_EQ(t.name[3], "c");
    EXPECT_EQ(t.score[4], -30);
}

} // namespace
} // namespace vostrel
