# Runs one program and compares its exit status, standard output and standard error with what
# is expected. Line ends are compared without the CR that Windows text mode adds.
#   cmake -DRUNNER=<emulator list> -DPROGRAM=<exe> -DARGS=<list> -DSTATUS=<n>
#         [-DSTDOUT_FILE=<file>] [-DSTDERR_FILE=<file>] [-DWORKING_DIRECTORY=<dir>] -P check_run.cmake
# A missing STDOUT_FILE or STDERR_FILE means that stream must stay empty. With -DANY_SECONDS=ON
# the number in "The test ran for N seconds." is not compared (runs timed by the wall clock).
if(NOT WORKING_DIRECTORY)
  get_filename_component(WORKING_DIRECTORY "${PROGRAM}" DIRECTORY)
endif()
execute_process(
  COMMAND ${RUNNER} ${PROGRAM} ${ARGS}
  WORKING_DIRECTORY ${WORKING_DIRECTORY}
  INPUT_FILE /dev/null
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  TIMEOUT 120)

set(failed FALSE)
string(REPLACE "\r" "" out "${out}")
string(REPLACE "\r" "" err "${err}")
foreach(stream out err)
  string(TOUPPER "STD${stream}_FILE" fileVariable)
  set(expected "")
  if(${fileVariable})
    file(READ ${${fileVariable}} expected)
  endif()
  if(ANY_SECONDS)
    string(REGEX REPLACE "The test ran for [0-9]+ seconds" "The test ran for N seconds" expected "${expected}")
    string(REGEX REPLACE "The test ran for [0-9]+ seconds" "The test ran for N seconds" ${stream} "${${stream}}")
  endif()
  if(NOT "${${stream}}" STREQUAL "${expected}")
    message("std${stream} differs.\n--- expected:\n${expected}--- got:\n${${stream}}---")
    set(failed TRUE)
  endif()
endforeach()
if(NOT "${status}" STREQUAL "${STATUS}")
  message("exit status ${status}, expected ${STATUS}")
  set(failed TRUE)
endif()
if(failed)
  message(FATAL_ERROR "${PROGRAM} ${ARGS}: unexpected result")
endif()
