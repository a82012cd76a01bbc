#!/usr/bin/env bash
# Regenerates the program's own media in data/media/: the intro animation and its
# music, and the copy animation. The outputs are committed, so neither the build nor
# CI needs ImageMagick or sox; run this only to change them.
#   needs: imagemagick, sox, libsox-fmt-mp3, fonts-dejavu-core
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../data/media}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fonts=/usr/share/fonts/truetype/dejavu
bold=$fonts/DejaVuSans-Bold.ttf
light=$fonts/DejaVuSans-ExtraLight.ttf
sans=$fonts/DejaVuSans.ttf
for f in "$bold" "$light" "$sans"; do
  [ -f "$f" ] || { echo "missing font $f" >&2; exit 1; }
done

# ---------------------------------------------------------------- intro.gif
# 777 x 529, the movie area of the main window. Plays once and rests on its last
# frame, so the title stays up while the music finishes.
W=777 H=529 N=56

convert -size ${W}x${H} radial-gradient:'#1b2a4a'-'#020308' \
  \( -size ${W}x${H} xc:none -fill '#ffffff08' \
     -draw "$(for y in $(seq 20 24 $H); do printf 'line 0,%d %d,%d ' "$y" "$W" "$y"; done)" \) \
  -composite "$work/bg.png"

# One MVG drawing per frame; awk does the easing arithmetic.
for i in $(seq 0 $((N - 1))); do
  awk -v i="$i" -v N="$N" -v W="$W" -v H="$H" -v bold="$bold" -v light="$light" -v sans="$sans" '
  function clamp(x) { return x < 0 ? 0 : (x > 1 ? 1 : x) }
  function ease(x) { x = clamp(x); return 1 - (1 - x) ^ 3 }
  function hex2(a) { return sprintf("%02x", int(clamp(a) * 255)) }
  BEGIN {
    pi = 3.14159265
    # The drive slides in from the right.
    dx = 800 - ease(i / 14) * 250
    dy = 250
    print "stroke-width 2"
    print "stroke #7fb2ff fill #22345a"
    printf "roundrectangle %d,%d %d,%d 14,14\n", dx, dy, dx + 150, dy + 70
    print "stroke #7fb2ff fill #9fb4d0"
    printf "rectangle %d,%d %d,%d\n", dx + 150, dy + 18, dx + 182, dy + 52
    print "stroke none fill #22345a"
    printf "rectangle %d,%d %d,%d\n", dx + 160, dy + 26, dx + 168, dy + 32
    printf "rectangle %d,%d %d,%d\n", dx + 160, dy + 38, dx + 168, dy + 44
    # Its activity light blinks once notes start arriving.
    lit = (i > 16 && i % 4 < 2) ? "#5dff9a" : "#1f4d33"
    printf "fill %s circle %d,%d %d,%d\n", lit, dx + 24, dy + 35, dx + 30, dy + 35

    # A music folder on the left, where the notes come from.
    print "stroke #c9962a stroke-width 2 fill #f2c14e"
    print "path \x27M 40,258 L 70,258 L 78,266 L 120,266 L 120,320 L 40,320 Z\x27"
    print "fill #f7d57e rectangle 40,274 120,320"
    print "stroke none"

    # Notes fly from the left along arcs into the drive.
    split("\xe2\x99\xaa \xe2\x99\xab \xe2\x99\xac \xe2\x99\xaa \xe2\x99\xab \xe2\x99\xac \xe2\x99\xaa \xe2\x99\xab", glyph, " ")
    split("#5ce1ff #ff6ad5 #ffd35c #8f7bff #5ce1ff #ff6ad5 #ffd35c #8f7bff", colour, " ")
    for (k = 1; k <= 8; k++) {
      t = (i - 4 - 4 * (k - 1)) / 16
      if (t < 0 || t > 1) continue
      x = 95 + t * (dx + 40 - 95)
      y = 305 - sin(t * pi) * (35 + 15 * (k % 3)) + 8 * (k % 2)
      a = t < 0.85 ? 1 : (1 - t) / 0.15
      printf "font \x27%s\x27 font-size %d fill %s%s\n", sans, 34 + 6 * (k % 3), colour[k], hex2(a)
      printf "text %d,%d \x27%s\x27\n", x, y, glyph[k]
    }

    # Title and tag line fade in.
    ta = ease((i - 18) / 12)
    if (ta > 0) {
      printf "font \x27%s\x27 font-size 78 fill #ffffff%s\n", bold, hex2(ta)
      printf "text %d,%d \x27Korvane\x27\n", 150, 165 - 14 * (1 - ta)
      printf "fill #5ce1ff%s\n", hex2(ta)
      printf "text %d,%d \x272.1\x27\n", 520, 165 - 14 * (1 - ta)
    }
    sa = ease((i - 30) / 10)
    if (sa > 0) {
      printf "font \x27%s\x27 font-size 26 fill #c9d6f0%s\n", light, hex2(sa)
      printf "text %d,%d \x27Download and upload files\x27\n", 235, 212
      printf "stroke #5ce1ff%s stroke-width 2 line %d,%d %d,%d stroke none\n", hex2(sa), 150, 228, 150 + sa * 480, 228
    }

    # An equaliser along the bottom, settling to rest on the last frame.
    energy = i < N - 8 ? 1 : (N - 1 - i) / 7
    for (b = 0; b < 32; b++) {
      h = 8 + energy * (28 + 24 * sin(i * 0.9 + b * 0.7) + 18 * sin(i * 0.37 - b * 1.3))
      if (h < 6) h = 6
      r = int(92 + b * 3); g = int(225 - b * 4); bl = 255
      printf "fill #%02x%02x%02x rectangle %d,%d %d,%d\n", r, g, bl, 92 + b * 19, 470 - h, 104 + b * 19, 470
    }
    if (i >= N - 10) {
      fa = ease((i - (N - 10)) / 6)
      printf "font \x27%s\x27 font-size 15 fill #8899bb%s\n", sans, hex2(fa)
      printf "text %d,%d \x27a Halvexa program\x27\n", 600, 505
    }
  }' > "$work/f.mvg"
  convert "$work/bg.png" -draw "$(cat "$work/f.mvg")" "$work/$(printf 'i%03d' "$i").png"
done

# 7 centiseconds per frame; the last frame stays.
# One palette for all frames (+remap), so colours do not jump between frames.
# 7 centiseconds per frame; -loop 1 writes no loop extension, so it plays once.
convert -delay 7 "$work"/i*.png +dither +remap \
  -layers OptimizeTransparency -loop 1 "$out/intro.gif"

# ---------------------------------------------------------------- intro.mp3
# About nine seconds: Cmaj7 - Am7 - Fmaj7 - G6 as plucked arpeggios over a soft
# sine pad and bass, ending on C.
chord() {  # name seconds notes...
  local name=$1 len=$2; shift 2
  local synth=() delays=() d=0
  for n in "$@"; do synth+=(pluck "$n"); delays+=("$d"); d=$(awk -v d="$d" 'BEGIN{print d+0.18}'); done
  sox -q -n -r 22050 -c $# "$work/$name-arpN.wav" synth "$len" "${synth[@]}" delay "${delays[@]}"
  sox -q "$work/$name-arpN.wav" -c 1 "$work/$name-arp.wav" remix - trim 0 "$len"
  local pad=()
  for n in "$@"; do pad+=(sine "$n"); done
  sox -q -n -r 22050 -c $# "$work/$name-padN.wav" synth "$len" "${pad[@]}"
  sox -q "$work/$name-padN.wav" -c 1 "$work/$name-pad.wav" remix - fade q 0.4 "$len" 0.6 vol 0.18
  sox -q -m "$work/$name-arp.wav" "$work/$name-pad.wav" "$work/$name.wav"
}
bass() {  # name seconds note
  sox -q -n -r 22050 -c 1 "$work/$1-bass.wav" synth "$2" sine "$3" fade q 0.05 "$2" 0.5 vol 0.35
  sox -q -m "$work/$1.wav" "$work/$1-bass.wav" "$work/$1-full.wav"
}
chord c1 2 C4 E4 G4 B4 E5;  bass c1 2 C2
chord c2 2 A3 C4 E4 G4 C5;  bass c2 2 A1
chord c3 2 F3 A3 C4 E4 A4;  bass c3 2 F1
chord c4 2 G3 B3 D4 E4 G4;  bass c4 2 G1
chord c5 2 C4 E4 G4 C5 E5 G5; bass c5 2 C2
sox -q "$work"/c{1,2,3,4,5}-full.wav "$work/music.wav" \
  reverb 40 50 60 gain -n -3 fade q 0.05 10 1.8
sox -q "$work/music.wav" -r 22050 -c 1 -C 48 "$out/intro.mp3"

# ---------------------------------------------------------------- FILECOPY.gif
# 272 x 60: pages leave a folder and drop into a drive, looping. Drawn on the
# window grey, which is made transparent, so anti-aliased edges blend into the page.
CW=272 CH=60 CN=16 grey='#efefef'
for i in $(seq 0 $((CN - 1))); do
  awk -v i="$i" -v CN="$CN" '
  BEGIN {
    pi = 3.14159265
    # Folder, left.
    print "stroke #9a7416 stroke-width 1 fill #f2c14e"
    print "path \x27M 8,18 L 26,18 L 31,23 L 58,23 L 58,52 L 8,52 Z\x27"
    print "fill #f7d57e rectangle 8,27 58,52"
    # Three pages in flight, evenly spaced along the arc.
    for (k = 0; k < 3; k++) {
      t = ((i + k * CN / 3) % CN) / CN
      x = 40 + t * 160
      y = 34 - sin(t * pi) * 20
      ang = -20 + t * 40
      printf "push graphic-context translate %d,%d rotate %d\n", x, y, ang
      print "stroke #7a7a7a stroke-width 1 fill #ffffff rectangle -7,-9 7,9"
      print "stroke #9bb3d6 line -4,-5 4,-5 line -4,-1 4,-1 line -4,3 2,3"
      print "pop graphic-context"
    }
    # Drive, right, drawn last so the pages drop into it.
    print "stroke #2e4a78 stroke-width 1 fill #3d5f99 roundrectangle 196,22 250,48 5,5"
    print "fill #b9c6da rectangle 250,28 264,42"
    printf "stroke none fill %s circle 206,35 209,35\n", (i % 4 < 2) ? "#3fe07a" : "#1c5a34"
  }' > "$work/c.mvg"
  convert -size ${CW}x${CH} xc:"$grey" -draw "$(cat "$work/c.mvg")" "$work/$(printf 'c%03d' "$i").png"
done
# Whole frames cleared between each other: with transparency, overlaid frames would leave trails.
convert -delay 6 -dispose Background "$work"/c*.png -transparent "$grey" -loop 0 "$out/FILECOPY.gif"

ls -l "$out"
