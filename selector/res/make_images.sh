#!/bin/bash
# Draws the program's images with ImageMagick: MenuImages.bmp, a strip of
# 16x16 images on a magenta mask colour (number n at x = 16*n), and the
# program icon Cuebinder.ico. Run it after changing a drawing; the outputs are
# kept in the source tree so a build needs no ImageMagick.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bg='#FF00FF'
img() {  # img N draw-commands...
    local n=$1; shift
    convert -size 16x16 xc:"$bg" +antialias -strokewidth 1 "$@" "$tmp/$(printf %02d "$n").bmp"
}
page='-fill white -stroke #404040 -draw "polygon 3,1 10,1 13,4 13,14 3,14"'
img 0  -fill '#2060C0' -stroke '#103060' -draw 'circle 8,8 8,1' -fill white -stroke white -draw 'rectangle 7,7 8,12' -draw 'rectangle 7,4 8,5'
img 1  -fill '#20A030' -stroke '#106018' -draw 'polygon 4,2 13,8 4,14'
img 2  -fill '#20A030' -stroke '#106018' -draw 'rectangle 6,2 9,13' -draw 'rectangle 2,6 13,9' -stroke none -draw 'rectangle 7,3 8,12' -draw 'rectangle 3,7 12,8'
img 3  -fill '#808080' -stroke '#404040' -draw 'rectangle 3,3 12,12'
img 4  -fill '#A0A0A0' -stroke '#404040' -draw 'circle 8,8 8,2' -fill "$bg" -draw 'circle 8,8 8,5' -fill '#404040' -stroke none -draw 'rectangle 7,0 8,3' -draw 'rectangle 7,12 8,15' -draw 'rectangle 0,7 3,8' -draw 'rectangle 12,7 15,8'
img 5  -fill '#808080' -stroke '#404040' -draw 'circle 8,8 8,3'
img 6  -fill '#D02020' -stroke '#701010' -draw 'rectangle 3,3 12,12'
img 7  -stroke '#D02020' -strokewidth 3 -draw 'line 3,3 12,12' -draw 'line 12,3 3,12'
img 8  -stroke '#806000' -fill '#F0C020' -draw 'polygon 2,13 3,10 11,2 14,5 6,13' -fill '#404040' -stroke none -draw 'polygon 2,13 3,11 4,12'
img 9  -fill '#808080' -stroke '#404040' -draw 'rectangle 2,5 13,10'
img 10 -fill '#808080' -stroke '#404040' -draw 'rectangle 5,2 10,13'
img 11 -fill '#808080' -stroke '#404040' -draw 'polygon 8,2 14,13 2,13'
img 12 -fill '#808080' -stroke '#404040' -draw 'polygon 8,1 15,8 8,15 1,8'
img 13 -fill white -stroke '#404040' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' -fill '#C0C0C0' -draw 'polygon 10,1 10,4 13,4'
img 14 -fill '#E8C040' -stroke '#806010' -draw 'polygon 1,4 6,4 7,5 14,5 14,13 1,13' -fill '#F8E080' -draw 'polygon 3,8 15,8 13,13 1,13'
img 15 -fill '#A0A0A0' -stroke '#404040' -draw 'circle 8,8 8,2' -fill "$bg" -draw 'circle 8,8 8,5' -fill '#404040' -stroke none -draw 'rectangle 7,0 8,3' -draw 'rectangle 7,12 8,15' -draw 'rectangle 0,7 3,8' -draw 'rectangle 12,7 15,8'
img 16 -fill '#2060C0' -stroke '#103060' -draw 'circle 8,8 8,1' -fill none -stroke white -strokewidth 2 -draw 'arc 5,3 11,9 180,90' -draw 'line 8,9 8,10' -draw 'point 8,12' -draw 'rectangle 7,12 8,13'
img 17 -fill '#3050A0' -stroke '#182850' -draw 'rectangle 1,1 14,14' -fill white -stroke none -draw 'rectangle 4,2 11,7' -fill '#C0C0C0' -draw 'rectangle 4,10 11,14' -fill '#3050A0' -draw 'rectangle 5,11 6,13'
img 18 -fill '#404040' -stroke '#202020' -draw 'rectangle 1,5 4,10' -draw 'polygon 4,5 8,1 8,14 4,10' -fill none -stroke '#2060C0' -strokewidth 1 -draw 'arc 6,4 12,11 -60,60' -draw 'arc 5,1 15,14 -60,60'
img 19 -fill '#808080' -stroke '#404040' -draw 'ellipse 8,8 6,3 0,360'
img 20 -fill white -stroke '#404040' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' -stroke '#20A030' -draw 'line 5,5 10,5' -draw 'line 5,8 11,8' -draw 'line 5,11 9,11' -stroke '#D02020' -draw 'point 4,5' -draw 'point 4,8' -draw 'point 4,11'
img 21 -fill '#FFFFE0' -stroke '#404040' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' -stroke '#2060C0' -draw 'line 5,5 11,5' -draw 'line 5,7 11,7' -draw 'line 5,9 11,9' -draw 'line 5,11 9,11'
convert "$tmp"/*.bmp +append -type TrueColor BMP3:MenuImages.bmp
# the program icon: a speaker with sound waves on a dark rounded square
for s in 16 32 48; do
    convert -size 48x48 xc:none -fill '#203048' -draw 'roundrectangle 1,1 46,46 8,8' \
        -fill '#F0F0F0' -stroke none -draw 'rectangle 8,18 15,30' -draw 'polygon 15,18 25,9 25,39 15,30' \
        -fill none -stroke '#F0C020' -strokewidth 3 -draw 'arc 20,14 34,34 -50,50' -draw 'arc 20,7 42,41 -50,50' \
        -resize ${s}x${s} "$tmp/icon$s.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" Cuebinder.ico
