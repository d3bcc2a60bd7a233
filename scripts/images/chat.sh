# Images of the chat panel (resources/skin/ and resources/skin/chat/), sourced by
# scripts/make-images with $skin set. Shapes are drawn at four times the size and scaled down,
# so that the edges are smooth.
#
# Combined Shape Copy3_backen.png  40 x 34, the bubble of others' messages: white with a pale
#                                  edge and a pointer towards the avatar at the top left (the
#                                  program stretches it with the corners 10,5,5,5 for one line
#                                  and 10,22,5,5 for more, which keep the pointer whole).
# Combined Shape Copy4_backen.png  40 x 34, the bubble of the user's own messages: the theme's
#                                  blue, rounded (corners 10,5,5,5).
# chat/close_*.png                 the 16 x 16 cross of the panel's title: grey, white on red
#                                  when hot and pushed.
# chat/send_*.png                  20 x 20, the send button's blue (normal, hot, pushed),
#                                  stretched with corners 5.
# chat/input_frame*.png            20 x 20, the input's white field with a grey edge, blue while
#                                  it has the focus, stretched with corners 5.
# chat/avatar_ring.png             30 x 30: the list's grey outside a circle, clear inside, laid
#                                  over an avatar so that it shows round.
chat="$skin/chat"
mkdir -p "$chat"

# Without time stamps, so that drawing again changes no file.
chat_png=(-define png:exclude-chunks=date,time)

convert -size 160x136 xc:none -fill white -stroke '#DADDE1' -strokewidth 4 \
  -draw 'polygon 30,30 4,46 30,62' -draw 'roundrectangle 26,2 157,133 16,16' \
  -stroke none -draw 'polygon 32,34 12,46 32,58' \
  -resize 40x34 "${chat_png[@]}" "PNG32:$skin/Combined Shape Copy3_backen.png"
convert -size 160x136 xc:none -fill '#2A7FE6' -draw 'roundrectangle 0,0 159,135 16,16' \
  -resize 40x34 "${chat_png[@]}" "PNG32:$skin/Combined Shape Copy4_backen.png"

chat_cross() {
  local colour=$1 background=$2 file=$3
  convert -size 64x64 xc:none -fill none -stroke "$colour" -strokewidth 7 \
    -draw 'line 18,18 46,46' -draw 'line 46,18 18,46' \
    \( -size 64x64 "xc:$background" \) +swap -compose over -composite \
    -resize 16x16 "${chat_png[@]}" "PNG32:$chat/$file"
}
chat_cross '#808080' none close_normal.png
chat_cross '#FFFFFF' '#E81123' close_hot.png
chat_cross '#FFFFFF' '#B50E1C' close_pushed.png

for state in normal:'#2A7FE6' hot:'#4C95EE' pushed:'#1C68C8'; do
  IFS=: read -r name colour <<<"$state"
  convert -size 80x80 xc:none -fill "$colour" -draw 'roundrectangle 0,0 79,79 16,16' \
    -resize 20x20 "${chat_png[@]}" "PNG32:$chat/send_$name.png"
done

for state in input_frame:'#C8C8C8' input_frame_focused:'#2A7FE6'; do
  IFS=: read -r name colour <<<"$state"
  convert -size 80x80 xc:none -fill white -stroke "$colour" -strokewidth 4 \
    -draw 'roundrectangle 2,2 77,77 16,16' -resize 20x20 "${chat_png[@]}" "PNG32:$chat/$name.png"
done

convert -size 120x120 xc:white -fill black -draw 'circle 60,60 60,1' \
  -alpha copy -fill '#25282D' -colorize 100 \
  -resize 30x30 "${chat_png[@]}" "PNG32:$chat/avatar_ring.png"
