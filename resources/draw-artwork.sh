#!/usr/bin/env bash
# Draws the Sorakado artwork (splash, banner, button picture, window icons)
# with ImageMagick 6/7.  The PNGs are committed; the build does not run this.
#
#   resources/draw-artwork.sh            # writes the PNGs next to this script
#
# Needs: ImageMagick (convert or magick), fonts-noto-cjk, fonts-ipafont-gothic,
# fonts-urw-base35 (URW Bookman for the Latin product name).
set -euo pipefail

HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# The version drawn on the splash: the one project() in the top CMakeLists.txt gives.
VERSION="$(sed -n 's/^project(Sorakado VERSION \([0-9.]*\).*/\1/p' "$HERE/../CMakeLists.txt")"
[ -n "$VERSION" ] || { echo "no version in $HERE/../CMakeLists.txt" >&2; exit 1; }
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

if command -v magick >/dev/null 2>&1; then IM=(magick); else IM=(convert); fi
im() { "${IM[@]}" "$@"; }

# Fonts (ImageMagick names; fall back to the plain Japanese Gothic).
pick_font() {
  local f
  for f in "$@"; do
    if im -list font | grep -q "Font: $f\$"; then echo "$f"; return; fi
  done
  echo "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
}
F_TITLE="$(pick_font URW-Bookman-Demi-Italic C059-Bold-Italic DejaVu-Serif-Bold-Italic)"
F_JBLACK="$(pick_font Noto-Sans-CJK-JP-Black Noto-Sans-CJK-JP-Bold IPAPGothic)"
F_JBOLD="$(pick_font Noto-Sans-CJK-JP-Bold Noto-Sans-CJK-JP-Black IPAPGothic)"
F_SANS="$(pick_font DejaVu-Sans-Bold Noto-Sans-CJK-JP-Bold IPAPGothic)"

# deco_text OUT FONT POINTSIZE TEXT TOP MID BOTTOM OUTLINE OUTLINE_PX GLOW
# Writes a transparent PNG: sunrise-gradient letters with a dark outline,
# a thin light rim and a soft glow/shadow.  The result is trimmed, with the
# decoration included.
deco_text() {
  local out=$1 font=$2 pt=$3 text=$4 top=$5 mid=$6 bot=$7 line=$8 lw=$9 glow=${10}
  local w h h1 h2
  im -background none -fill white -font "$font" -pointsize "$pt" \
     label:"$text" -trim +repage "$TMP/mask.png"
  w=$(im "$TMP/mask.png" -format '%w' info:)
  h=$(im "$TMP/mask.png" -format '%h' info:)
  h1=$(( h * 45 / 100 )); h2=$(( h - h1 ))
  # gradient fill clipped to the glyphs
  im \( -size "${w}x${h1}" gradient:"$top-$mid" \) \
     \( -size "${w}x${h2}" gradient:"$mid-$bot" \) -append \
     "$TMP/mask.png" -alpha off -compose CopyOpacity -composite \
     -bordercolor none -compose Over -border 10 "$TMP/fill.png"
  # outline = dilated glyph shape
  im "$TMP/fill.png" -alpha extract -morphology Dilate "Disk:$lw" \
     -background "$line" -alpha shape "$TMP/line.png"
  # glow = blurred outline shape
  im "$TMP/fill.png" -alpha extract -morphology Dilate "Disk:$((lw + 1))" \
     -blur 0x3 -background "$glow" -alpha shape "$TMP/glow.png"
  # light rim along the upper-left inside edge of the glyphs
  im "$TMP/fill.png" -alpha extract \
     \( +clone -roll +1+1 \) -compose Minus_Dst -composite \
     -evaluate multiply 0.8 -background '#FFFFE8' -alpha shape "$TMP/rim.png"
  im "$TMP/glow.png" "$TMP/line.png" -geometry +1+1 -compose Over -composite \
     "$TMP/line.png" -geometry +0+0 -compose Over -composite \
     "$TMP/fill.png" -compose Over -composite \
     "$TMP/rim.png" -compose Over -composite \
     -trim +repage "$out"
}

# rising_sun OUT SIZE [ANGLES] [HALF_WIDTH_DEG] : a half-risen sun with rays,
# on transparency, SIZE x SIZE/2 (horizon on the bottom edge).
rising_sun() {
  local out=$1 s=$2 angles=${3:-"0 20 40 60 80 100 120 140 160 180"} hw=${4:-4.5}
  local r cx cy
  r=$(( s * 30 / 100 )); cx=$(( s / 2 )); cy=$(( s / 2 ))
  local rays="" a x1 y1 x2 y2 x3 y3
  for a in $angles; do
    read -r x1 y1 x2 y2 x3 y3 < <(awk -v a="$a" -v cx="$cx" -v cy="$cy" -v r="$r" -v s="$s" -v hw="$hw" 'BEGIN{
      pi=3.14159265; r1=r*1.22; r2=s*0.49; d=hw*pi/180; t=a*pi/180;
      printf "%.1f %.1f %.1f %.1f %.1f %.1f\n",
        cx+r1*cos(t-d), cy-r1*sin(t-d), cx+r2*cos(t), cy-r2*sin(t), cx+r1*cos(t+d), cy-r1*sin(t+d) }')
    rays+="polygon $x1,$y1 $x2,$y2 $x3,$y3 "
  done
  im \( -size "${s}x${s}" radial-gradient:'#FFB030-#FF3C00' \
        \( -size "${s}x${s}" xc:black -fill white -draw "$rays" \) \
        -alpha off -compose CopyOpacity -composite \) \
     \( -size "${s}x${s}" radial-gradient:'#FFFFD0-#FF7A00' \
        \( -size "${s}x${s}" xc:black -fill white \
           -draw "circle $cx,$cy $((cx + r)),$cy" \) \
        -alpha off -compose CopyOpacity -composite \) \
     -compose Over -composite \
     -crop "${s}x$(( s / 2 ))+0+0" +repage "$out"
}

# horizon OUT WIDTH : a 2 px line, dark at both ends and glowing orange
# in the middle.
horizon() {
  local out=$1 w=$2 half=$(( $2 / 2 ))
  im \( -size "2x${half}" gradient:'#000000-#FF9A30' -rotate -90 \) \
     \( +clone -flop \) +append -resize "${w}x2!" "$out"
}

############################################################################
# 1. splash.png  336 x 110 (window shows only the top-left 316 x 101)
############################################################################
rising_sun "$TMP/sun.png" 84
horizon "$TMP/hz.png" 304
deco_text "$TMP/title.png" "$F_TITLE" 43 "Hinoboru" \
  '#FFF7B0' '#FFA820' '#E03000' '#4A0800' 2 '#FF5000'

im -size 336x110 xc:black \
   -fill '#5A1C00' -draw "ellipse 48,72 90,26 0,360" -blur 0x14 \
   "$TMP/sun.png" -gravity NorthWest -geometry +6+30 -compose Over -composite \
   "$TMP/hz.png" -geometry +6+71 -compose Screen -composite \
   "$TMP/title.png" -geometry +86+13 -compose Over -composite \
   -font "$F_JBOLD" -pointsize 12 -fill '#FFE6B0' \
      -annotate +96+77 'かんたん家計簿  Sorakado' \
   -font "$F_SANS" -pointsize 9 -fill '#A8A8A8' \
      -annotate +262+86 "Ver $VERSION" \
   -alpha off -depth 8 -strip "$HERE/splash.png"

############################################################################
# 2. banner.png  754 x 59 (shown stretched to 758 x 65)
############################################################################
rising_sun "$TMP/sun-b.png" 96
horizon "$TMP/hz-b.png" 740
deco_text "$TMP/title-b.png" "$F_TITLE" 48 "Hinoboru" \
  '#FFF7B0' '#FFA820' '#E03000' '#4A0800' 2 '#FF5000'

im \( -size 59x754 gradient:'#240800-#000000' -rotate -90 \) \
   -fill '#6A2400' -draw "ellipse 62,56 110,30 0,360" -blur 0x14 \
   "$TMP/sun-b.png" -gravity NorthWest -geometry +14+9 -compose Over -composite \
   "$TMP/hz-b.png" -geometry +7+56 -compose Screen -composite \
   "$TMP/title-b.png" -geometry +128+1 -compose Over -composite \
   -font "$F_JBOLD" -pointsize 15 -fill '#FFE6B0' -gravity East \
      -annotate +20-2 'かんたん家計簿  Sorakado' \
   -alpha off -depth 8 -strip "$HERE/banner.png"

############################################################################
# 3. command11.png  250 x 59, on a #C0C0C0 button
############################################################################
im -size 250x59 xc:'#C0C0C0' -gravity North \
   -font "$F_JBLACK" -pointsize 19 \
   -fill '#000080' -annotate +0+3 '編集年月を変更する' \
   -font "$F_JBOLD" -pointsize 17 \
   -fill '#A00000' -annotate +0+31 '変更する場合はここをクリック' \
   -alpha off -depth 8 -strip "$HERE/command11.png"

############################################################################
# 4. icon.png 32 x 32 (16 colours), icon-64.png and icon-256.png: a sun rising over a book
############################################################################
draw_icon() {
  local out=$1 s=256
  rising_sun "$TMP/sun-i.png" 240 "14 52 90 128 166" 8
  # open ledger: two pages, a spine, ruled lines
  im -size ${s}x${s} xc:none \
     "$TMP/sun-i.png" -geometry +8+10 -compose Over -composite \
     -fill '#1E3C8C' -stroke '#0A1A4A' -strokewidth 6 \
       -draw "polygon 10,132 128,150 246,132 246,244 128,252 10,244" \
     -fill '#FFFFFF' -stroke '#5A5A5A' -strokewidth 4 \
       -draw "polygon 22,122 124,140 124,236 22,220" \
       -draw "polygon 234,122 132,140 132,236 234,220" \
     -stroke '#2060C0' -strokewidth 12 \
       -draw "line 40,164 108,176" -draw "line 40,196 108,208" \
     -stroke '#D02000' \
       -draw "line 148,176 216,164" -draw "line 148,208 216,196" \
     "$TMP/icon-big.png"
  im "$TMP/icon-big.png" -filter Lanczos -resize "$2x$2" "$TMP/icon-small.png"
  if [ "$2" -le 32 ]; then
    im "$TMP/icon-small.png" -channel A -threshold 50% +channel \
       +dither -colors 16 -strip PNG8:"$out"
  else
    im "$TMP/icon-small.png" -depth 8 -strip PNG32:"$out"
  fi
}
draw_icon "$HERE/icon.png" 32
draw_icon "$HERE/icon-64.png" 64
draw_icon "$HERE/icon-256.png" 256

echo "artwork written to $HERE"
