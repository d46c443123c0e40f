# `cpack -G DEB` in the build folder makes a Debian package of what
# `cmake --install` installs: the program, its desktop entry, icons and metainfo.
set(CPACK_PACKAGE_NAME trelvano)
set(CPACK_PACKAGE_VENDOR "Trelvano")
set(CPACK_PACKAGE_CONTACT "Trelvano maintainers <trelvano@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching tool for AM, FM and PM modulation")
set(CPACK_PACKAGE_DESCRIPTION
  "Trelvano shows a sine carrier modulated by a single tone in amplitude,
frequency or phase: the modulated waveform over a short time window and its
one-sided amplitude spectrum, with the time and voltage, or frequency and
level, read off under the mouse. The interface is in Italian.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsPackaging.cmake)
  include(CPack)
  return()
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# Run-time dependencies come from dpkg-shlibdeps (package dpkg-dev), never a
# hand-kept list that drifts from what the binary really links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without these the windows fall back to a font whose widths overflow the captions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-dejavu-extra")

include(CPack)
