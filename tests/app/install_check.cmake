# Installs the build into a fresh prefix and checks that exactly the program's files land there,
# and that the AppStream data passes appstreamcli (when it is installed).
# cmake -DBUILD_DIR=... -DPREFIX=... -P install_check.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
  bin/kestrovane
  bin/kestrovane-demo-device
  share/applications/kestrovane.desktop
  share/doc/kestrovane/README.md
  share/doc/kestrovane/changelog.gz
  share/doc/kestrovane/copyright
  share/icons/hicolor/64x64/apps/kestrovane.png
  share/icons/hicolor/scalable/apps/kestrovane.svg
  share/man/man1/kestrovane-demo-device.1.gz
  share/man/man1/kestrovane.1.gz
  share/metainfo/org.kestrovane.Kestrovane.metainfo.xml
)
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed:\n  ${installed}\nexpected:\n  ${expected}")
endif()

file(STRINGS "${PREFIX}/share/applications/kestrovane.desktop" entry)
foreach(line "Exec=kestrovane" "Icon=kestrovane")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "the launcher entry lacks ${line}")
  endif()
endforeach()

# The installed program runs: a bad --zoom is refused before any window is needed.
execute_process(COMMAND "${PREFIX}/bin/kestrovane" --zoom none
  RESULT_VARIABLE result ERROR_VARIABLE error)
if(NOT result EQUAL 2 OR NOT error MATCHES "--zoom takes a factor")
  message(FATAL_ERROR "installed kestrovane --zoom none gave ${result}: ${error}")
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net
    "${PREFIX}/share/metainfo/org.kestrovane.Kestrovane.metainfo.xml"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate failed:\n${out}")
  endif()
endif()
file(REMOVE_RECURSE "${PREFIX}")
