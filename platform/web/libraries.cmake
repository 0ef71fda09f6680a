# The web's SDL2, SDL2_ttf, FreeType, HarfBuzz, libpng and zlib, as tools/web/build-deps builds them
# into ZIMBREL_WEB_DEPS, under the names the desktop's pkg-config gives its own.
if(NOT ZIMBREL_WEB_DEPS)
  message(FATAL_ERROR "ZIMBREL_WEB_DEPS: the folder tools/web/build-deps installed into")
endif()
foreach(library SDL2_ttf harfbuzz freetype SDL2 png16 z)
  if(NOT EXISTS ${ZIMBREL_WEB_DEPS}/lib/lib${library}.a)
    message(FATAL_ERROR "${ZIMBREL_WEB_DEPS}/lib/lib${library}.a: missing; run tools/build-web")
  endif()
endforeach()
add_library(PkgConfig::SDL2 INTERFACE IMPORTED GLOBAL)
target_include_directories(PkgConfig::SDL2 INTERFACE
  ${ZIMBREL_WEB_DEPS}/include ${ZIMBREL_WEB_DEPS}/include/SDL2)
target_link_libraries(PkgConfig::SDL2 INTERFACE
  ${ZIMBREL_WEB_DEPS}/lib/libSDL2_ttf.a ${ZIMBREL_WEB_DEPS}/lib/libharfbuzz.a
  ${ZIMBREL_WEB_DEPS}/lib/libfreetype.a
  ${ZIMBREL_WEB_DEPS}/lib/libSDL2.a ${ZIMBREL_WEB_DEPS}/lib/libz.a)  # FreeType inflates fonts
add_library(PkgConfig::PNG INTERFACE IMPORTED GLOBAL)
target_include_directories(PkgConfig::PNG INTERFACE ${ZIMBREL_WEB_DEPS}/include)
target_link_libraries(PkgConfig::PNG INTERFACE
  ${ZIMBREL_WEB_DEPS}/lib/libpng16.a ${ZIMBREL_WEB_DEPS}/lib/libz.a)
