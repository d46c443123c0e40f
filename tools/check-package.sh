#!/usr/bin/env bash
# Builds the Debian package from a configured build folder and checks it as a
# user's machine would meet it: the files it installs, its computed
# dependencies, both validators on the installed desktop entry and metainfo,
# and that the packaged program starts (offscreen) and keeps running.
#   tools/check-package.sh [build-dir]      default build/
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

rm -f "$build_dir"/trelvano_*.deb
(cd "$build_dir" && cpack -G DEB)
deb=$(ls "$build_dir"/trelvano_*.deb)

fail() { echo "check-package: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb")
expected=(
  ./usr/bin/trelvano
  ./usr/share/applications/trelvano.desktop
  ./usr/share/metainfo/io.github.trelvano.trelvano.metainfo.xml
  ./usr/share/icons/hicolor/scalable/apps/trelvano.svg
  ./usr/share/man/man1/trelvano.1.gz
  ./usr/share/doc/trelvano/copyright
  ./usr/share/doc/trelvano/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/trelvano.png")
done
for path in "${expected[@]}"; do
  grep -q " $path\$" <<<"$contents" || fail "$deb lacks $path"
done

# dpkg-shlibdeps, not a hand-kept list, must have named the libraries the binary links.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libfftw3-double3; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

# Debian's own checker: an error fails the check, a warning is shown.
lintian --fail-on error "$deb" \
  || fail "lintian reports an error for $(basename "$deb")"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
# Hints count too: a remark of any level fails the check.
remarks=$(desktop-file-validate "$root/usr/share/applications/trelvano.desktop" 2>&1) || true
[ -z "$remarks" ] || fail "desktop-file-validate: $remarks"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.trelvano.trelvano.metainfo.xml"
for size in 16 256; do
  file "$root/usr/share/icons/hicolor/${size}x${size}/apps/trelvano.png" | grep -q "PNG image data, $size x $size" \
    || fail "the ${size}x${size} icon is not a $size px PNG"
done

# A program that starts stays up until killed (timeout's 124); a missing
# library or a crash at start ends it sooner with another status.
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/trelvano" || status=$?
[ "$status" = 124 ] || fail "the packaged trelvano ended with status $status instead of running"
echo "check-package: $(basename "$deb") holds the program, entry, icons and metainfo; it starts."
