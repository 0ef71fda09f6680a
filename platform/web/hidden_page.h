// A hidden page gets no refreshes, so the game holds where it is; its rules clock holds with
// it, so that the time hidden costs the stage none of its seconds. (A desktop's clock runs on
// under a covered or minimised window, as it always has.)
#pragma once

// From now on the rules clock stands still while the page is hidden.
void HoldRulesClockWhileHidden();
