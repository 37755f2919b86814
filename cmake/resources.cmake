# cmake -DBITMAPS=DIR -DOUT=FILE.rc -P resources.cmake
# Writes a resource script listing every bitmap in DIR at its resource id; the
# files are named by the id in hexadecimal, as the artwork tool writes them
# (0100.bmp is resource 256).
cmake_minimum_required(VERSION 3.25)
file(GLOB bitmaps ${BITMAPS}/*.bmp)
list(SORT bitmaps)
if(NOT bitmaps)
  message(FATAL_ERROR "${BITMAPS}: no bitmaps were drawn")
endif()
set(text "// Made by the build: the bitmaps of ${BITMAPS} at their resource ids.\n")
foreach(file ${bitmaps})
  get_filename_component(stem ${file} NAME_WE)
  if(NOT stem MATCHES "^[0-9A-Fa-f]+$")
    message(FATAL_ERROR "${file}: a bitmap is named by its resource id in hexadecimal")
  endif()
  math(EXPR id "0x${stem}")
  string(APPEND text "${id} BITMAP \"${file}\"\n")
endforeach()
file(WRITE ${OUT} "${text}")
