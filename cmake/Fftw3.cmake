# FFTW3 (double precision) as the target trelvano::fftw3.
#
# FFTW's own CMake package is tried first, as installed by FFTW's CMake build,
# vcpkg or MSYS2; Debian and most Linux distributions ship only the pkg-config
# file, which is the fallback. Should a distribution ship a broken FFTW3Config,
# -DCMAKE_DISABLE_FIND_PACKAGE_FFTW3=ON goes straight to pkg-config.
find_package(FFTW3 CONFIG QUIET)
add_library(trelvano_fftw3 INTERFACE)
if(TARGET FFTW3::fftw3)
  target_link_libraries(trelvano_fftw3 INTERFACE FFTW3::fftw3)
  message(STATUS "FFTW3 found by its CMake package in ${FFTW3_DIR}")
else()
  find_package(PkgConfig)
  if(NOT PKG_CONFIG_FOUND)
    message(FATAL_ERROR "FFTW3 not found: neither its CMake package nor pkg-config is available. "
      "Install FFTW3 (Debian/Ubuntu: libfftw3-dev and pkg-config) or set FFTW3_DIR.")
  endif()
  pkg_check_modules(TRELVANO_FFTW3_PC REQUIRED IMPORTED_TARGET fftw3)
  target_link_libraries(trelvano_fftw3 INTERFACE PkgConfig::TRELVANO_FFTW3_PC)
endif()
add_library(trelvano::fftw3 ALIAS trelvano_fftw3)
