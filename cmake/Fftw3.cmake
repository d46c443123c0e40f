# FFTW3 (double precision) as the target trelvano::fftw3.
#
# FFTW's own CMake package is tried first, as installed by FFTW's CMake build,
# vcpkg or MSYS2; Debian and most Linux distributions ship only the pkg-config
# file, which is the fallback. Should a distribution ship a broken FFTW3Config,
# -DCMAKE_DISABLE_FIND_PACKAGE_FFTW3=ON goes straight to pkg-config.
find_package(FFTW3 CONFIG QUIET)
add_library(trelvano_fftw3 INTERFACE)
if(TARGET FFTW3::fftw3)
  set(_trelvano_fftw_found FFTW3::fftw3)
  target_link_libraries(trelvano_fftw3 INTERFACE FFTW3::fftw3)
  message(STATUS "FFTW3 found by its CMake package in ${FFTW3_DIR}")
else()
  find_package(PkgConfig)
  if(NOT PKG_CONFIG_FOUND)
    message(FATAL_ERROR "FFTW3 not found: neither its CMake package nor pkg-config is available. "
      "Install FFTW3 (Debian/Ubuntu: libfftw3-dev and pkg-config) or set FFTW3_DIR.")
  endif()
  pkg_check_modules(TRELVANO_FFTW3_PC REQUIRED IMPORTED_TARGET fftw3)
  set(_trelvano_fftw_found PkgConfig::TRELVANO_FFTW3_PC)
  target_link_libraries(trelvano_fftw3 INTERFACE PkgConfig::TRELVANO_FFTW3_PC)
endif()
add_library(trelvano::fftw3 ALIAS trelvano_fftw3)

# FFTW's threads, so that one transform can use every core: a separate
# library where FFTW is built that way (Debian), or inside the main one where
# it is built with --with-combined-threads (the Windows DLL). Without them the
# transform runs on one thread (a browser build, say), unless
# TRELVANO_REQUIRE_FAST_PATHS asks for them.
option(TRELVANO_REQUIRE_FAST_PATHS "Fail unless FFTW's threads and SLEEF's vector cosines are found" OFF)
set(TRELVANO_FFTW3_THREADS OFF)
find_package(Threads)
find_library(TRELVANO_FFTW3_THREADS_LIBRARY NAMES fftw3_threads HINTS ${TRELVANO_FFTW3_PC_LIBRARY_DIRS})
include(CheckCXXSourceCompiles)
include(CMakePushCheckState)
cmake_push_check_state(RESET)
set(CMAKE_REQUIRED_LIBRARIES ${_trelvano_fftw_found} Threads::Threads)
if(TRELVANO_WEB_THREADS)
  # emscripten's libc has the pthread names either way; they work only under -pthread.
  set(CMAKE_REQUIRED_FLAGS -pthread)
  set(CMAKE_REQUIRED_LINK_OPTIONS -pthread)
endif()
if(TRELVANO_FFTW3_THREADS_LIBRARY)
  list(PREPEND CMAKE_REQUIRED_LIBRARIES ${TRELVANO_FFTW3_THREADS_LIBRARY})
endif()
check_cxx_source_compiles([[
#include <fftw3.h>
int main() { return fftw_init_threads() == 0; }
]] TRELVANO_FFTW3_HAS_THREADS)
cmake_pop_check_state()
if(TRELVANO_FFTW3_HAS_THREADS AND TARGET Threads::Threads)
  set(TRELVANO_FFTW3_THREADS ON)
  if(TRELVANO_FFTW3_THREADS_LIBRARY)
    target_link_libraries(trelvano_fftw3 INTERFACE ${TRELVANO_FFTW3_THREADS_LIBRARY})
  endif()
  target_link_libraries(trelvano_fftw3 INTERFACE Threads::Threads)
  target_compile_definitions(trelvano_fftw3 INTERFACE TRELVANO_FFTW_THREADS=1)
elseif(TRELVANO_REQUIRE_FAST_PATHS)
  message(FATAL_ERROR "FFTW's threads (fftw_init_threads) were not found, and TRELVANO_REQUIRE_FAST_PATHS is on.")
else()
  message(STATUS "FFTW's threads not found: the transform runs on one thread")
endif()
