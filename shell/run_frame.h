// One frame of the current screen.
#pragma once

int RunFrame();
