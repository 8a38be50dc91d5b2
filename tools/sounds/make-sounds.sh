#!/bin/sh
# Synthesises the four interface sounds and encodes them as AAC in M4A:
#   tools/sounds/make-sounds.sh [output dir, default resources/sounds]
# Needs sox and ffmpeg. Each sound is a soft plucked or sine tone under 0.3 s, peaking at -14 dBFS.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../../resources/sounds}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tone() { # file, sox effects...
    file=$1
    shift
    sox -n -r 44100 -c 1 -b 16 "$work/$file" "$@"
}

finish() { # name: $work/<name>-raw.wav -> $out/<name>.m4a
    # a few milliseconds of fade at both ends: no clicks from the cut edges
    sox "$work/$1-raw.wav" "$work/$1.wav" fade q 0.003 -0 0.02 norm -14
    ffmpeg -loglevel error -y -i "$work/$1.wav" -c:a aac -b:a 96k \
        -map_metadata -1 -fflags +bitexact -movflags +faststart "$out/$1.m4a"
}

# click: a short, high tick
tone click-raw.wav synth 0.08 pluck A6 lowpass 6000 fade l 0 0.08 0.065
finish click
# pop: a rounded sine bending upwards, fading fast
tone pop-raw.wav synth 0.11 sine 520-880 fade l 0 0.11 0.09
finish pop
# min: two descending notes, a fifth apart
tone min-a.wav synth 0.09 pluck E6
tone min-b.wav synth 0.13 pluck A5
sox "$work/min-a.wav" "$work/min-b.wav" "$work/min-raw.wav"
finish min
# drag: a low, soft thump
tone drag-raw.wav synth 0.09 sine 220-140 fade l 0 0.09 0.07 lowpass 1500
finish drag

for name in click pop min drag; do
    printf '%s: ' "$name"
    ffprobe -v error -show_entries format=duration -of csv=p=0 "$out/$name.m4a"
done
