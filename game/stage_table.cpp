#include "game/stage_table.h"

// Stage 10 is the boss: its fifty flies appear only when the boss is hit.
const StageRow StageTable[kStages] = {
    {"gfx\\Back1.bmp", 7, 1, 60},  {"gfx\\Back2.bmp", 15, 1, 50}, {"gfx\\Back3.bmp", 15, 1, 35},
    {"gfx\\Back4.bmp", 7, 2, 60},  {"gfx\\Back1.bmp", 15, 2, 40}, {"gfx\\Back2.bmp", 30, 2, 40},
    {"gfx\\Back3.bmp", 7, 3, 60},  {"gfx\\Back4.bmp", 7, 3, 30},  {"gfx\\Back1.bmp", 25, 3, 20},
    {"gfx\\Back2.bmp", 50, 4, 60},
};
