# Lays out the page's site from the build's staging folder: the game's files, the page's
# script and style and the icons named by the build's content hash (zimbrel.<hash>.js, ...), so
# that a browser may keep them for good (an icon the page, the manifest and the service worker
# all name is fetched once) and a new build is never mixed with an old one; index.html and the
# manifest, which name them, written from their templates, and so is watch.html, the page that
# plays a game's replay; the service worker
# that keeps this build's files for a visit without the network; and beside every file its
# gzip, for a server to send compressed.
#   cmake -DSTAGING=<folder> -DPAGE=<platform/web/page> -DSITE=<folder> -P name_site_files.cmake
set(hashed zimbrel.js zimbrel.wasm zimbrel.data page.js page.css watch.js watch.css icon-192.png icon-512.png)

function(write_gzip file)
  file(ARCHIVE_CREATE OUTPUT ${file}.gz PATHS ${file} FORMAT raw COMPRESSION GZip
    COMPRESSION_LEVEL 9)
endfunction()
set(sums "")
foreach(name IN LISTS hashed)
  file(SHA256 ${STAGING}/${name} sum)
  string(APPEND sums ${sum})
endforeach()
string(SHA256 build "${sums}")
string(SUBSTRING ${build} 0 12 build)

file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE})
foreach(name IN LISTS hashed)
  string(REGEX REPLACE "^([a-z0-9-]+)\\.(.*)$" "\\1.${build}.\\2" named ${name})
  file(COPY_FILE ${STAGING}/${name} ${SITE}/${named})
  string(MAKE_C_IDENTIFIER ${name} key)
  set(${key} ${named})
  file(SIZE ${STAGING}/${name} ${key}_size)
  # What travels, for the page's loading line.
  write_gzip(${SITE}/${named})
  file(SIZE ${SITE}/${named}.gz ${key}_gzip)
endforeach()
set(PAGE_JS ${page_js})
set(PAGE_CSS ${page_css})
set(GAME_FILES "${zimbrel_js} ${zimbrel_wasm} ${zimbrel_data}")
set(GAME_SIZES "${zimbrel_js_size} ${zimbrel_wasm_size} ${zimbrel_data_size}")
set(GAME_GZIP_SIZES "${zimbrel_js_gzip} ${zimbrel_wasm_gzip} ${zimbrel_data_gzip}")
set(ICON_192 ${icon_192_png})
set(ICON_512 ${icon_512_png})
configure_file(${PAGE}/index.html ${SITE}/index.html @ONLY)
configure_file(${PAGE}/manifest.webmanifest ${SITE}/manifest.webmanifest @ONLY)
set(WATCH_JS ${watch_js})
set(WATCH_CSS ${watch_css})
configure_file(${PAGE}/watch.html ${SITE}/watch.html @ONLY)
set(unhashed ComicNeue-OFL.txt)
foreach(name IN LISTS unhashed)
  file(COPY_FILE ${STAGING}/${name} ${SITE}/${name})
endforeach()
# The service worker names this build and every file it keeps.
set(BUILD ${build})
set(FILES "")
foreach(name IN LISTS hashed unhashed ITEMS manifest.webmanifest)
  string(MAKE_C_IDENTIFIER ${name} key)
  if(DEFINED ${key})
    string(APPEND FILES "'${${key}}', ")
  else()
    string(APPEND FILES "'${name}', ")
  endif()
endforeach()
string(REGEX REPLACE ", $" "" FILES "${FILES}")
configure_file(${PAGE}/sw.js ${SITE}/sw.js @ONLY)

file(GLOB files ${SITE}/*)
foreach(file IN LISTS files)
  if(NOT file MATCHES "\\.gz$" AND NOT EXISTS ${file}.gz)
    write_gzip(${file})
  endif()
endforeach()
