# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build into a scratch prefix, as a packager does, and checks what
# a desktop finds there: every file in its place, the menu entry, the metainfo
# and the man pages passing their validators with nothing to remark, the
# names that tie them together (program, icon, desktop id, screenshot)
# agreeing with what is installed, and the Japanese beside every English text.
#
# cmake -DBUILD_DIR=... -DPREFIX=... -DSOURCE_DIR=... -DAPP_ID=... -DVERSION=...
#       -P install_test.cmake

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
find_program(APPSTREAMCLI appstreamcli REQUIRED)
find_program(MANDOC mandoc REQUIRED)

set(failures)
macro(fail message)
  list(APPEND failures "${message}")
endmacro()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${errors}")
endif()

set(data share/quiravex)
set(desktop_file share/applications/${APP_ID}.desktop)
set(metainfo_file share/metainfo/${APP_ID}.metainfo.xml)
set(man_pages share/man/man6/quiravex.6.gz share/man/ja/man6/quiravex.6.gz)
set(expected games/quiravex ${desktop_file} ${metainfo_file} ${man_pages}
             share/doc/quiravex/copyright share/doc/quiravex/changelog.gz
             share/lintian/overrides/quiravex
             share/icons/hicolor/scalable/apps/${APP_ID}.svg
             ${data}/record.dat ${data}/wav/click.wav ${data}/wav/cd.wav ${data}/wav/up.wav)
foreach(n RANGE 1 7)
  list(APPEND expected ${data}/bmp/stage${n}.bmp)
endforeach()
foreach(n RANGE 1 9)
  list(APPEND expected ${data}/bmp/${n}.bmp)
endforeach()
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    fail("missing: ${file}")
  endif()
endforeach()

execute_process(COMMAND test -x ${PREFIX}/games/quiravex RESULT_VARIABLE not_executable)
if(NOT not_executable EQUAL 0)
  fail("games/quiravex is not executable")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SOURCE_DIR}/assets/record.dat
                        ${PREFIX}/${data}/record.dat RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  fail("the installed top ten is not assets/record.dat byte for byte")
endif()

# A desktop picks the bitmap by the folder's size, so each PNG must really be
# that size: width and height are the big-endian words at bytes 16 and 20.
foreach(size 16 22 24 32 48 64 128 256 512)
  set(png ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
  if(NOT EXISTS ${png})
    fail("missing: icon ${size}x${size}")
    continue()
  endif()
  file(READ ${png} header LIMIT 24 HEX)
  string(LENGTH "${header}" header_length)
  if(NOT header MATCHES "^89504e47" OR header_length LESS 48)
    fail("icon ${size}x${size} is not a PNG")
    continue()
  endif()
  string(SUBSTRING "${header}" 32 8 width_hex)
  string(SUBSTRING "${header}" 40 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  if(NOT width EQUAL size OR NOT height EQUAL size)
    fail("icon ${size}x${size} is ${width}x${height}")
  endif()
endforeach()

# Warnings and hints count as failures too: a menu may skip an entry that only
# warns here.
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${PREFIX}/${desktop_file}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output STREQUAL "")
  fail("desktop-file-validate (${result}):\n${output}")
endif()

# Pedantic, and not even a remark: the output is the verdict alone.
execute_process(COMMAND ${APPSTREAMCLI} validate --pedantic --no-net --no-color
                        ${PREFIX}/${metainfo_file}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
string(STRIP "${output}" output)
if(NOT result EQUAL 0 OR NOT output MATCHES "^[^\n]*Validation was successful\\.$")
  fail("appstreamcli validate --pedantic (${result}):\n${output}")
endif()

# mandoc reads the compressed page itself; -Tlint prints nothing for a clean one.
# The two pages are written apart, so each must still describe the same options,
# variables and files in the same order: the first word of every item's tag.
set(page_items)
foreach(page ${man_pages})
  execute_process(COMMAND ${MANDOC} -Tlint ${PREFIX}/${page}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR NOT output STREQUAL "")
    fail("mandoc -Tlint ${page} (${result}):\n${output}")
  endif()
  execute_process(COMMAND gzip -dc ${PREFIX}/${page} OUTPUT_VARIABLE source)
  string(REGEX MATCHALL "\n\\.TP\n\\.[BI][RI]? [^ \n]+" items "${source}")
  list(TRANSFORM items REPLACE "^\n\\.TP\n\\.[BI][RI]? " "")
  list(JOIN items " " items)
  if(page_items AND NOT items STREQUAL page_items)
    fail("${page} describes ${items}\n  where the English page describes ${page_items}")
  endif()
  set(page_items "${items}")
endforeach()

# Japanese beside every English text the menu and the software centre show.
foreach(key Name GenericName Comment Keywords)
  file(STRINGS ${PREFIX}/${desktop_file} english REGEX "^${key}=.")
  file(STRINGS ${PREFIX}/${desktop_file} japanese ENCODING UTF-8 REGEX "^${key}\\[ja\\]=.")
  if(NOT english OR NOT japanese)
    fail("the menu entry's ${key} is not there in both English and Japanese")
  endif()
endforeach()
file(READ ${PREFIX}/${metainfo_file} metainfo)
foreach(tag name summary developer_name caption p li)
  string(REGEX MATCHALL "<${tag}>" english "${metainfo}")
  string(REGEX MATCHALL "<${tag} xml:lang=\"ja\">" japanese "${metainfo}")
  list(LENGTH english english)
  list(LENGTH japanese japanese)
  if(english EQUAL 0 OR NOT english EQUAL japanese)
    fail("the metainfo has ${english} <${tag}> in English and ${japanese} in Japanese")
  endif()
endforeach()

# The names the validators cannot check against each other.
file(STRINGS ${PREFIX}/${desktop_file} exec REGEX "^Exec=")
file(STRINGS ${PREFIX}/${desktop_file} icon REGEX "^Icon=")
if(NOT exec STREQUAL "Exec=quiravex")
  fail("the menu entry starts '${exec}', not the installed games/quiravex")
endif()
if(NOT icon STREQUAL "Icon=${APP_ID}")
  fail("the menu entry's '${icon}' is not the installed icon ${APP_ID}")
endif()
foreach(tag "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
            "<binary>quiravex</binary>" "<release version=\"${VERSION}\""
            "<project_license>GPL-3.0-or-later</project_license>"
            "<metadata_license>CC0-1.0</metadata_license>")
  string(FIND "${metainfo}" "${tag}" at)
  if(at EQUAL -1)
    fail("the metainfo lacks ${tag}")
  endif()
endforeach()

# The screenshot is the release's own picture of the main menu, under the
# homepage's project.
string(REGEX MATCH "<url type=\"homepage\">https://github.com/([^<]+)</url>" homepage "${metainfo}")
set(project ${CMAKE_MATCH_1})
string(REGEX MATCH "<image type=\"source\"[^>]*>([^<]+)</image>" image "${metainfo}")
set(screenshot ${CMAKE_MATCH_1})
if(NOT homepage OR NOT screenshot STREQUAL
   "https://raw.githubusercontent.com/${project}/v${VERSION}/docs/mainmenu.png")
  fail("the screenshot '${screenshot}' is not docs/mainmenu.png of ${project} at v${VERSION}")
endif()
if(NOT EXISTS ${SOURCE_DIR}/docs/mainmenu.png)
  fail("the screenshot docs/mainmenu.png is not in the source tree")
endif()

# A native package's changelog names the version it describes.
execute_process(COMMAND gzip -dc ${PREFIX}/share/doc/quiravex/changelog.gz
                OUTPUT_VARIABLE changelog RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT changelog MATCHES "^quiravex \\(${VERSION}\\) ")
  fail("the changelog does not begin with version ${VERSION}")
endif()

if(failures)
  list(JOIN failures "\n" report)
  message(FATAL_ERROR "${report}")
endif()
message(STATUS "installed into ${PREFIX}; the validators passed")
