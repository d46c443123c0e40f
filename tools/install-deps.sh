#!/usr/bin/env bash
# Installs, with apt, whatever the chosen step needs and the machine lacks; does
# nothing when all is there. Called by run.sh, test.sh and .ci/run so that they
# stay in step.
#   tools/install-deps.sh build   to build and start the program   (run.sh)
#   tools/install-deps.sh test    the above, plus the test and benchmark libraries (test.sh)
#   tools/install-deps.sh windows the Windows cross-build and its tests under Wine (tools/windows/)
#   tools/install-deps.sh web     the WebAssembly build, its tests under node and the page in chromium (tools/web/)
#   tools/install-deps.sh ci      the above, plus the package and portability checks (.ci/run)
set -euo pipefail

step=${1:-test}
packages=(cmake make pkg-config)
if [ "$step" != web ]; then
  # The WebAssembly build has its own compiler and FFTW, and no Qt yet.
  packages+=(
    g++ qt6-base-dev libfftw3-dev libsleef-dev
    # The windows fall back to DejaVu Sans Condensed, whose widths keep the captions in their boxes.
    fonts-dejavu-core fonts-dejavu-extra
  )
fi
if [ "$step" = test ] || [ "$step" = ci ]; then
  packages+=(libgtest-dev libbenchmark-dev)
fi
if [ "$step" = windows ] || [ "$step" = ci ]; then
  # MinGW-w64 (posix threads) and Wine to build and run for Windows; NSIS for
  # the installer; dpkg-dev unpacks Debian's source packages; the host's Qt
  # tools (moc, rcc, uic) serve the cross-build; googletest ships its source;
  # Xvfb, xdotool and ImageMagick drive and picture the smoke run.
  packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 nsis dpkg-dev
             qt6-base-dev qt6-base-dev-tools ninja-build googletest xvfb xdotool imagemagick xz-utils unzip)
fi
if [ "$step" = web ] || [ "$step" = ci ]; then
  # Debian's emscripten, which brings its own clang, lld, binaryen and the
  # acorn its optimizer loads; node runs the tests; dpkg-dev unpacks FFTW's
  # source package; googletest ships its source for the tests; chromium and
  # firefox-esr show the page to its tests, driven by puppeteer-core, and
  # WebKitGTK's MiniBrowser (webkit2gtk-driver) under Xvfb, driven by
  # selenium-webdriver, both of which npm installs; locales holds the sources
  # from which the tests compile an Italian locale for WebKit.
  # The page's tests compare it with the same calls made natively, so the
  # native compiler and libraries too, without Qt.
  packages+=(emscripten nodejs node-acorn dpkg-dev googletest xz-utils chromium g++ libfftw3-dev libsleef-dev)
  packages+=(firefox-esr webkit2gtk-driver xvfb xauth locales)
  # A node from elsewhere brings its own npm, which Debian's would fight.
  command -v npm >/dev/null 2>&1 || packages+=(npm)
  # The page's packing: its font, cut down by fontTools and compressed to WOFF2.
  packages+=(python3 python3-fonttools woff2 fonts-dejavu-core)
fi
if [ "$step" = ci ]; then
  # cpack's DEB generator computes the dependencies with dpkg-shlibdeps (dpkg-dev);
  # the validators check the installed desktop entry and metainfo; clang-format
  # keeps the one style.
  packages+=(dpkg-dev file desktop-file-utils appstream lintian clang-format)
  # clang's libFuzzer and its sanitizer runtimes for the fuzz targets.
  packages+=(clang libclang-rt-dev)
  # libc++ and GoogleTest's source for the build against LLVM's standard library.
  packages+=(libc++-dev libc++abi-dev googletest)
fi

if ! command -v dpkg-query >/dev/null 2>&1; then
  cat >&2 <<MSG
This machine has no dpkg/apt, so nothing is installed automatically. Install,
with your own package manager, the equivalents of these Debian packages:
  ${packages[*]}
that is: a C++20 compiler (GCC 11+ or Clang 14+), CMake 3.25+, pkg-config (or FFTW's CMake package),
Qt 6.3+ (Widgets; Test for the tests), FFTW 3 with its headers, and for the
tests GoogleTest and Google Benchmark.
MSG
  for tool in cmake c++; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "Missing: $tool. Install it and run this again." >&2
      exit 1
    fi
  done
  echo "Going on; CMake will name any library it cannot find." >&2
  exit 0
fi

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
((${#missing[@]})) || exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them as root: apt-get install ${missing[*]}" >&2
  exit 1
fi
if ! command -v apt-get >/dev/null 2>&1; then
  echo "Missing packages: ${missing[*]}; install them with your package manager." >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
