# Images of the join and nickname windows, sourced by scripts/make-images with $skin set.
#
# In resources/skin/, by the names the windows use:
# unknown.png, signal-weak.png,      16 x 16 signal bars (three rising bars): all grey while the
# signal-normal.png, signal-good.png network is not known, then one red, two amber or three green
#                                    bars over grey ones.
# profile picture-light.png          the default avatars, 160 x 160: a head and shoulders in white
# profile picture-light1.png         on a grey-blue (light) or the theme's blue (light1) square.
#
# In resources/skin/join/:
# min_*.png, close_*.png, back_*.png the title bar's 16 x 16 buttons (a dash, a cross, a chevron
#                                    left): normal grey, hot dark, pushed on a grey tint (close:
#                                    white on red).
# settings_*.png                     the title bar's 16 x 16 gear of the audio/video settings.
# avatar_ring.png                    80 x 80: white outside a circle with a grey edge, clear inside,
#                                    laid over the avatar so that it shows round.
join="$skin/join"
mkdir -p "$join"

join_png() { echo -define png:exclude-chunks=date,time "PNG32:$1"; }

# Three bars of 4 pixels with 2 between them, 6, 10 and 14 high, standing on the bottom edge;
# the first `lit` of them in `colour`, the rest grey.
join_signal() {
  local lit=$1 colour=$2 file=$3 draw=() i x height fill
  for i in 0 1 2; do
    x=$((1 + i * 5)); height=$((6 + i * 4)); fill='#C8C8C8'
    [ "$i" -lt "$lit" ] && fill=$colour
    draw+=(-fill "$fill" -draw "roundrectangle $x,$((15 - height)) $((x + 3)),15 1,1")
  done
  # shellcheck disable=SC2046
  convert -size 16x16 xc:none "${draw[@]}" $(join_png "$skin/$file")
}
join_signal 0 '#C8C8C8' unknown.png
join_signal 1 '#E81123' signal-weak.png
join_signal 2 '#F5A623' signal-normal.png
join_signal 3 '#2DB55D' signal-good.png

# Head and shoulders, drawn at 640 x 640 and scaled down so that the edges are smooth.
join_avatar() {
  local background=$1 file=$2
  # The name has a blank: no word splitting of the output argument here.
  convert -size 640x640 "xc:$background" -fill 'rgba(255,255,255,0.92)' \
    -draw 'circle 320,250 320,130' -draw 'ellipse 320,600 210,170 180,360' \
    -resize 160x160 -define png:exclude-chunks=date,time "PNG32:$skin/$file"
}
join_avatar '#9AA9BC' 'profile picture-light.png'
join_avatar '#2A7FE6' 'profile picture-light1.png'

# Drawn at four times the size and scaled down, so that the edges are smooth.
join_glyph() {
  local colour=$1 background=$2 file=$3; shift 3
  # shellcheck disable=SC2046
  convert -size 64x64 xc:none -fill none -stroke "$colour" -strokewidth 7 "$@" \
    \( -size 64x64 "xc:$background" \) +swap -compose over -composite \
    -resize 16x16 $(join_png "$join/$file")
}
# A ring with eight teeth.
gear=(-draw 'circle 32,32 32,17')
for angle in 0 45 90 135 180 225 270 315; do
  gear+=(-draw "translate 32,32 rotate $angle line 0,-20 0,-28")
done
for state in normal:'#808080':none hot:'#333333':none pushed:'#333333':'#E0E0E0'; do
  IFS=: read -r name colour background <<<"$state"
  join_glyph "$colour" "$background" "back_$name.png" -draw 'polyline 40,14 22,32 40,50'
  join_glyph "$colour" "$background" "min_$name.png" -draw 'line 16,34 48,34'
  join_glyph "$colour" "$background" "settings_$name.png" -strokewidth 8 "${gear[@]}"
done
join_glyph '#808080' none close_normal.png -draw 'line 18,18 46,46' -draw 'line 46,18 18,46'
join_glyph '#FFFFFF' '#E81123' close_hot.png -draw 'line 18,18 46,46' -draw 'line 46,18 18,46'
join_glyph '#FFFFFF' '#B50E1C' close_pushed.png -draw 'line 18,18 46,46' -draw 'line 46,18 18,46'

# White with a round hole (a grey rim around it), at four times the size.
# shellcheck disable=SC2046
convert -size 320x320 xc:white -fill black -draw 'circle 160,160 160,4' \
  -alpha copy -fill none -stroke '#D9D9D9' -strokewidth 6 \
  -draw 'circle 160,160 160,6' -resize 80x80 $(join_png "$join/avatar_ring.png")
