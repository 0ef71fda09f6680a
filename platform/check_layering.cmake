# Fails the build when a file includes what its folder must not see:
# - SDL's headers anywhere in the game or its tools but platform/sdl/ and platform/web/ (tests
#   and benchmarks may look at pixels through SDL);
# - platform/sdl/ and platform/web/ from the platform's lower parts (win32, files, mix, options,
#   seams, session);
# - the game's own folders from the platform layer, but for the program's entries;
# - shell/ from the folders below it, but for the small headers of the values they share;
# - the replay room (replay/) from the game and the platform, but for the program's entries,
#   which keep the games played; and the tools from the replay room.
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp
  ${SOURCE_DIR}/shell/*.h ${SOURCE_DIR}/shell/*.cpp
  ${SOURCE_DIR}/graphics/*.h ${SOURCE_DIR}/graphics/*.cpp
  ${SOURCE_DIR}/input/*.h ${SOURCE_DIR}/input/*.cpp
  ${SOURCE_DIR}/sound/*.h ${SOURCE_DIR}/sound/*.cpp
  ${SOURCE_DIR}/game/*.h ${SOURCE_DIR}/game/*.cpp
  ${SOURCE_DIR}/scores/*.h ${SOURCE_DIR}/scores/*.cpp
  ${SOURCE_DIR}/replay/*.h ${SOURCE_DIR}/replay/*.cpp
  ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp
  ${SOURCE_DIR}/assets/*.h ${SOURCE_DIR}/assets/*.cpp)

set(shared_shell_values "shell/main_window.h|shell/sound_slot_numbers.h|shell/current_screen.h")
set(faults "")
foreach(file IN LISTS sources)
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" target "${line}")
    set(fault "")
    if(target MATCHES "^(SDL2/)?SDL[_.A-Za-z0-9]*\\.h$" AND NOT file MATCHES "^platform/(sdl|web)/")
      set(fault "SDL is seen only by platform/sdl/ and platform/web/")
    elseif(target MATCHES "^platform/(sdl|web)/" AND file MATCHES "^platform/(win32|files|mix|options|seams|session)/")
      set(fault "the platform's lower parts do not use its SDL back-ends")
    elseif(target MATCHES "^(shell|graphics|input|sound|game|scores)/" AND file MATCHES "^platform/"
           AND NOT (file MATCHES "^platform/(sdl|web)/entry\\.cpp$" AND target STREQUAL "shell/win_main.h"))
      set(fault "the platform layer does not use the game")
    elseif(target MATCHES "^shell/" AND file MATCHES "^(graphics|input|sound|game|scores)/"
           AND NOT target MATCHES "^(${shared_shell_values})$")
      set(fault "below shell/, only its shared values' headers are included")
    elseif(target MATCHES "^replay/" AND file MATCHES "^(platform|shell|graphics|input|sound|game|scores)/"
           AND NOT file MATCHES "^platform/(sdl|web)/entry\\.cpp$")
      set(fault "the replay room stands above the game; only the program's entries use it")
    elseif(target MATCHES "^tools/" AND file MATCHES "^replay/")
      set(fault "the replay room does not use the tools")
    endif()
    if(fault)
      string(APPEND faults "  ${file}: #include \"${target}\": ${fault}\n")
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Includes across the layers:\n${faults}")
endif()
