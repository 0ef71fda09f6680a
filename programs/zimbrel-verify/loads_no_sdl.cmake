# Fails the build when zimbrel-verify would load a library of the drawn game's: what it loads
# is the whole of its start-up cost, so SDL, fonts, sound and windows stay out.
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE loaded ERROR_VARIABLE refused
                RESULT_VARIABLE failed)
# A program linked statically loads nothing, and ldd says so with a failure.
if(failed AND "${loaded}${refused}" MATCHES "not a dynamic executable")
  return()
endif()
if(failed)
  message(FATAL_ERROR "ldd ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "[^\n\t ]*(SDL|ttf|fontconfig|freetype|X11|xcb|wayland|pulse|asound|GL|drm)[^\n\t ]*"
       unwanted "${loaded}")
if(unwanted)
  message(FATAL_ERROR "${PROGRAM} loads ${unwanted}; it must load no SDL, font, sound or window library")
endif()
