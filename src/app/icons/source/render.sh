#!/usr/bin/env bash
# Renders the picture-button icons from these drawings (needs imagemagick with SVG support).
set -euo pipefail
cd "$(dirname "$0")"
for f in *.svg; do
    convert -background none -density 192 "$f" -resize 48x48 -depth 8 -strip "PNG32:../$(basename "$f" .svg).png"
done
