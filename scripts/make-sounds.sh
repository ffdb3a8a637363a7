#!/usr/bin/env bash
# Generates the program's sounds into assets/sounds/: the spoken digits 0..9 in a male voice (rei .. ku) and
# a female voice (rei2 .. ku2), the closing greeting (VOtukare) and two chimes (DING, Tokeidai).
# Every file is mono, 16-bit, 22050 Hz, trimmed of leading and trailing silence.
# Needs espeak-ng and sox (Debian: apt-get install espeak-ng sox); the program itself does not.
set -euo pipefail

out="$(cd "$(dirname "$0")/.." && pwd)/assets/sounds"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for tool in espeak-ng sox; do
  command -v "$tool" >/dev/null || { echo "make-sounds: $tool is missing" >&2; exit 1; }
done

format=(-r 22050 -c 1 -b 16 -e signed-integer)
# Cuts the silence at both ends, keeping a few milliseconds so the sound does not start with a click.
trim=(silence 1 0.01 0.3% reverse silence 1 0.01 0.3% reverse pad 0.01 0.02)

# speak NAME VOICE TEXT
speak() {
  espeak-ng -v "$2" -s 150 -w "$work/raw.wav" "$3"
  sox "$work/raw.wav" "${format[@]}" "$out/$1.wav" "${trim[@]}" norm -1
}

names=(rei iti ni san yon go roku siti hati ku)
words=(れい いち に さん よん ご ろく しち はち きゅう)
for i in "${!names[@]}"; do
  speak "${names[$i]}" ja+m3 "${words[$i]}"
  speak "${names[$i]}2" ja+f3 "${words[$i]}"
done
speak VOtukare ja+m3 おつかれさまでした

times() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a * b }'; }

# bell FILE FREQ SECONDS: a struck bell, the fundamental with its inharmonic partials, decaying.
bell() {
  local f=$2 len=$3
  sox -n "${format[@]}" "$1" synth "$len" sine "$f" sine "$(times "$f" 2.0)" \
    sine "$(times "$f" 2.76)" sine "$(times "$f" 5.4)" \
    remix 1v0.55,2v0.25,3v0.12,4v0.08 fade l 0.004 "$len" "$len"
}

# DING: a short bright chime.
bell "$work/ding.wav" 1318.5 0.3
sox "$work/ding.wav" "$out/DING.wav" norm -1

# Tokeidai: the first quarter of the clock-tower chime (G#4 F#4 E4 B3), each bell ringing into the next.
notes=(415.30 369.99 329.63 246.94)
parts=()
for i in "${!notes[@]}"; do
  bell "$work/n$i.wav" "${notes[$i]}" 1.2
  sox "$work/n$i.wav" "$work/p$i.wav" pad "$(times "$i" 0.55)"
  parts+=("$work/p$i.wav")
done
sox -m "${parts[@]}" "$work/tokei.wav"
sox "$work/tokei.wav" "${format[@]}" "$out/Tokeidai.wav" norm -1

echo "make-sounds: wrote $(ls "$out"/*.wav | wc -l) files to $out"
