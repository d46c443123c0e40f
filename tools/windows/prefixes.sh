# shellcheck shell=bash disable=SC2034
# Sourced by build.sh, test.sh and bench.sh: the library prefixes
# tools/windows/deps.sh builds or finds in the cache, and the folders the
# program's DLLs come from: those prefixes and the MinGW runtime, the
# posix-threads flavour's own.
QT_PREFIX='' FFTW_PREFIX='' SLEEF_PREFIX=''
while IFS='=' read -r key value; do
  case $key in
    QT_PREFIX | FFTW_PREFIX | SLEEF_PREFIX) printf -v "$key" '%s' "$value" ;;
  esac
done < <(bash tools/windows/deps.sh)
if [ -z "$QT_PREFIX" ] || [ -z "$FFTW_PREFIX" ] || [ -z "$SLEEF_PREFIX" ]; then
  echo "windows: deps.sh named no Qt, FFTW or SLEEF prefix" >&2
  exit 1
fi
LIBRARY_PREFIXES=("$QT_PREFIX" "$FFTW_PREFIX" "$SLEEF_PREFIX")
MINGW_DLL_DIRS=("$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
                /usr/x86_64-w64-mingw32/lib)
WINDOWS_DLL_DIRS=("${LIBRARY_PREFIXES[@]/%//bin}" "${MINGW_DLL_DIRS[@]}")
