#!/usr/bin/env bash
# Installs, with apt, whatever the build and the tests need and the machine lacks.
# Sourced by run.sh and test.sh so that both stay in step.
set -euo pipefail

TRELVANO_PACKAGES=(
  g++ cmake make pkg-config
  qt6-base-dev libfftw3-dev libsleef-dev
  libgtest-dev libbenchmark-dev
  # The windows fall back to DejaVu Sans Condensed, whose widths keep the captions in their boxes.
  fonts-dejavu-core fonts-dejavu-extra
)

missing=()
for pkg in "${TRELVANO_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
