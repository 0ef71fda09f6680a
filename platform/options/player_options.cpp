#include "platform/options/player_options.h"

PlayerOptions& CurrentPlayerOptions() {
  static PlayerOptions options;
  return options;
}
