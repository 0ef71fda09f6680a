// The OK box every end of play passes through: the background with its OK button, and the
// swatter, until the player clicks the button.
#pragma once

void WaitForOk();
