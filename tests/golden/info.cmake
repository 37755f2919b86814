# Runs `kestrel info --records` over every module and compares what it prints,
# byte for byte, with the reviewed transcript: a change to any field a module
# hands the simulator shows here. After reviewing a change on purpose, write
# the transcript anew with
#   cmake -DKESTREL=build/native/kestrel -DGOLDEN=tests/golden/info.txt -DUPDATE=ON \
#         -DMODULES="autobrake_panel;..." -P tests/golden/info.cmake
# (ctest -V -R info.records shows the whole command).
execute_process(COMMAND ${KESTREL} info --records ${MODULES}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "kestrel info exited with ${rc}: ${err}")
endif()
if(UPDATE)
  file(WRITE ${GOLDEN} "${out}")
  return()
endif()
file(READ ${GOLDEN} want)
if(NOT out STREQUAL want)
  file(WRITE ${ACTUAL} "${out}")
  message(FATAL_ERROR "the modules' records differ from ${GOLDEN}:\n  diff ${GOLDEN} ${ACTUAL}")
endif()
