#include "pipeline/DocData.h"
#include "sources/PlayerRules.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();
constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();

struct BatchCase
{
    const char* name;
    int32_t command;
    int64_t position, count, start, total;
    std::optional<CReplayBatch> expected;
};

} // namespace

TEST(PlayerRules, ReplayBatchFirstLastAndReset)
{
    const BatchCase cases[] = {
        // 10 rows, start row 1, 指定行 3: PLAY, PLAY, BACK, then GO to row 8.
        {"first play", ReplayPlay, 0, 3, 1, 10, CReplayBatch{0, 2, true}},
        {"second play", ReplayPlay, 3, 3, 1, 10, CReplayBatch{3, 5, false}},
        {"back", ReplayBack, 6, 3, 1, 10, CReplayBatch{0, 2, true}},
        {"go", ReplayGo, 3, 8, 1, 10, CReplayBatch{0, 7, true}},
        // Position 5: start row 4 goes on, start row 7 starts over there.
        {"start below position", ReplayPlay, 5, 2, 4, 10, CReplayBatch{5, 6, false}},
        {"start above position", ReplayPlay, 5, 2, 7, 10, CReplayBatch{6, 7, true}},
        {"play from 0 starts at the start row", ReplayPlay, 0, 2, 4, 10, CReplayBatch{3, 4, true}},
        {"play beyond the end stops at the last row", ReplayPlay, 8, 5, 1, 10, CReplayBatch{8, 9, false}},
        {"back past the start sends the start row", ReplayBack, 3, 5, 2, 10, CReplayBatch{1, 1, true}},
        {"single row", ReplayPlay, 0, 1, 1, 1, CReplayBatch{0, 0, true}},
        {"go beyond the end stops at the last row", ReplayGo, 0, 50, 1, 10, CReplayBatch{0, 9, true}},
        // No batch: nothing to send, or nothing the rows allow.
        {"empty store", ReplayPlay, 0, 1, 1, 0, std::nullopt},
        {"play at the end", ReplayPlay, 10, 1, 1, 10, std::nullopt},
        {"go before the start row", ReplayGo, 0, 2, 5, 10, std::nullopt},
        {"no command", ReplayNone, 0, 1, 1, 10, std::nullopt},
        // Extreme values neither overflow nor leave the store.
        {"huge count", ReplayPlay, 5, kMax64, 1, 10, CReplayBatch{5, 9, false}},
        {"huge start", ReplayPlay, 0, kMax32, kMax32, int64_t(kMax32) + 5, CReplayBatch{kMax32 - 1, int64_t(kMax32) + 4, true}},
        {"huge back", ReplayBack, kMax64, kMax64, 1, kMax64, CReplayBatch{0, 0, true}},
        {"negative back", ReplayBack, std::numeric_limits<int64_t>::min(), 1, 1, 10, CReplayBatch{0, 0, true}},
    };
    for (const BatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto batch = ReplayBatch(c.command, c.position, c.count, c.start, c.total);
        ASSERT_EQ(batch.has_value(), c.expected.has_value());
        if (batch) {
            EXPECT_EQ(*batch, *c.expected);
        }
    }
}

TEST(PlayerRules, ReplayChecksInOrder)
{
    struct Case
    {
        int32_t command;
        int64_t target, start, position, total;
        const char* message;
        ReplayField field;
    } const cases[] = {
        {ReplayPlay, 1, 11, 0, 10, "開始行が全行数を超えています.", ReplayField::StartRow},
        {ReplayPlay, 1, 10, 0, 10, "", ReplayField::None},
        {ReplayPlay, 1, 1, 0, 0, "開始行が全行数を超えています.", ReplayField::StartRow},
        // BACK checks the position first, so an empty store reports it.
        {ReplayBack, 1, 1, 0, 0, "開始行が現在行以上です.", ReplayField::StartRow},
        {ReplayBack, 1, 3, 3, 10, "開始行が現在行以上です.", ReplayField::StartRow},
        {ReplayBack, 1, 2, 3, 10, "", ReplayField::None},
        {ReplayGo, 2, 3, 0, 10, "開始行が指定行を超えています.", ReplayField::StartRow},
        {ReplayGo, 11, 3, 0, 10, "指定行が全行数を超えています.", ReplayField::TargetRow},
        {ReplayGo, 1, 2, 0, 0, "開始行が指定行を超えています.", ReplayField::StartRow},
        {ReplayGo, 10, 10, 0, 10, "", ReplayField::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " " << c.target << " " << c.start);
        const CReplayCheck check = CheckReplayCommand(c.command, c.target, c.start, c.position, c.total);
        EXPECT_EQ(check.m_message, QString::fromUtf8(c.message));
        EXPECT_EQ(check.m_field, c.field);
    }
}

TEST(PlayerRules, ReplayButtonsAfterABatch)
{
    struct Case
    {
        int64_t position, total;
        int32_t lastAction;
        bool play, back, go;
        PlayerButton focus;
        int32_t nextAction;
    } const cases[] = {
        {0, 10, ReplayNone, true, false, true, PlayerButton::Stop, ReplayNone}, // opening
        {3, 10, ReplayPlay, true, true, true, PlayerButton::Play, ReplayPlay},
        // The last row sent by PLAY: BACK takes over, or STOP for a single row.
        {10, 10, ReplayPlay, false, true, true, PlayerButton::Back, ReplayBack},
        {1, 1, ReplayPlay, false, false, false, PlayerButton::Stop, ReplayNone},
        // BACK down to the first row: PLAY takes over, or GO when nothing is left to play.
        {1, 10, ReplayBack, true, false, true, PlayerButton::Play, ReplayPlay},
        {0, 0, ReplayNone, false, false, false, PlayerButton::Stop, ReplayNone},
        {8, 10, ReplayGo, true, true, true, PlayerButton::Go, ReplayGo},
        {1, 2, ReplayPlay, true, false, true, PlayerButton::Play, ReplayPlay},
        {2, 2, ReplayPlay, false, true, true, PlayerButton::Back, ReplayBack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << "/" << c.total << " after " << c.lastAction);
        const CReplayButtons b = ReplayButtons(c.position, c.total, c.lastAction);
        EXPECT_EQ(b.m_play, c.play);
        EXPECT_EQ(b.m_back, c.back);
        EXPECT_EQ(b.m_go, c.go);
        EXPECT_FALSE(b.m_pause);
        EXPECT_EQ(b.m_focus, c.focus);
        EXPECT_EQ(b.m_lastAction, c.nextAction);
    }
}
