#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// What the two players decide without a window: the internal data player's batches and
// checks, and which buttons each player offers in each state.

enum class PlayerButton : int32_t { None, Play, Back, Go, Pause, Stop };

// --- CSV file player ---

enum class CsvPlayerState : int32_t { Ready, Playing, Finished, Closing };

struct CCsvPlayerButtons
{
    bool m_play = false;
    bool m_pause = false;
    bool m_stop = false;
    PlayerButton m_focus = PlayerButton::None;
};

CCsvPlayerButtons CsvPlayerButtons(CsvPlayerState state);

// --- internal data player ---

// The batch a button asks the reader for; the values are the ones the dialog keeps as its
// last action.
enum ReplayCommand : int32_t { ReplayNone = 0, ReplayPlay = 1, ReplayBack = 2, ReplayGo = 3 };

// Store indexes (0-based) of the rows to send, and whether the documents are reset first.
struct CReplayBatch
{
    int64_t m_first = 0;
    int64_t m_last = 0;
    bool m_reset = false;

    bool operator==(const CReplayBatch&) const = default;
};

// position: rows sent so far (the store index of the next row); count: 指定行; start: 開始行
// (1-based); total: stored rows. No batch for an empty store, for PLAY with nothing left to
// send, or for GO to a row before the start row. PLAY from a position before the start row
// resets and starts at the start row, from position 0 too. Nothing overflows, whatever the
// arguments.
std::optional<CReplayBatch> ReplayBatch(int32_t command, int64_t position, int64_t count, int64_t start,
                                        int64_t total);

// The hint of store row i of a batch.
int32_t ReplayRowHint(const CReplayBatch& batch, int64_t i);

enum class ReplayField : int32_t { None, TargetRow, StartRow };

struct CReplayCheck
{
    QString m_message; // empty: the command may run
    ReplayField m_field = ReplayField::None;
};

// The checks of PLAY, BACK and GO in their order, with the caption "チェック".
CReplayCheck CheckReplayCommand(int32_t command, int64_t targetRow, int64_t startRow, int64_t position,
                                int64_t total);

struct CReplayButtons
{
    bool m_play = false;
    bool m_back = false;
    bool m_go = false;
    bool m_pause = false;
    PlayerButton m_focus = PlayerButton::Stop;
    int32_t m_lastAction = ReplayNone; // moved on when its button is no longer possible
};

// The buttons once no batch runs, at position P of total T rows.
CReplayButtons ReplayButtons(int64_t position, int64_t total, int32_t lastAction);
