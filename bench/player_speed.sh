#!/usr/bin/env bash
# How fast the player shows 12-megapixel photographs, against djpeg decoding
# the same picture in full to /dev/null: the next slide (read ahead), the
# previous one (decoded again), the start of a 200 MiB show to its first
# picture, and the player's peak memory. Needs a display: run it through
# xvfb-run, e.g.
#   xvfb-run -a -s "-screen 0 1280x800x24" bench/player_speed.sh build
set -euo pipefail
build=$(realpath "${1:-build}")
here=$(dirname "$(realpath "$0")")
pivtool="$build/tools/pivtool/pivtool"
data=$(mktemp -d "${TMPDIR:-/tmp}/pivolane-player-bench.XXXXXX")
trap 'rm -rf "$data"' EXIT

x_wait="$build/bench/x_wait"
now() { date +%s.%N; }
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
ms() { echo "($2 - $1) * 1000" | bc -l; }

# x_wait watches the display without polling, and tells when a window got
# the name: watch NAME [WINDOW] before the action, then seen_after T0.
watch() {
  "$x_wait" "$@" >"$data/watch" &
  watcher=$!
  until grep -q ready "$data/watch" 2>/dev/null; do sleep 0.01; done
}
seen_after() {
  if ! timeout 20 tail --pid="$watcher" -f /dev/null; then
    echo "player_speed: the expected window never came" >&2
    exit 1
  fi
  ms "$1" "$(tail -n 1 "$data/watch")"
}
window_named() { xdotool search --onlyvisible --name "$1" | head -n 1; }

"$here/photo.py" "$data/photo.ppm"
cjpeg -quality 87 "$data/photo.ppm" > "$data/photo.jpg"
rm "$data/photo.ppm"

djpegs=()
for run in 1 2 3 4 5; do
  t0=$(now)
  djpeg -outfile /dev/null "$data/photo.jpg"
  djpegs+=("$(ms "$t0" "$(now)")")
done
djpeg_ms=$(printf '%s\n' "${djpegs[@]}" | median)

# Slides: the key press, then the new caption. Each slide has a moment on
# screen first, as a viewer gives it, in which the next one is read ahead.
slides=()
for i in 1 2 3 4 5 6 7 8; do
  cp "$data/photo.jpg" "$data/s$i.jpg"
  slides+=("$data/s$i.jpg")
done
"$pivtool" build "$data/slides.exe" --titles --delay 0 "${slides[@]}" >/dev/null
watch s1.jpg
"$data/slides.exe" & pid=$!
seen_after 0 >/dev/null
wid=$(window_named '^s1\.jpg$')
xdotool windowfocus --sync "$wid"
step() {  # step KEY NAME: the time from KEY to the caption NAME
  sleep 0.7
  watch "$2" "$wid"
  local t0
  t0=$(now)
  xdotool key "$1"
  seen_after "$t0"
}
nexts=()
for i in 2 3 4 5 6 7; do nexts+=("$(step Right "s$i.jpg")"); done
previous=()
for i in 6 5 4; do previous+=("$(step Left "s$i.jpg")"); done
peak_kib=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
xdotool key Escape
wait "$pid" || true
next_ms=$(printf '%s\n' "${nexts[@]}" | median)
previous_ms=$(printf '%s\n' "${previous[@]}" | median)

# The start: a 200 MiB show whose first slide is the photograph, then 199
# slides of 1 MiB each.
files=("$data/first.jpg")
cp "$data/photo.jpg" "$data/first.jpg"
for i in $(seq 1 199); do
  head -c 1048576 /dev/urandom > "$data/filler$i.jpg"
  files+=("$data/filler$i.jpg")
done
"$pivtool" build "$data/large.exe" --titles --delay 0 "${files[@]}" >/dev/null
# Each start is paired with a djpeg run just before it, so that the ratio
# compares the two under the same load.
starts=()
start_ratios=()
for run in 1 2 3 4 5 6 7; do
  sync
  t0=$(now)
  djpeg -outfile /dev/null "$data/photo.jpg"
  paired_djpeg=$(ms "$t0" "$(now)")
  watch first.jpg  # the caption that comes with its picture
  t0=$(now)
  "$data/large.exe" & pid=$!
  starts+=("$(seen_after "$t0")")
  start_ratios+=("$(echo "${starts[-1]} / $paired_djpeg" | bc -l)")
  xdotool windowfocus --sync "$(window_named '^first\.jpg$')" key Escape
  wait "$pid" || true
done
start_ms=$(printf '%s\n' "${starts[@]}" | median)
start_ratio=$(printf '%s\n' "${start_ratios[@]}" | median)
start_range=$(printf '%s\n' "${start_ratios[@]}" | sort -g | awk 'NR==1 {lo=$1} {hi=$1} END {printf "%.2f to %.2f", lo, hi}')

ratio() { printf '%.2f' "$(echo "$1 / $djpeg_ms" | bc -l)"; }
printf 'picture: 4000 x 3000 JPEG, %d bytes; show of 200 MiB: %d bytes\n' \
  "$(stat -c %s "$data/photo.jpg")" "$(stat -c %s "$data/large.exe")"
printf 'djpeg of the picture to /dev/null:   %6.1f ms (median of 5)\n' "$djpeg_ms"
printf 'next slide, key to caption:          %6.1f ms  ratio %s (target <= 0.3)\n' "$next_ms" "$(ratio "$next_ms")"
printf 'previous slide, key to caption:      %6.1f ms  ratio %s (target <= 1)\n' "$previous_ms" "$(ratio "$previous_ms")"
printf 'start of the 200 MiB show:           %6.1f ms  ratio %.2f, %s over 7 starts, each against djpeg just before it (target <= 1.5)\n' \
  "$start_ms" "$start_ratio" "$start_range"
printf 'peak memory of the player:           %6.1f MiB (target < 128)\n' "$(echo "$peak_kib / 1024" | bc -l)"
printf 'player size:                         %d bytes\n' "$(stat -c %s "$build/player/pivplay")"
