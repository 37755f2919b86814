# kestrel_cockpit_bitmaps(OUT): the background bitmaps the cockpit's
# panel.cfg names (its file_1024= lines), read from the panel.cfg itself so
# that the names are written in one place.
function(kestrel_cockpit_bitmaps out)
  file(STRINGS ${PROJECT_SOURCE_DIR}/panels/cockpit/panel.cfg lines REGEX "^[Ff][Ii][Ll][Ee]_1024[ \t]*=")
  set(names "")
  foreach(line ${lines})
    string(REGEX REPLACE "^[^=]*=[ \t]*([^ \t/;]+).*$" "\\1" name "${line}")
    list(APPEND names ${name})
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()
