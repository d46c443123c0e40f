# shellcheck shell=bash disable=SC2154  # `cache` is the caller's
# Sourced by the scripts that build a library from Debian's source package for
# another target. The caller sets `cache`, the folder outside the clone that
# holds the sources and the built prefixes.
#   prepare_apt LISTS SUITE          a source list of our own for SUITE in LISTS (read once a day)
#   release_suite                    the machine's own release
#   source_versions LISTS PACKAGE    the versions it offers, newest first
#   fetch_source PACKAGE VER LISTS   the folder holding its unpacked source
#   key WORDS...                     a short hash naming a prefix by its configure line

# Debian's own sources, through lists of our own, so the machine's apt
# configuration is neither needed nor touched.
apt_in() { # list folder, apt tool, its arguments
  local lists=$1 tool=$2
  shift 2
  "$tool" -o APT::Sandbox::User=root -o "Dir::Etc::sourcelist=$lists/sources.list" -o Dir::Etc::sourceparts=/dev/null \
    -o "Dir::State::Lists=$lists/lists" -o "Dir::Cache=$lists/cache" "$@"
}
source_versions() { # list folder, package -> the versions it offers, newest first
  apt_in "$1" apt-cache showsrc "$2" 2>/dev/null | sed -n 's/^Version: //p' | sort -Vr
}
prepare_apt() { # list folder, suite
  local lists=$1
  mkdir -p "$lists/lists/partial" "$lists/cache/archives/partial"
  echo "deb-src http://deb.debian.org/debian $2 main" >"$lists/sources.list"
  # The index is read afresh once a day: a new version is noticed by the
  # next day's build, and a warm cache builds without the network meanwhile.
  if ! find "$lists/lists" -name '*Sources*' -mtime -1 2>/dev/null | grep -q .; then
    apt_in "$lists" apt-get update -qq
  fi
}
tarball() { # folder, orig|debian -> that tarball of a source package, if there
  find "$1" -maxdepth 1 -name "*.$2.tar.*" ! -name '*.asc' | grep -m1 .
}
unpack_source() { # folder package version list-folder -> the source unpacked in the folder
  local tmp=$1 log="$cache/fetch-$2.log" unpacked orig debian patch
  # apt checks every file it fetches against the signed index. The mirror
  # may have lost a package's .dsc while keeping its tarballs (sleef in
  # unstable, for one): then the tarballs are unpacked here and Debian's
  # patches applied, as dpkg-source would have done.
  (cd "$tmp" && apt_in "$4" apt-get source --download-only -qq "$2=$3") >"$log" 2>&1 || true
  if compgen -G "$tmp/*.dsc" >/dev/null; then
    (cd "$tmp" && dpkg-source -x ./*.dsc) >>"$log" 2>&1 || return 1
    unpacked=$(find "$tmp" -mindepth 1 -maxdepth 1 -type d | head -n1)
  elif orig=$(tarball "$tmp" orig) && debian=$(tarball "$tmp" debian); then
    mkdir "$tmp/unpacked" && tar -xf "$orig" -C "$tmp/unpacked" || return 1
    unpacked=$(find "$tmp/unpacked" -mindepth 1 -maxdepth 1 -type d | head -n1)
    [ -n "$unpacked" ] && tar -xf "$debian" -C "$unpacked" || return 1
    if [ -f "$unpacked/debian/patches/series" ]; then
      while read -r patch _; do
        case $patch in '' | '#'*) continue ;; esac
        patch -d "$unpacked" -p1 -N <"$unpacked/debian/patches/$patch" >>"$log" 2>&1 || return 1
      done <"$unpacked/debian/patches/series"
    fi
  fi
  [ -n "${unpacked:-}" ] && echo "$unpacked"
}
fetch_source() { # package version list-folder -> directory holding its unpacked source
  local dir="$cache/src/$1-$2" tmp="$cache/src/$1-$2.tmp" unpacked
  if [ ! -d "$dir" ]; then
    rm -rf "$tmp" && mkdir -p "$tmp"
    if ! unpacked=$(unpack_source "$tmp" "$@") || ! mv "$unpacked" "$dir"; then
      rm -rf "$tmp"
      return 1
    fi
    rm -rf "$tmp"
  fi
  echo "$dir"
}
release_suite() { (. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}"); }
key() { echo "$*" | sha256sum | cut -c1-12; }
