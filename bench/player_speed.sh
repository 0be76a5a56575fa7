#!/usr/bin/env bash
# Time from starting a 200 MiB self-running show to its first slide on screen,
# against cp of the same file. Needs a display: run it through xvfb-run, e.g.
#   xvfb-run -a -s "-screen 0 1280x800x24" bench/player_start.sh build
set -euo pipefail
build=$(realpath "${1:-build}")
pivtool="$build/tools/pivtool/pivtool"
data=$(mktemp -d "${TMPDIR:-/tmp}/pivolane-player-bench.XXXXXX")
trap 'rm -rf "$data"' EXIT

# The first slide is a real picture; the other 199 are 1 MiB each.
cp "$build/demo/Coucher de soleil.bmp" "$data/first.bmp"
for i in $(seq 1 199); do head -c 1048576 /dev/urandom > "$data/filler$i.jpg"; done
files=("$data/first.bmp")
for i in $(seq 1 199); do files+=("$data/filler$i.jpg"); done
"$pivtool" build "$data/show.exe" --titles --delay 0 "${files[@]}" >/dev/null
size=$(stat -c %s "$data/show.exe")

now() { date +%s.%N; }
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

starts=()
copies=()
for run in 1 2 3 4 5; do
  sync
  t0=$(now)
  "$data/show.exe" & pid=$!
  # Polled finely: xdotool's own --sync waits half a second between looks.
  wid=""
  until [[ -n "$wid" ]]; do
    wid=$(xdotool search --onlyvisible --name '^first\.bmp$' 2>/dev/null | head -n 1 || true)
  done
  t1=$(now)
  xdotool windowfocus --sync "$wid" key Escape
  wait "$pid" || true
  starts+=("$(echo "$t1 - $t0" | bc -l)")

  rm -f "$data/copy.exe"
  t0=$(now)
  cp "$data/show.exe" "$data/copy.exe"
  t1=$(now)
  copies+=("$(echo "$t1 - $t0" | bc -l)")
done

start=$(printf '%s\n' "${starts[@]}" | median)
copy=$(printf '%s\n' "${copies[@]}" | median)
player=$(stat -c %s "$build/player/pivplay")
printf 'show size:                %d bytes\n' "$size"
printf 'player size:              %d bytes\n' "$player"
printf 'start to first slide:     %.3f s (median of 5)\n' "$start"
printf 'cp of the same file:      %.3f s (median of 5)\n' "$copy"
printf 'ratio start / cp:         %.2f\n' "$(echo "$start / $copy" | bc -l)"
