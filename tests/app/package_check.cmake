# Builds the Debian package into a scratch folder and checks it as Debian would: the documents
# a package must carry, and lintian without errors. Prints SKIPPED without dpkg-deb or lintian.
# cmake -DBUILD_DIR=... -DSCRATCH=... -P package_check.cmake
cmake_minimum_required(VERSION 3.25)
find_program(DPKG_DEB dpkg-deb)
find_program(LINTIAN lintian)
if(NOT DPKG_DEB OR NOT LINTIAN)
  message("SKIPPED: dpkg-deb or lintian is not installed")
  return()
endif()

file(REMOVE_RECURSE "${SCRATCH}")
execute_process(COMMAND "${CMAKE_CPACK_COMMAND}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake"
  -B "${SCRATCH}" RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB package "${SCRATCH}/kestrovane_*.deb")
if(NOT result EQUAL 0 OR NOT package)
  message(FATAL_ERROR "cpack failed: ${result}\n${out}")
endif()

execute_process(COMMAND "${DPKG_DEB}" --contents "${package}" OUTPUT_VARIABLE contents)
foreach(path usr/share/doc/kestrovane/copyright usr/share/doc/kestrovane/changelog.gz
    usr/share/man/man1/kestrovane.1.gz usr/share/man/man1/kestrovane-demo-device.1.gz)
  if(NOT contents MATCHES "\\./${path}\n")
    message(FATAL_ERROR "the package lacks ${path}:\n${contents}")
  endif()
endforeach()

execute_process(COMMAND "${LINTIAN}" --fail-on error "${package}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lintian found errors (${result}):\n${out}${err}")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
