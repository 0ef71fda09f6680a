// Whether the window shows the flip under way. A replay being watched runs ahead unseen to
// where it is asked to be, and shows one flip in several when it runs faster than it was
// played; everything else shows every flip. Headless, every flip is captured whatever it says.
#pragma once

using FlipShownQuestion = bool (*)();

// One question for the process; nullptr: every flip is shown.
void SetFlipShownQuestion(FlipShownQuestion question);
// Asked by the presenter before each flip, while PresentedFlipCount() still counts the ones
// before it; a flip not shown is not paced either.
bool FlipShown();
