// The flies' crawl, by the stage's movement rule, lured by the cream.
#pragma once

void MoveFlies();
