#!/bin/bash
# Draws the recorder's own skin (ImageMagick): the button bitmaps with their
# hover (-m) and pressed (-d) forms and masks, the help button, the tiled
# backdrop and the label colours. The results are kept in the tree, so a build
# needs no ImageMagick; run this again after changing a picture.
#   auxiliary/skin/make-skin.sh
set -euo pipefail
cd "$(dirname "$0")"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
out=Compression/skin
mkdir -p "$out" Help

# The file-name suffix of a form: normal, hover (m) or pressed (d).
suffix() { [ "$1" = n ] || echo "-$1"; }

# button NAME WIDTH HEIGHT LABEL POINTSIZE [round]
#   A rounded, shaded button; with "round" its corners are masked so the
#   backdrop shows through them.
button() {
    local name=$1 w=$2 h=$3 label=$4 size=$5 round=${6:-}
    local -A top=([n]="#4d83c4" [m]="#6fa3e3" [d]="#2b4f7c")
    local -A bottom=([n]="#234a78" [m]="#3b6aa6" [d]="#1b3658")
    local -A shift=([n]=0 [m]=0 [d]=1)
    for f in n m d; do
        form=$(suffix $f)
        convert -size "${w}x${h}" "gradient:${top[$f]}-${bottom[$f]}" \
            \( -size "${w}x${h}" xc:black -fill white -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 5,5" \) \
            -compose multiply -composite \
            -fill none -stroke "#0f2138" -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 5,5" \
            -stroke none -fill white -font "$font" -pointsize "$size" -gravity center \
            -annotate "+${shift[$f]}+${shift[$f]}" "$label" \
            -type TrueColor "BMP3:$out/$name$form.bmp"
        if [ -n "$round" ]; then
            convert -size "${w}x${h}" xc:white -fill black \
                -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 5,5" \
                -type TrueColor "BMP3:$out/$name$form-mask.bmp"
        fi
    done
}

# The Start Recording button: a record dot above "REC", with masked corners.
record_button() {
    local w=43 h=38
    local -A top=([n]="#4d83c4" [m]="#6fa3e3" [d]="#2b4f7c")
    local -A bottom=([n]="#234a78" [m]="#3b6aa6" [d]="#1b3658")
    local -A dot=([n]="#d92b2b" [m]="#ff4a4a" [d]="#a01818")
    local -A s=([n]=0 [m]=0 [d]=1)
    for f in n m d; do
        form=$(suffix $f)
        local o=${s[$f]}
        convert -size "${w}x${h}" "gradient:${top[$f]}-${bottom[$f]}" \
            \( -size "${w}x${h}" xc:black -fill white -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 6,6" \) \
            -compose multiply -composite \
            -fill none -stroke "#0f2138" -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 6,6" \
            -stroke "#ffffff" -fill "${dot[$f]}" -draw "circle $((21 + o)),$((14 + o)) $((21 + o)),$((6 + o))" \
            -stroke none -fill white -font "$font" -pointsize 9 -gravity south -annotate "+$o+$((3 - o))" "REC" \
            -type TrueColor "BMP3:$out/aux-convert-to$form.bmp"
        convert -size "${w}x${h}" xc:white -fill black -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 6,6" \
            -type TrueColor "BMP3:$out/aux-convert-to$form-mask.bmp"
    done
}

# The record menu button: a small arrow pointing down.
menu_button() {
    local w=12 h=38
    local -A top=([n]="#4d83c4" [m]="#6fa3e3" [d]="#2b4f7c")
    local -A bottom=([n]="#234a78" [m]="#3b6aa6" [d]="#1b3658")
    for f in n m d; do
        form=$(suffix $f)
        convert -size "${w}x${h}" "gradient:${top[$f]}-${bottom[$f]}" \
            -fill none -stroke "#0f2138" -draw "rectangle 0,0 $((w - 1)),$((h - 1))" \
            -stroke none -fill white -draw "polygon 2,16 9,16 5,22" \
            -type TrueColor "BMP3:$out/aux-convert-to-menu$form.bmp"
    done
}

record_button
menu_button
button aux-options 56 20 "Options" 9 round
button aux-test-rl 110 17 "Test Input Level" 8 round
button bk-auxinput-p 64 17 "Boostkit" 8 round

# The help button: "help\\Help.bmp" below the program folder (Help/ here; Windows ignores the case).
for f in n m d; do
        form=$(suffix $f)
    declare -A shades=([n]="#f2dc6b" [m]="#fff3b0" [d]="#c9b458")
    shade=${shades[$f]}
    convert -size 22x38 xc:black -fill "$shade" -stroke "#6b5a10" -draw "roundrectangle 0,0 21,37 6,6" \
        -stroke none -fill "#3a3000" -font "$font" -pointsize 18 -gravity center -annotate +0+0 "?" \
        -type TrueColor "BMP3:Help/Help$form.bmp"
    convert -size 22x38 xc:white -fill black -draw "roundrectangle 0,0 21,37 6,6" \
        -type TrueColor "BMP3:Help/Help$form-mask.bmp"
done

# A soft paper-like tile for the backdrop.
convert -size 128x128 plasma:"#dfe8f4"-"#f4f7fb" -blur 0x3 -modulate 100,40 \
    -quality 85 "$out/backdrop.jpg"

# Label colours: shadow (white), then the label itself (dark blue).
printf '255\r\n255\r\n255\r\n24\r\n40\r\n72\r\n' > "$out/aux-colors.txt"
