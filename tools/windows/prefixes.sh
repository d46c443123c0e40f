# Sourced by build.sh and test.sh: the library prefixes tools/windows/deps.sh
# builds or finds in the cache (SLEEF's empty when its source could not be
# had), and the folder of the MinGW runtime the program loads, the
# posix-threads flavour's own.
QT_PREFIX='' FFTW_PREFIX='' SLEEF_PREFIX=''
while IFS='=' read -r key value; do
  case $key in
    QT_PREFIX | FFTW_PREFIX | SLEEF_PREFIX) printf -v "$key" '%s' "$value" ;;
  esac
done < <(bash tools/windows/deps.sh)
[ -n "$QT_PREFIX" ] && [ -n "$FFTW_PREFIX" ] || { echo "windows: deps.sh named no Qt or FFTW prefix" >&2; exit 1; }
MINGW_RUNTIME_DIR=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
