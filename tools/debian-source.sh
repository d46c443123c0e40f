# Sourced by the scripts that build a library from Debian's source package for
# another target. The caller sets `cache`, the folder outside the clone that
# holds the sources and the built prefixes.
#   prepare_apt                 reads the source index (once a day)
#   source_version PACKAGE      the version apt would fetch
#   fetch_source PACKAGE VER    the folder holding its unpacked source
#   key WORDS...                a short hash naming a prefix by its configure line

# Debian's own sources, through a list of our own, so the machine's apt
# configuration is neither needed nor touched.
apt_dir="$cache/apt"
apt_opts=(-o APT::Sandbox::User=root -o "Dir::Etc::sourcelist=$apt_dir/sources.list" -o Dir::Etc::sourceparts=/dev/null
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
source_version() {
  apt-cache "${apt_opts[@]}" showsrc "$1" | sed -n 's/^Version: //p' | sort -V | tail -n1
}
prepare_apt() {
  [ -n "${apt_ready:-}" ] && return
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  echo "deb-src http://deb.debian.org/debian $codename main" >"$apt_dir/sources.list"
  # The index is read afresh once a day: a new version is noticed by the
  # next day's build, and a warm cache builds without the network meanwhile.
  if ! find "$apt_dir/lists" -name '*Sources*' -mtime -1 2>/dev/null | grep -q .; then
    apt-get "${apt_opts[@]}" update -qq
  fi
  apt_ready=1
}
fetch_source() {
  local package=$1 dir="$cache/src/$1-$2" unpacked
  if [ ! -d "$dir" ]; then
    rm -rf "$dir.tmp" && mkdir -p "$dir.tmp"
    # A fetch or unpacking that fails leaves nothing behind, so the next run tries afresh.
    if ! (cd "$dir.tmp" && apt-get "${apt_opts[@]}" source -qq "$package=$2" >"$cache/fetch-$package.log" 2>&1); then
      rm -rf "$dir.tmp"
      return 1
    fi
    unpacked=$(find "$dir.tmp" -mindepth 1 -maxdepth 1 -type d | head -n1)
    [ -n "$unpacked" ] || { rm -rf "$dir.tmp"; return 1; }
    mv "$unpacked" "$dir" && rm -rf "$dir.tmp"
  fi
  echo "$dir"
}
key() { echo "$*" | sha256sum | cut -c1-12; }
