# Images of the notice and upgrade box (resources/skin/notice/), sourced by scripts/make-images
# with $skin set.
#
# warning.png, error.png, upgrade.png  the 32 x 32 type icons: a filled disc (amber, red, the
#                                      theme's blue) with a white mark: "!", a cross, an arrow up.
# close_*.png                          the title bar's close cross, normal, hot and pushed.
notice="$skin/notice"
mkdir -p "$notice"

# Drawn at four times the size and scaled down, so that the edges are smooth.
notice_icon() {
  local colour=$1 file=$2; shift 2
  convert -size 128x128 xc:none -fill "$colour" -draw 'circle 64,64 64,4' \
    -fill white -stroke none "$@" -resize 32x32 \
    -define png:exclude-chunks=date,time PNG32:"$notice/$file"
}
notice_icon '#F5A623' warning.png \
  -draw 'roundrectangle 56,26 72,82 8,8' -draw 'circle 64,99 64,90'
notice_icon '#E81123' error.png \
  -stroke white -strokewidth 14 -draw 'line 42,42 86,86' -draw 'line 86,42 42,86'
notice_icon '#2A7FE6' upgrade.png \
  -draw 'polygon 64,24 96,60 74,60 74,100 54,100 54,60 32,60'

notice_close() {
  local colour=$1 background=$2 file=$3
  convert -size 16x16 "xc:$background" -stroke "$colour" -strokewidth 2 \
    -draw 'line 4,4 11,11' -draw 'line 11,4 4,11' \
    -define png:exclude-chunks=date,time PNG32:"$notice/$file"
}
notice_close '#808080' none close_normal.png
notice_close '#FFFFFF' '#E81123' close_hot.png
notice_close '#FFFFFF' '#B50E1C' close_pushed.png
