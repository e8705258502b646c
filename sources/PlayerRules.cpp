#include "sources/PlayerRules.h"

#include "pipeline/DocData.h"

#include <algorithm>
#include <limits>

namespace {

// a + b clamped to the int64 range.
int64_t SatAdd(int64_t a, int64_t b)
{
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return sum;
}

int64_t SatSub(int64_t a, int64_t b)
{
    int64_t diff = 0;
    if (__builtin_sub_overflow(a, b, &diff))
        return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return diff;
}

} // namespace

CCsvPlayerButtons CsvPlayerButtons(CsvPlayerState state)
{
    switch (state) {
    case CsvPlayerState::Ready:
        return {true, false, true, PlayerButton::Play};
    case CsvPlayerState::Playing:
        return {false, true, true, PlayerButton::Pause};
    case CsvPlayerState::Finished:
        return {false, false, true, PlayerButton::Stop};
    case CsvPlayerState::Closing:
        break;
    }
    return {false, false, false, PlayerButton::None};
}

std::optional<CReplayBatch> ReplayBatch(int32_t command, int64_t position, int64_t count, int64_t start,
                                        int64_t total)
{
    if (total <= 0)
        return std::nullopt;
    const int64_t lastRow = total - 1;
    const int64_t startIndex = std::min(std::max<int64_t>(SatSub(start, 1), 0), lastRow);
    CReplayBatch batch;
    switch (command) {
    case ReplayPlay: {
        int64_t pos = std::max<int64_t>(position, 0);
        if (pos < start) {
            batch.m_reset = true;
            pos = SatSub(start, 1);
        }
        if (pos > lastRow)
            return std::nullopt;
        batch.m_last = std::min(std::max<int64_t>(SatSub(SatAdd(pos, count), 1), 0), lastRow);
        batch.m_first = std::min(pos, batch.m_last);
        return batch;
    }
    case ReplayBack:
        batch.m_first = startIndex;
        batch.m_last = std::min(std::max(SatSub(SatSub(position, count), 1), batch.m_first), lastRow);
        batch.m_reset = true;
        return batch;
    case ReplayGo:
        batch.m_first = startIndex;
        batch.m_last = std::min(std::max<int64_t>(SatSub(count, 1), 0), lastRow);
        batch.m_reset = true;
        if (batch.m_first > batch.m_last)
            return std::nullopt;
        return batch;
    default:
        return std::nullopt;
    }
}

int32_t ReplayRowHint(const CReplayBatch& batch, int64_t i)
{
    if (i == batch.m_last)
        return ApplyAndRepaint;
    if (i == batch.m_first && batch.m_reset)
        return ResetAndApply;
    return Apply;
}

CReplayCheck CheckReplayCommand(int32_t command, int64_t targetRow, int64_t startRow, int64_t position,
                                int64_t total)
{
    const auto fail = [](const char* text, ReplayField field) { return CReplayCheck{QString::fromUtf8(text), field}; };
    switch (command) {
    case ReplayPlay:
        if (startRow > total)
            return fail("開始行が全行数を超えています.", ReplayField::StartRow);
        break;
    case ReplayBack:
        if (startRow >= position)
            return fail("開始行が現在行以上です.", ReplayField::StartRow);
        if (startRow > total)
            return fail("開始行が全行数を超えています.", ReplayField::StartRow);
        break;
    case ReplayGo:
        if (targetRow < startRow)
            return fail("開始行が指定行を超えています.", ReplayField::StartRow);
        if (targetRow > total)
            return fail("指定行が全行数を超えています.", ReplayField::TargetRow);
        break;
    default:
        break;
    }
    return {};
}

CReplayButtons ReplayButtons(int64_t position, int64_t total, int32_t lastAction)
{
    CReplayButtons b;
    b.m_lastAction = lastAction;
    b.m_play = position < total;
    if (!b.m_play && b.m_lastAction == ReplayPlay)
        b.m_lastAction = position > 1 ? ReplayBack : total > 1 ? ReplayGo : ReplayNone;
    b.m_back = position > 1;
    if (!b.m_back && b.m_lastAction == ReplayBack)
        b.m_lastAction = position < total ? ReplayPlay : total > 1 ? ReplayGo : ReplayNone;
    // Every branch of the rule comes down to this: GO needs two rows at least.
    b.m_go = total > 1;
    b.m_pause = false;
    switch (b.m_lastAction) {
    case ReplayPlay:
        b.m_focus = PlayerButton::Play;
        break;
    case ReplayBack:
        b.m_focus = PlayerButton::Back;
        break;
    case ReplayGo:
        b.m_focus = PlayerButton::Go;
        break;
    default:
        b.m_focus = PlayerButton::Stop;
        break;
    }
    return b;
}
