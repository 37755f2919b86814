# cmake -DFILES=LIST -DSOURCE=DIR -DSTAGE=DIR -DOUT=ZIP -P package.cmake
#
# Makes the package: a zip holding one folder, named as the zip, with
#   INSTALL.md             how to install, with the list of this package's gauges
#   GaugeSound.dll         the sound library
#   kestrel.exe            the panel check (kestrel.exe check PANEL.cfg)
#   Gauges/<name>.gau      the gauge modules
#   sound/*.WAV            the sounds the gauges play
#   panel.kestrel/         the Kestrel cockpit: its panel.cfg and background bitmaps
# LIST is written by the build: one line a file, "gauge PATH", "library PATH",
# "program PATH", "sound PATH" or "panel PATH", each PATH absolute. Only the files the list
# names go in, each a regular file: a line naming a folder, a missing file or
# anything else is refused, and no package is made. Paths may hold blanks,
# semicolons and any other bytes but the line end; they are never split.
cmake_minimum_required(VERSION 3.25)

foreach(var FILES SOURCE STAGE OUT)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "" OR NOT IS_ABSOLUTE "${${var}}")
    message(FATAL_ERROR "package.cmake: -D${var}= must give an absolute path")
  endif()
endforeach()

# read_lines(FILE PREFIX): the lines of FILE, as they are (bytes, not
# characters; a Windows line end loses its \r), in PREFIX_0, PREFIX_1, ...
# and their number in PREFIX_count. Not a CMake list, which would split a
# line at its semicolons.
function(read_lines file prefix)
  if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
    message(FATAL_ERROR "package.cmake: cannot read ${file}")
  endif()
  file(READ "${file}" text)
  set(n 0)
  while(NOT text STREQUAL "")
    string(FIND "${text}" "\n" end)
    if(end EQUAL -1)
      set(line "${text}")
      set(text "")
    else()
      string(SUBSTRING "${text}" 0 ${end} line)
      math(EXPR end "${end} + 1")
      string(SUBSTRING "${text}" ${end} -1 text)
    endif()
    string(REGEX REPLACE "\r$" "" line "${line}")
    set(${prefix}_${n} "${line}" PARENT_SCOPE)
    math(EXPR n "${n} + 1")
  endwhile()
  set(${prefix}_count ${n} PARENT_SCOPE)
endfunction()

get_filename_component(name "${OUT}" NAME_WLE)
set(root "${STAGE}/${name}")
# A run that fails leaves no package behind, not even the last one.
file(REMOVE "${OUT}")
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${root}/Gauges" "${root}/sound" "${root}/panel.kestrel")

read_lines("${FILES}" entry)
read_lines("${SOURCE}/package/gauges.txt" description)
set(gauge_list "")
set(i 0)
while(i LESS entry_count)
  set(entry "${entry_${i}}")
  math(EXPR line "${i} + 1")
  math(EXPR i "${i} + 1")
  if(entry STREQUAL "")
    continue()
  endif()
  set(where "${FILES}:${line}")
  if(NOT entry MATCHES "^(gauge|library|program|sound|panel) (.+)$")
    message(FATAL_ERROR "${where}: not \"gauge|library|program|sound|panel PATH\": ${entry}")
  endif()
  set(kind "${CMAKE_MATCH_1}")
  set(path "${CMAKE_MATCH_2}")
  if(NOT IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "${where}: ${path}: not an absolute path; only the build's files go in the package")
  elseif(IS_DIRECTORY "${path}")
    message(FATAL_ERROR "${where}: ${path} is a folder, not a file; only the files the list names go in the package")
  elseif(NOT EXISTS "${path}")
    message(FATAL_ERROR "${where}: ${path} was not built")
  endif()
  get_filename_component(file_name "${path}" NAME)
  if(kind STREQUAL "gauge")
    set(destination "${root}/Gauges")
  elseif(kind STREQUAL "sound")
    set(destination "${root}/sound")
  elseif(kind STREQUAL "panel")
    set(destination "${root}/panel.kestrel")
  else()
    set(destination "${root}")
  endif()
  if(EXISTS "${destination}/${file_name}")
    message(FATAL_ERROR "${where}: ${path}: the package already holds a file named ${file_name} there")
  endif()
  # One file, its contents (a symbolic link is followed): never a folder.
  file(COPY_FILE "${path}" "${destination}/${file_name}" RESULT failed)
  if(failed)
    message(FATAL_ERROR "${where}: cannot copy ${path}: ${failed}")
  endif()
  if(kind STREQUAL "gauge")
    get_filename_component(module "${path}" NAME_WE)
    if(NOT module MATCHES "^[a-z0-9_]+$")
      message(FATAL_ERROR "${where}: ${path}: a gauge module's name is lower-case letters, digits and _")
    endif()
    set(found "")
    set(j 0)
    while(j LESS description_count)
      if(description_${j} MATCHES "^${module}: (.*)$")
        set(found "${CMAKE_MATCH_1}")
      endif()
      math(EXPR j "${j} + 1")
    endwhile()
    if(found STREQUAL "")
      message(FATAL_ERROR "${module}: describe it in package/gauges.txt")
    endif()
    string(APPEND gauge_list "| `${module}.gau` | ${found} |\n")
  endif()
endwhile()

if(NOT EXISTS "${root}/panel.kestrel/panel.cfg")
  message(FATAL_ERROR "${FILES}: names no panel.cfg of the cockpit (\"panel PATH\")")
endif()

string(REGEX REPLACE "^kestrel-gauges-" "" VERSION "${name}")
set(GAUGES "${gauge_list}")
configure_file("${SOURCE}/package/INSTALL.md" "${root}/INSTALL.md" @ONLY)

get_filename_component(dist "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${dist}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${OUT}" --format=zip -- "${name}"
                WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot write ${OUT}")
endif()
message(STATUS "Package: ${OUT}")
