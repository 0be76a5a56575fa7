#!/usr/bin/env bash
# Time from starting the launcher to its end when the document type is
# registered and nothing waits to be installed: the delay it adds before the
# editor starts. A copy of the launcher runs beside a stand-in editor that ends
# at once, in a scratch home.
#   bench/launcher_start.sh build
set -euo pipefail
build=$(realpath "${1:-build}")
data=$(mktemp -d "${TMPDIR:-/tmp}/pivolane-launcher-bench.XXXXXX")
trap 'rm -rf "$data"' EXIT
export HOME="$data" XDG_DATA_HOME="$data/data" XDG_CONFIG_HOME="$data/config" XDG_CACHE_HOME="$data/cache"
mkdir "$data/program"
cp "$build/editor/Pivolane" "$data/program/"
printf '#!/bin/sh\nexit 0\n' >"$data/program/pivedit"
chmod +x "$data/program/pivedit"

now() { date +%s%N; }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
elapsed_ms() {
  local t0 t1
  t0=$(now)
  "$data/program/Pivolane" "$@"
  t1=$(now)
  echo $(((t1 - t0) / 1000))
}

first=$(elapsed_ms)
starts=()
for run in $(seq 1 31); do starts+=("$(elapsed_ms "$data/Mes diaporamas/vacances.pvl")"); done
start=$(printf '%s\n' "${starts[@]}" | median)
printf 'first start, registering the type: %d.%03d ms\n' $((first / 1000)) $((first % 1000))
printf 'start with nothing to do:          %d.%03d ms (median of 31)\n' $((start / 1000)) $((start % 1000))
