#pragma once
// The rounds and total boards a new tournament gets by default, as the
// Tournament Properties dialog proposes them.

struct MovementSize {
    int rounds;
    int boards;
    int skipAfterRound;
};

// Default rounds, total boards and skip round for `pairs` pairs playing
// `boardsPerRound` boards a round in movement `movementType` (1..4), with or
// without the Mitchell skip.
MovementSize DEFAULTMOVEMENTSIZE(int movementType, int pairs, int boardsPerRound, bool skip);
