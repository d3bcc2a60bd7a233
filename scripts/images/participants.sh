# Images of the participants panel (resources/skin/participants/), sourced by scripts/make-images
# with $skin set. The panel is dark (#25282D); marks are light so that they read on it.
#
# close_*.png                     the title's 16 x 16 close cross: grey, white when hot, white on
#                                 red when pushed.
# mic_*.png, camera_*.png         24 x 24 device marks of a row: on (light grey; hot white;
#                                 disabled dim), off (red with a slash; hot brighter; disabled
#                                 dim red).
# waiting.png                     24 x 24, in place of a device mark while an invitation waits:
#                                 a blue ring, open at the top right, with three dots inside.
# avatar_ring.png                 30 x 30: the panel's colour outside a circle, clear inside, laid
#                                 over the avatar so that it shows round.
# Group 28_list_ban.png           the remove button, 56 x 28: two 28 x 28 frames side by side, a
#                                 red circle with a bar (normal, then hot on a tinted disc).
# Group 28_self.png               28 x 28, the same mark dim grey: rows the user may not remove.
participants="$skin/participants"
mkdir -p "$participants"

participants_png() { echo -define png:exclude-chunks=date,time "PNG32:$participants/$1"; }

# Drawn on a 96 x 96 canvas (four times the size) and scaled down, so that edges are smooth.
# Arguments: stroke colour, background, file, drawing options.
participants_mark() {
  local colour=$1 background=$2 file=$3; shift 3
  # shellcheck disable=SC2046
  convert -size 96x96 "xc:$background" -fill none -stroke "$colour" -strokewidth 7 "$@" \
    -resize 24x24 $(participants_png "$file")
}

# The microphone: a capsule, its cradle and stand.
mic_draw=(-draw 'roundrectangle 36,14 60,58 12,12' -draw 'arc 24,34 72,70 0,180'
          -draw 'line 48,70 48,82' -draw 'line 36,82 60,82')
# The camera: a rounded body and the lens wedge.
camera_draw=(-draw 'roundrectangle 12,28 62,68 8,8' -draw 'polygon 66,42 86,30 86,66 66,54')
slash=(-stroke '#FF5A5F' -draw 'line 18,14 80,84')

for device in mic camera; do
  declare -n draw="${device}_draw"
  participants_mark '#C9CDD3' none "${device}_on.png" "${draw[@]}"
  participants_mark '#FFFFFF' none "${device}_on_hot.png" "${draw[@]}"
  participants_mark '#5D636B' none "${device}_on_disabled.png" "${draw[@]}"
  participants_mark '#FF5A5F' none "${device}_off.png" "${draw[@]}" "${slash[@]}"
  participants_mark '#FF8589' none "${device}_off_hot.png" "${draw[@]}" -stroke '#FF8589' \
    -draw 'line 18,14 80,84'
  participants_mark '#8A4447' none "${device}_off_disabled.png" "${draw[@]}" -stroke '#8A4447' \
    -draw 'line 18,14 80,84'
  unset -n draw
done

participants_mark '#4C95EE' none waiting.png -draw 'arc 10,10 86,86 -30,250' \
  -fill '#4C95EE' -stroke none -draw 'circle 32,48 32,54' -draw 'circle 48,48 48,54' \
  -draw 'circle 64,48 64,54'

for state in normal:'#9AA0A8':none hot:'#FFFFFF':none pushed:'#FFFFFF':'#E81123'; do
  IFS=: read -r name colour background <<<"$state"
  convert -size 64x64 "xc:$background" -fill none -stroke "$colour" -strokewidth 6 \
    -draw 'line 18,18 46,46' -draw 'line 46,18 18,46' -resize 16x16 \
    $(participants_png "close_$name.png")
done

convert -size 120x120 xc:'#25282D' \( -size 120x120 xc:none -fill black -draw 'circle 60,60 60,1' \) \
  -compose DstOut -composite -resize 30x30 $(participants_png avatar_ring.png)

# The remove mark on a 112 x 112 canvas, scaled to 28 x 28 into file: a circle with a
# horizontal bar over a disc.
participants_ban() {
  local colour=$1 disc=$2 file=$3
  convert -size 112x112 xc:none -fill "$disc" -stroke none -draw 'circle 56,56 56,4' \
    -fill none -stroke "$colour" -strokewidth 8 -draw 'circle 56,56 56,22' \
    -draw 'line 38,56 74,56' -resize 28x28 -define png:exclude-chunks=date,time "PNG32:$file"
}
participants_frames=$(mktemp -d)
participants_ban '#FF5A5F' none "$participants_frames/normal.png"
participants_ban '#FF8589' '#3A3F46' "$participants_frames/hot.png"
convert "$participants_frames/normal.png" "$participants_frames/hot.png" +append \
  -define png:exclude-chunks=date,time "PNG32:$participants/Group 28_list_ban.png"
rm -r "$participants_frames"
participants_ban '#4A4F57' none "$participants/Group 28_self.png"
