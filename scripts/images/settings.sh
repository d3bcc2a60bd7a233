# Images of the audio/video settings and profile windows (resources/skin/settings/), sourced by
# scripts/make-images with $skin set.
#
# back_*.png, min_*.png, close_*.png  the title bar's buttons (16 x 16): a chevron left, a dash,
#                                     a cross; normal grey, hot dark, pushed on a grey tint
#                                     (close: white on red).
# check_*.png                         the 16 x 16 check box: an empty rounded square (normal,
#                                     hot with a blue edge, disabled pale) and the theme's blue
#                                     one with a white tick.
# tab_selected.png                    8 x 40, the blue 2-pixel bar under the chosen tab (its
#                                     width stretches).
# combo_arrow.png                     the 10 x 6 chevron down at the right of the device lists.
# camera.png                          the 40 x 40 camera mark on the dark preview area.
# avatar_ring.png                     96 x 96: white outside a circle with a grey edge, clear
#                                     inside, laid over the avatar so that it shows round.
settings="$skin/settings"
mkdir -p "$settings"

settings_png() { echo -define png:exclude-chunks=date,time "PNG32:$settings/$1"; }

# Drawn at four times the size and scaled down, so that the edges are smooth.
settings_glyph() {
  local colour=$1 background=$2 file=$3; shift 3
  # shellcheck disable=SC2046
  convert -size 64x64 xc:none -fill none -stroke "$colour" -strokewidth 7 "$@" \
    \( -size 64x64 "xc:$background" \) +swap -compose over -composite \
    -resize 16x16 $(settings_png "$file")
}
for state in normal:'#808080':none hot:'#333333':none pushed:'#333333':'#E0E0E0'; do
  IFS=: read -r name colour background <<<"$state"
  settings_glyph "$colour" "$background" "back_$name.png" -draw 'polyline 40,14 22,32 40,50'
  settings_glyph "$colour" "$background" "min_$name.png" -draw 'line 16,34 48,34'
done
settings_glyph '#808080' none close_normal.png -draw 'line 18,18 46,46' -draw 'line 46,18 18,46'
settings_glyph '#FFFFFF' '#E81123' close_hot.png -draw 'line 18,18 46,46' -draw 'line 46,18 18,46'
settings_glyph '#FFFFFF' '#B50E1C' close_pushed.png -draw 'line 18,18 46,46' -draw 'line 46,18 18,46'

settings_check() {
  local edge=$1 fill=$2 file=$3; shift 3
  convert -size 64x64 xc:none -fill "$fill" -stroke "$edge" -strokewidth 4 \
    -draw 'roundrectangle 4,4 59,59 10,10' "$@" -resize 16x16 $(settings_png "$file")
}
settings_check '#A0A0A0' white check_normal.png
settings_check '#2A7FE6' white check_hot.png
settings_check '#D9D9D9' '#F5F6F7' check_disabled.png
settings_check '#2A7FE6' '#2A7FE6' check_selected.png \
  -fill none -stroke white -strokewidth 8 -draw 'polyline 15,33 27,45 49,20'
settings_check '#A1C6F2' '#A1C6F2' check_selected_disabled.png \
  -fill none -stroke white -strokewidth 8 -draw 'polyline 15,33 27,45 49,20'

convert -size 8x40 xc:none -fill '#2A7FE6' -draw 'rectangle 0,38 7,39' $(settings_png tab_selected.png)

convert -size 40x24 xc:none -fill none -stroke '#808080' -strokewidth 4 \
  -draw 'polyline 4,4 20,20 36,4' -resize 10x6 $(settings_png combo_arrow.png)

convert -size 160x160 xc:none -fill '#8A8F99' -stroke none \
  -draw 'roundrectangle 10,44 112,116 12,12' -draw 'polygon 116,70 150,48 150,112 116,90' \
  -resize 40x40 $(settings_png camera.png)

convert -size 384x384 xc:white -fill black -draw 'circle 192,192 192,4' \
  -alpha copy -fill white -colorize 100 \
  -fill none -stroke '#D9D9D9' -strokewidth 6 -draw 'circle 192,192 192,6' \
  -resize 96x96 $(settings_png avatar_ring.png)
