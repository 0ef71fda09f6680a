// Setting up the stage numbered Stage: its background, its flies, its intro (which waits for a
// click), its clock and its buzz.
#pragma once

void StartStage();
