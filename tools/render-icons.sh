#!/usr/bin/env bash
# Renders the hicolor PNG icons from packaging/icons/trelvano.svg. The PNGs are
# committed, so only whoever edits the SVG needs rsvg-convert (librsvg2-bin)
# and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" trelvano.svg --output "trelvano-$size.png"
done
# The Windows icon holds the same renderings (ImageMagick's convert).
convert trelvano-16.png trelvano-24.png trelvano-32.png trelvano-48.png trelvano-64.png \
  trelvano-128.png trelvano-256.png trelvano.ico
