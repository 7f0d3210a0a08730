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
# The numbers are fixed by the menus, toolbar and list rows:
#  0 About          1 Activate      2 Add            3 Clear
#  4 Options (bar)  5 Exit          6 Deactivate     7 Delete
#  8 Edit           9 Save As      10 Shortcut key  11 Warning
# 12 Find          13 New          14 Open          15 Options (menu)
# 16 Online Help   17 Save         18 Sound (rows)  19 WAV file
# 20 Script Setup  21 Readme
img() {  # img N draw-commands...
    local n=$1; shift
    convert -size 16x16 xc:"$bg" +antialias -strokewidth 1 "$@" "$tmp/$(printf %02d "$n").bmp"
}
img 0  -fill '#2060C0' -stroke '#103060' -draw 'circle 8,8 8,1' -fill white -stroke white -draw 'rectangle 7,7 8,12' -draw 'rectangle 7,4 8,5'
img 1  -fill '#20A030' -stroke '#106018' -draw 'polygon 4,2 13,8 4,14'
img 2  -fill '#20A030' -stroke '#106018' -draw 'rectangle 6,2 9,13' -draw 'rectangle 2,6 13,9' -stroke none -draw 'rectangle 7,3 8,12' -draw 'rectangle 3,7 12,8'
img 3  -fill white -stroke '#404040' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' -stroke '#808080' -draw 'line 5,5 11,5' -draw 'line 5,8 11,8' -draw 'line 5,11 11,11' -stroke '#D02020' -strokewidth 2 -draw 'line 1,15 14,2'
img 4  -fill '#A0A0A0' -stroke '#404040' -draw 'circle 8,8 8,3' -stroke none -fill '#606060' -draw 'rectangle 7,1 9,3' -draw 'rectangle 7,13 9,15' -draw 'rectangle 1,7 3,9' -draw 'rectangle 13,7 15,9' -draw 'polygon 2,4 4,2 5,3 3,5' -draw 'polygon 11,3 12,2 14,4 13,5' -draw 'polygon 2,12 3,11 5,13 4,14' -draw 'polygon 11,13 13,11 14,12 12,14' -fill "$bg" -stroke '#404040' -draw 'circle 8,8 8,6'
img 5  -fill '#B07030' -stroke '#603810' -draw 'rectangle 2,1 9,14' -fill '#603810' -stroke none -draw 'rectangle 7,7 8,8' -stroke '#20A030' -strokewidth 2 -draw 'line 10,8 15,8' -draw 'line 13,5 15,8' -draw 'line 13,11 15,8'
img 6  -fill '#D02020' -stroke '#701010' -draw 'rectangle 3,3 12,12'
img 7  -stroke '#D02020' -strokewidth 3 -draw 'line 3,3 12,12' -draw 'line 12,3 3,12'
img 8  -stroke '#806000' -fill '#F0C020' -draw 'polygon 2,13 3,10 11,2 14,5 6,13' -fill '#404040' -stroke none -draw 'polygon 2,13 3,11 4,12'
img 9  -fill '#3050A0' -stroke '#182850' -draw 'rectangle 0,3 11,14' -fill white -stroke none -draw 'rectangle 2,4 9,8' -fill '#C0C0C0' -draw 'rectangle 3,11 8,14' -stroke '#806000' -fill '#F0C020' -draw 'polygon 8,13 9,11 14,6 15,7 15,8 10,13'
img 10 -fill '#F0F0F0' -stroke '#404040' -draw 'roundrectangle 1,2 14,13 2,2' -fill '#D8D8D8' -stroke none -draw 'rectangle 2,10 13,12' -stroke '#2060C0' -draw 'line 5,9 8,3' -draw 'line 8,3 11,9' -draw 'line 6,7 10,7'
img 11 -fill '#F0C020' -stroke '#806000' -draw 'polygon 8,1 15,14 1,14' -fill '#202020' -stroke none -draw 'rectangle 7,5 8,10' -draw 'rectangle 7,12 8,13'
img 12 -fill '#C0E0FF' -stroke '#404040' -draw 'circle 6,6 6,2' -stroke '#806010' -strokewidth 3 -draw 'line 10,10 14,14'
img 13 -fill white -stroke '#404040' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' -fill '#C0C0C0' -draw 'polygon 10,1 10,4 13,4'
img 14 -fill '#E8C040' -stroke '#806010' -draw 'polygon 1,4 6,4 7,5 14,5 14,13 1,13' -fill '#F8E080' -draw 'polygon 3,8 15,8 13,13 1,13'
img 15 -stroke '#404040' -draw 'line 2,4 14,4' -draw 'line 2,8 14,8' -draw 'line 2,12 14,12' -fill '#2060C0' -stroke '#103060' -draw 'rectangle 9,2 11,6' -draw 'rectangle 4,6 6,10' -draw 'rectangle 10,10 12,14'
img 16 -fill '#2060C0' -stroke '#103060' -draw 'circle 8,8 8,1' -fill none -stroke white -strokewidth 2 -draw 'arc 5,3 11,9 180,90' -draw 'line 8,9 8,10' -draw 'point 8,12' -draw 'rectangle 7,12 8,13'
img 17 -fill '#3050A0' -stroke '#182850' -draw 'rectangle 1,1 14,14' -fill white -stroke none -draw 'rectangle 4,2 11,7' -fill '#C0C0C0' -draw 'rectangle 4,10 11,14' -fill '#3050A0' -draw 'rectangle 5,11 6,13'
img 18 -fill '#404040' -stroke '#202020' -draw 'rectangle 1,5 4,10' -draw 'polygon 4,5 8,1 8,14 4,10' -fill none -stroke '#2060C0' -strokewidth 1 -draw 'arc 6,4 12,11 -60,60' -draw 'arc 5,1 15,14 -60,60'
img 19 -fill white -stroke '#404040' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' -fill '#C0C0C0' -draw 'polygon 10,1 10,4 13,4' -stroke '#20A030' -draw 'line 5,9 5,9' -draw 'line 6,7 6,11' -draw 'line 7,5 7,12' -draw 'line 8,8 8,10' -draw 'line 9,6 9,11' -draw 'line 10,8 10,10' -draw 'line 11,9 11,9'
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
# the About window's banner, 365x39: the program's name over a dark wave
font=$(fc-match -f '%{file}' 'DejaVu Sans:bold' 2>/dev/null || true)
convert -size 365x39 gradient:'#203048'-'#3A5A88' \
    -fill none -stroke '#F0C020' -strokewidth 2 \
    -draw 'polyline 200,20 215,20 220,8 228,32 236,4 244,36 252,12 260,26 268,18 276,22 290,20 365,20' \
    -fill '#F0F0F0' -stroke none -draw 'rectangle 10,14 16,25' -draw 'polygon 16,14 24,7 24,32 16,25' \
    ${font:+-font "$font"} -pointsize 20 -fill white -annotate +34+27 'Cuebinder' \
    -type TrueColor BMP3:AboutBanner.bmp
