# Runs a program the way a user asks it about itself: --help and --version answer on standard
# output with status 0, an unknown option gets the usage on standard error and status 2.
# Run with QT_QPA_PLATFORM naming no platform, so that a window started by mistake fails.
# cmake -DPROGRAM=... -DNAME=... [-DEXTRA=...] -P command_line_check.cmake
cmake_minimum_required(VERSION 3.25)

function(run expected_status)
  execute_process(COMMAND "${PROGRAM}" ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
    ERROR_VARIABLE err TIMEOUT 20)
  if(NOT status STREQUAL "${expected_status}")
    message(FATAL_ERROR "${PROGRAM} ${ARGN}: status ${status}, not ${expected_status}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect text pattern what)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "${what} lacks '${pattern}':\n${text}")
  endif()
endfunction()

run(0 ${EXTRA} --help)
expect("${out}" "--help" "--help")
expect("${out}" "--version" "--help")

run(0 ${EXTRA} --version)
expect("${out}" "^${NAME} [0-9]+\\.[0-9]+" "--version")

run(2 ${EXTRA} --no-such-option)
expect("${err}" "no-such-option" "an unknown option")
expect("${err}" "--version" "the usage after an unknown option")
if(NOT out STREQUAL "")
  message(FATAL_ERROR "an unknown option printed on standard output: ${out}")
endif()
