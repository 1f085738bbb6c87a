#!/usr/bin/env bash
# Draws the program's icon at every size the shell asks for and writes
# resources/somv.ico. The drawing is on a 64-unit grid; each size is drawn
# from it at eight times that size and averaged down, rather than shrunk from
# the largest picture. 256 is stored PNG-compressed, the others as bitmaps.
# The result is committed; run this again only when the drawing changes:
#   resources/icon/make-icon.sh   (needs ImageMagick)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$(dirname "$here")/somv.ico}
sizes=(16 20 24 32 40 48 64 256)

drawing() {
  cat <<'MVG'
fill #1f4e79 roundrectangle 2,2 61,61 12,12
fill #cfe2f3 rectangle 16,10 38,24
fill #ffffff rectangle 8,24 46,44
fill #ffffff rectangle 14,44 40,56
fill #1f4e79 rectangle 18,48 36,50
fill #f2b632 circle 50,16 50,8
fill #1f4e79 circle 46,12 46,5
MVG
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
frames=()
for size in "${sizes[@]}"; do
  big=$((size * 8))
  scale=$(awk -v n="$big" 'BEGIN { printf "%.6f", n / 64 }')
  convert -size "${big}x${big}" xc:none \
    -draw "affine $scale,0,0,$scale,0,0 $(drawing | tr '\n' ' ')" \
    -filter Box -resize "${size}x${size}" \
    -define png:exclude-chunks=date,time,tIME +set date:create +set date:modify \
    "PNG32:$work/$size.png"
  frames+=("$work/$size.png")
done
convert "${frames[@]}" -define png:exclude-chunks=date,time,tIME "$out"
echo "wrote $out: ${sizes[*]}"
