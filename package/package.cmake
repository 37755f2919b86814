# cmake -DFILES=LIST -DSOURCE=DIR -DSTAGE=DIR -DOUT=ZIP -P package.cmake
#
# Makes the package: a zip holding one folder, named as the zip, with
#   INSTALL.md             how to install, with the list of this package's gauges
#   GaugeSound.dll         the sound library
#   kestrel.exe            the panel check (kestrel.exe check PANEL.cfg)
#   Gauges/<name>.gau      the gauge modules
#   sound/*.WAV            the sounds the gauges play
#   panel/panel.cfg        the demo panel configuration, once there is one
# LIST is written by the build: one line a file, "gauge PATH", "library PATH",
# "program PATH" or "sound PATH".
cmake_minimum_required(VERSION 3.25)
get_filename_component(name ${OUT} NAME_WLE)
set(root ${STAGE}/${name})
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${root}/Gauges ${root}/sound)

file(STRINGS ${FILES} entries)
file(STRINGS ${SOURCE}/package/gauges.txt descriptions REGEX "^[a-z0-9_]+: ")
set(gauge_list "")
foreach(entry ${entries})
  string(REGEX MATCH "^([a-z]+) (.*)$" _ "${entry}")
  set(kind ${CMAKE_MATCH_1})
  set(path ${CMAKE_MATCH_2})
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "${path} was not built")
  endif()
  if(kind STREQUAL "gauge")
    file(COPY ${path} DESTINATION ${root}/Gauges)
    get_filename_component(module ${path} NAME_WE)
    set(found "")
    foreach(line ${descriptions})
      if(line MATCHES "^${module}: (.*)$")
        set(found "${CMAKE_MATCH_1}")
      endif()
    endforeach()
    if(NOT found)
      message(FATAL_ERROR "${module}: describe it in package/gauges.txt")
    endif()
    string(APPEND gauge_list "| `${module}.gau` | ${found} |\n")
  elseif(kind STREQUAL "library" OR kind STREQUAL "program")
    file(COPY ${path} DESTINATION ${root})
  elseif(kind STREQUAL "sound")
    file(COPY ${path} DESTINATION ${root}/sound)
  endif()
endforeach()

set(panel ${SOURCE}/panels/a320/panel.cfg)
if(EXISTS ${panel})
  file(COPY ${panel} DESTINATION ${root}/panel)
  set(PANEL_ROW "| `panel\\` | `panel.cfg`, the demo panel configuration. |\n")
  set(PANEL_NOTE "The demo panel configuration, `panel\\panel.cfg`, lays out an A320 panel with every gauge of the full Kestrel set; a line whose module is not in this package finds nothing and shows nothing. Use it as it is (section 3), or as an example for your own panel (section 4).")
else()
  set(PANEL_ROW "")
  set(PANEL_NOTE "This package holds no demo panel configuration yet; section 4 shows how to write the lines yourself.")
endif()

string(REGEX REPLACE "^kestrel-gauges-" "" VERSION ${name})
set(GAUGES "${gauge_list}")
configure_file(${SOURCE}/package/INSTALL.md ${root}/INSTALL.md @ONLY)

file(REMOVE ${OUT})
get_filename_component(dist ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${dist})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT} --format=zip -- ${name}
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot write ${OUT}")
endif()
message(STATUS "Package: ${OUT}")
