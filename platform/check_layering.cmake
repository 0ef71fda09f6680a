# Fails the build when a file includes what its folder must not see. Every folder has a level;
# a file may include from its own level and below, never above:
#   0  platform/win32, files, mix, options, seams, session: the platform's lower parts
#   1  platform/sdl, platform/web: the back-ends over SDL and the browser; platform/controls:
#      fingers and game controllers turned into the mouse's and the keyboard's reads;
#      platform/null: the back-end with no SDL, for checking a replay by its rules alone
#   2  globals: the values the game's folders share (window, screen, sound and image numbers)
#   3  graphics, input, sound, scores, game: the game's subsystems
#   4  shell: the program, its screens and its frame loop
#   5  replay: the replay room (a replay read, played, recorded, checked; the games kept)
#   6  tools: the kits the programs are made of (the replay tool's verbs, the scripted player,
#      frames as PNG, the art and sound kits)
#   7  assets: our pictures and sounds, drawn and synthesised with the kits
#   8  leaderboard: the server's room, over the replay room
#   9  programs: every program's entry, which nothing includes
# The replay room reads no record of the game's: of the game's folders (levels 2 to 4) it sees
# only the game's entry (shell/win_main.h), to run it, and the table's file format
# (scores/highscore_file.h), which a replay's highscores line holds; a named game reaches it
# as a value, through platform/seams/game_named.h.
# SDL's headers are seen only by platform/sdl/, platform/controls/ and platform/web/ (tests and
# benchmarks, not checked here, may look at pixels through SDL).
set(levels
  "platform/(win32|files|mix|options|seams|session)/=0"
  "platform/(sdl|web|controls|null)/=1"
  "globals/=2"
  "(graphics|input|sound|scores|game)/=3"
  "shell/=4"
  "replay/=5"
  "tools/=6"
  "assets/=7"
  "leaderboard/=8"
  "programs/=9")

function(level_of path out)
  set(found "")
  foreach(entry IN LISTS levels)
    string(REGEX MATCH "^(.*)=([0-9]+)$" parsed "${entry}")
    set(pattern "^${CMAKE_MATCH_1}")
    set(level ${CMAKE_MATCH_2})
    if("${path}" MATCHES "${pattern}")
      set(found ${level})
      break()
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(globs "")
foreach(folder IN ITEMS platform globals shell graphics input sound game scores replay tools assets leaderboard programs)
  list(APPEND globs ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
endforeach()
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${globs})

set(faults "")
foreach(file IN LISTS sources)
  level_of("${file}" file_level)
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" target "${line}")
    set(fault "")
    level_of("${target}" target_level)
    if(target MATCHES "^(SDL2/)?SDL[_.A-Za-z0-9]*\\.h$" AND NOT file MATCHES "^platform/(sdl|web|controls)/")
      set(fault "SDL is seen only by platform/sdl/, platform/controls/ and platform/web/")
    elseif(NOT target_level STREQUAL "" AND NOT file_level STREQUAL ""
           AND target_level GREATER file_level)
      set(fault "level ${file_level} does not include level ${target_level}")
    elseif(file MATCHES "^platform/null/" AND target MATCHES "^platform/(sdl|controls|web)/"
           AND NOT target MATCHES "^platform/sdl/(kept_pictures|platform_quit)\\.h$")
      set(fault "the null platform implements the stand-ins itself; of sdl/ it sees only the two declarations it implements too")
    elseif(file MATCHES "^replay/" AND target_level MATCHES "^[234]$"
           AND NOT target MATCHES "^(shell/win_main|scores/highscore_file)\\.h$")
      set(fault "the replay room reaches the game only through the seams, its entry and the table's file")
    endif()
    if(fault)
      string(APPEND faults "  ${file}: #include \"${target}\": ${fault}\n")
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Includes across the layers:\n${faults}")
endif()
