# Images of the in-meeting window (resources/skin/live/), sourced by scripts/make-images with
# $skin set. Light glyphs for a dark window, each drawn at four times its size on a 96 x 96
# (tool bar, 24 x 24) or 64 x 64 (frame buttons and marks, 16 x 16) canvas and scaled down.
#
# min, max, restore, close.png           the title bar's frame buttons (16 x 16).
# strip_show, strip_hide.png             chevrons right and left: the tile strip out and in.
# mic, camera, share, chat, users,       the tool bar's toggles (24 x 24); *_off in red with a
# self, settings.png                     slash (muted), *_on in blue (panel open),
#                                        share_disabled in the disabled grey, share_on in blue
#                                        (sharing).
# mark_mic, mark_mic_off, mark_speech,   the big-view participant's marks (16 x 16): microphone,
# host.png                               muted microphone, speaking waves, the host's star.
# default.png, no_signal_bk.png          96 x 96, centred in the big view when nothing is shown:
#                                        a person (microphone and camera off), a camera with a
#                                        slash (camera off).
live="$skin/live"
mkdir -p "$live"

light='#D6D8DC'
red='#F0394A'
blue='#4C95EE'
grey='#6E7279'

live_png() { echo -define png:exclude-chunks=date,time "PNG32:$live/$1"; }

# live_glyph <size> <colour> <file> <draw...>: strokes and fills in one colour on a canvas of
# four times the size.
live_glyph() {
  local size=$1 colour=$2 file=$3; shift 3
  local big=$((size * 4))
  # shellcheck disable=SC2046
  convert -size "${big}x${big}" xc:none -stroke "$colour" -fill none -strokewidth $((big / 16)) \
    "$@" -resize "${size}x${size}" $(live_png "$file")
}

# The frame buttons.
live_glyph 16 "$light" min.png -draw 'line 16,34 48,34'
live_glyph 16 "$light" max.png -draw 'rectangle 16,16 48,48'
live_glyph 16 "$light" restore.png -draw 'rectangle 14,22 42,50' -draw 'polyline 22,22 22,14 50,14 50,42 42,42'
live_glyph 16 "$light" close.png -draw 'line 16,16 48,48' -draw 'line 48,16 16,48'
live_glyph 16 "$light" strip_show.png -draw 'polyline 24,14 42,32 24,50'
live_glyph 16 "$light" strip_hide.png -draw 'polyline 40,14 22,32 40,50'

# Tool-bar glyphs on a 96-pixel canvas.
mic=(-draw 'roundrectangle 36,10 60,58 12,12' -draw 'arc 24,30 72,74 0,180' -draw 'line 48,74 48,86' -draw 'line 34,86 62,86')
camera=(-draw 'roundrectangle 8,26 64,70 8,8' -draw 'polygon 66,42 88,28 88,68 66,54')
share=(-draw 'roundrectangle 8,14 88,70 6,6' -draw 'line 32,84 64,84' -draw 'line 48,70 48,84' -draw 'line 48,56 48,28' -draw 'polyline 36,40 48,28 60,40')
chat=(-draw 'roundrectangle 8,14 88,66 10,10' -draw 'polyline 26,66 22,84 44,66')
users=(-draw 'circle 36,32 36,18' -draw 'arc 12,52 60,100 180,360' -draw 'arc 50,16 78,44 270,90' -draw 'arc 56,52 88,100 230,360')
self=(-draw 'roundrectangle 8,14 88,82 8,8' -draw 'circle 48,40 48,28' -draw 'arc 26,58 70,96 200,340')
settings=(-draw 'circle 48,48 48,34' -draw 'circle 48,48 48,42' -draw 'line 48,6 48,18' -draw 'line 48,78 48,90' -draw 'line 6,48 18,48' -draw 'line 78,48 90,48' -draw 'line 18,18 27,27' -draw 'line 69,69 78,78' -draw 'line 78,18 69,27' -draw 'line 27,69 18,78')
slash=(-draw 'line 14,12 84,86')

live_glyph 24 "$light" mic.png "${mic[@]}"
live_glyph 24 "$red" mic_off.png "${mic[@]}" "${slash[@]}"
live_glyph 24 "$light" camera.png "${camera[@]}"
live_glyph 24 "$red" camera_off.png "${camera[@]}" "${slash[@]}"
live_glyph 24 "$light" share.png "${share[@]}"
live_glyph 24 "$grey" share_disabled.png "${share[@]}"
live_glyph 24 "$blue" share_on.png "${share[@]}"
live_glyph 24 "$light" chat.png "${chat[@]}"
live_glyph 24 "$blue" chat_on.png "${chat[@]}"
live_glyph 24 "$light" users.png "${users[@]}"
live_glyph 24 "$blue" users_on.png "${users[@]}"
live_glyph 24 "$light" self.png "${self[@]}"
live_glyph 24 "$light" settings.png "${settings[@]}"

# The marks (64-pixel canvas).
mark_mic=(-draw 'roundrectangle 24,6 40,38 8,8' -draw 'arc 16,20 48,50 0,180' -draw 'line 32,50 32,58')
live_glyph 16 "$light" mark_mic.png "${mark_mic[@]}"
live_glyph 16 "$red" mark_mic_off.png "${mark_mic[@]}" -draw 'line 10,8 54,58'
live_glyph 16 '#3DBE6B' mark_speech.png -draw 'polygon 8,24 18,24 30,12 30,52 18,40 8,40' \
  -draw 'arc 24,20 44,44 300,60' -draw 'arc 20,10 56,54 300,60'
convert -size 64x64 xc:none -fill '#F5B400' -stroke none \
  -draw 'polygon 32,4 40,24 62,24 44,38 51,60 32,46 13,60 20,38 2,24 24,24' \
  -resize 16x16 $(live_png host.png)

# The big view's pictures when there is no video.
convert -size 384x384 xc:none -fill '#4A4D53' -stroke none \
  -draw 'circle 192,140 192,72' -draw 'ellipse 192,384 130,120 180,360' \
  -resize 96x96 $(live_png default.png)
live_glyph 96 "$grey" no_signal_bk.png -draw 'roundrectangle 32,104 256,280 32,32' \
  -draw 'polygon 264,168 352,112 352,272 264,216' -draw 'line 56,48 328,336'
