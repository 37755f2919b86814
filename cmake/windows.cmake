# What the 32-bit Windows build adds: compiler settings that make the modules
# compute and print exactly as the native build does, the build-machine tools
# that draw the artwork and make the sounds, and each gauge's bitmaps carried
# as resources at their ids.
enable_language(RC)

# Numbers are printed by MinGW's standard-conforming printf rather than the
# system runtime's older one, so halves, NaN and infinities come out as on
# Linux. Floating point runs in SSE registers at double precision, as on
# x86-64, not in the x87's 80-bit registers, so results round the same way.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)
add_compile_options(-msse2 -mfpmath=sse)
# GCC 12 warns wrongly about overlapping copies inside std::string's operator+
# when it inlines it for this target.
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
# libgcc and libstdc++ are linked in: the modules import system DLLs only.
add_link_options(-static-libgcc -static-libstdc++ -s)

# ---------------------------------------------------------------------------
# Build-machine tools. The artwork tool (cairo) and the sound maker cannot be
# cross-compiled; a native build of them in host-tools/ writes the bitmaps into
# Artwork/<gauge>/ and the wave files into sound/ of this build.

include(ExternalProject)

# kestrel_resources(NAME): the gauge NAME carries its drawn bitmaps as
# resources. Called by kestrel_artwork() in a cross build.
function(kestrel_resources name)
  set_property(GLOBAL APPEND PROPERTY KESTREL_RESOURCE_GAUGES ${name})
  # The gauge's target may be declared after its artwork: attach them at the
  # end of the folder (the name is expanded now, not then).
  cmake_language(EVAL CODE "cmake_language(DEFER CALL kestrel_attach_resources [[${name}]])")
endfunction()

function(kestrel_attach_resources name)
  set(rc ${CMAKE_BINARY_DIR}/resources/${name}.rc)
  add_custom_command(OUTPUT ${rc}
    COMMAND ${CMAKE_COMMAND} -DBITMAPS=${KESTREL_ARTWORK_DIR}/${name} -DOUT=${rc}
            -P ${PROJECT_SOURCE_DIR}/cmake/resources.cmake
    DEPENDS ${KESTREL_ARTWORK_DIR}/${name}/.drawn ${PROJECT_SOURCE_DIR}/cmake/resources.cmake
    COMMENT "Listing the bitmaps of ${name} as resources")
  target_sources(${name} PRIVATE ${rc})
endfunction()

function(kestrel_host_tools)
  get_property(names GLOBAL PROPERTY KESTREL_RESOURCE_GAUGES)
  set(made)
  foreach(name ${names})
    list(APPEND made ${KESTREL_ARTWORK_DIR}/${name}/.drawn)
  endforeach()
  foreach(sound CLICK SWITCH CHIME)
    list(APPEND made ${KESTREL_SOUND_DIR}/${sound}.WAV)
  endforeach()
  include(${PROJECT_SOURCE_DIR}/cmake/cockpit.cmake)
  kestrel_cockpit_bitmaps(bitmaps)
  foreach(bitmap ${bitmaps} panel.cfg)
    list(APPEND made ${CMAKE_BINARY_DIR}/host-tools/panels/cockpit/${bitmap})
  endforeach()
  ExternalProject_Add(host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools
    CMAKE_ARGS -DKESTREL_HOST_TOOLS_ONLY=ON -DKESTREL_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
               -DKESTREL_ARTWORK_DIR=${KESTREL_ARTWORK_DIR} -DKESTREL_SOUND_DIR=${KESTREL_SOUND_DIR}
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${made}
    INSTALL_COMMAND "")
endfunction()

# ---------------------------------------------------------------------------
# The package: dist/kestrel-gauges-<version>.zip, made on every build from
# what the build made (package/package.cmake).

set(KESTREL_PACKAGE ${PROJECT_SOURCE_DIR}/dist/kestrel-gauges-${PROJECT_VERSION}.zip)

function(kestrel_package)
  get_property(gauges GLOBAL PROPERTY KESTREL_GAUGES)
  set(lines "")
  foreach(gauge ${gauges})
    string(APPEND lines "gauge $<TARGET_FILE:${gauge}>\n")
  endforeach()
  string(APPEND lines "library $<TARGET_FILE:GaugeSound>\n")
  string(APPEND lines "program $<TARGET_FILE:kestrel>\n")
  foreach(sound CLICK SWITCH CHIME)
    string(APPEND lines "sound ${KESTREL_SOUND_DIR}/${sound}.WAV\n")
  endforeach()
  # The cockpit: its panel.cfg and the backgrounds the host tools drew.
  include(${PROJECT_SOURCE_DIR}/cmake/cockpit.cmake)
  kestrel_cockpit_bitmaps(bitmaps)
  foreach(file panel.cfg ${bitmaps})
    string(APPEND lines "panel ${CMAKE_BINARY_DIR}/host-tools/panels/cockpit/${file}\n")
  endforeach()
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/package-files.txt CONTENT "${lines}")
  add_custom_target(kestrel_package ALL
    COMMAND ${CMAKE_COMMAND} -DFILES=${CMAKE_BINARY_DIR}/package-files.txt -DSOURCE=${PROJECT_SOURCE_DIR}
            -DSTAGE=${CMAKE_BINARY_DIR}/package -DOUT=${KESTREL_PACKAGE}
            -P ${PROJECT_SOURCE_DIR}/package/package.cmake
    COMMENT "Packaging ${KESTREL_PACKAGE}"
    VERBATIM)
  add_dependencies(kestrel_package ${gauges} GaugeSound kestrel host_tools)
endfunction()

function(kestrel_windows_build)
  kestrel_host_tools()
  kestrel_package()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL kestrel_windows_build)
