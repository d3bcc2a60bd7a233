# Images of the video tiles, their strip and the per-user menu (resources/skin/tiles/), sourced
# by scripts/make-images with $skin set. The network icons are the join window's (unknown.png,
# signal-*.png in the skin folder). Glyphs are drawn at 64 x 64 and scaled down, so that the
# edges are smooth.
#
# host.png, share.png          16 x 16 badges on the tile's dark bar: a gold crown (host), a
#                              blue screen with an arrow (screen share).
# No signal.png                48 x 48 grey camera with a slash, in the middle of a tile whose
#                              video is off.
# mic_on.png, mic_off.png      16 x 16 microphone marks of the tile: white, or red with a slash.
# speech.png                   16 x 16 green sound waves while the participant speaks.
# up_*.png, down_*.png         16 x 16 chevrons of the strip's scroll buttons: grey, hot white.
# menu_*.png                   16 x 16 menu icons in dark grey, *_disabled in pale grey: the
#                              big view (a frame with corners out), the microphone and the
#                              camera (with a slash when off) and the remove (a person leaving).
tiles="$skin/tiles"
mkdir -p "$tiles"

# tiles_glyph size file draw-arguments...: a 64 x 64 drawing scaled to size x size.
tiles_glyph() {
  local size=$1 file=$2; shift 2
  convert -size 64x64 xc:none "$@" -resize "${size}x${size}" \
    -define png:exclude-chunks=date,time "PNG32:$tiles/$file"
}

tiles_glyph 16 host.png -fill '#F5B823' -stroke none \
  -draw 'polygon 6,50 4,16 20,30 32,8 44,30 60,16 58,50' -draw 'roundrectangle 6,52 58,58 2,2'
tiles_glyph 16 share.png -fill '#2A7FE6' -stroke none -draw 'roundrectangle 2,8 62,48 6,6' \
  -draw 'rectangle 26,48 38,56' -draw 'roundrectangle 16,54 48,60 3,3' \
  -fill white -draw 'polygon 32,14 46,28 37,28 37,40 27,40 27,28 18,28'

# A microphone (capsule, cradle and stand) and a camera (body and lens wedge) in a colour, and a
# slash across, each as drawing arguments in the array named after it.
tiles_mic() {
  mic=(-fill "$1" -stroke none -draw 'roundrectangle 22,4 42,38 10,10'
       -fill none -stroke "$1" -strokewidth 5 -draw 'arc 12,16 52,48 0,180'
       -draw 'line 32,48 32,58' -draw 'line 20,59 44,59')
}
tiles_camera() {
  camera=(-fill "$1" -stroke none -draw 'roundrectangle 2,16 44,48 6,6'
          -draw 'polygon 46,28 62,18 62,46 46,36')
}
tiles_slash() { slash=(-fill none -stroke "$1" -strokewidth 6 -draw 'line 8,6 56,58'); }

tiles_mic white
tiles_glyph 16 mic_on.png "${mic[@]}"
tiles_mic '#E81123'; tiles_slash '#E81123'
tiles_glyph 16 mic_off.png "${mic[@]}" "${slash[@]}"
tiles_glyph 16 speech.png -fill none -stroke '#2DB55D' -strokewidth 6 \
  -draw 'line 12,24 12,40' -draw 'line 24,14 24,50' -draw 'line 36,6 36,58' -draw 'line 48,18 48,46'
tiles_camera '#9AA0AA'; tiles_slash '#9AA0AA'
tiles_glyph 48 'No signal.png' "${camera[@]}" "${slash[@]}"

for state in normal:'#A0A6B0' hot:'#FFFFFF'; do
  IFS=: read -r name colour <<<"$state"
  tiles_glyph 16 "up_$name.png" -fill none -stroke "$colour" -strokewidth 7 \
    -draw 'polyline 14,42 32,24 50,42'
  tiles_glyph 16 "down_$name.png" -fill none -stroke "$colour" -strokewidth 7 \
    -draw 'polyline 14,24 32,42 50,24'
done

for state in '':'#4A4F57' _disabled:'#C4C7CC'; do
  IFS=: read -r suffix colour <<<"$state"
  tiles_mic "$colour"; tiles_camera "$colour"; tiles_slash "$colour"
  tiles_glyph 16 "menu_big$suffix.png" -fill none -stroke "$colour" -strokewidth 6 \
    -draw 'polyline 6,22 6,6 22,6' -draw 'polyline 42,6 58,6 58,22' \
    -draw 'polyline 58,42 58,58 42,58' -draw 'polyline 22,58 6,58 6,42' \
    -draw 'roundrectangle 20,20 44,44 3,3'
  tiles_glyph 16 "menu_mic$suffix.png" "${mic[@]}"
  tiles_glyph 16 "menu_mic_off$suffix.png" "${mic[@]}" "${slash[@]}"
  tiles_glyph 16 "menu_camera$suffix.png" "${camera[@]}"
  tiles_glyph 16 "menu_camera_off$suffix.png" "${camera[@]}" "${slash[@]}"
  tiles_glyph 16 "menu_remove$suffix.png" -fill "$colour" -stroke none \
    -draw 'circle 24,16 24,4' -draw 'roundrectangle 4,32 44,60 14,14' \
    -fill none -stroke "$colour" -strokewidth 6 -draw 'polyline 44,36 56,46 44,56' \
    -draw 'line 36,46 58,46'
done
