// The rules of one play frame: swats, score, cream, the flies' crawl, the wasp, and last of
// all whether the stage has ended.
#pragma once

void UpdatePlayFrame();
