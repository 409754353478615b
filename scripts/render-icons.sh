#!/bin/bash
# Renders the application icon's PNG sizes from its SVG (librsvg2-bin). The PNGs are
# kept in the repository, so building needs no SVG renderer; run this after
# changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" io.github.glyphwell.Glyphwell.svg -o "glyphwell-$size.png"
done
