#!/usr/bin/env bash
# Run through xvfb-run: when another client destroys the editor's main window,
# the editor ends as when its display goes away, leaving no working file.
# Usage: window_destroyed.sh PIVEDIT PIVTOOL WRITE_SAMPLES SCRATCH_FOLDER
set -euo pipefail
scratch=$4
rm -rf "$scratch"
mkdir -p "$scratch"/{home,config,cache,data,tmp,runtime,pictures}
chmod 700 "$scratch/runtime"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_CACHE_HOME=$scratch/cache \
  XDG_DATA_HOME=$scratch/data XDG_RUNTIME_DIR=$scratch/runtime TMPDIR=$scratch/tmp
unset QT_QPA_PLATFORM
"$3" "$scratch/pictures"
"$2" create "$scratch/show.pvl" "$scratch/pictures/red.jpg" "$scratch/pictures/green.gif" >/dev/null

"$1" "$scratch/show.pvl" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pivolane - \[show\]$' | head -n 1)
opened=$(find "$XDG_RUNTIME_DIR" -type f -name 'Pivolane*' | wc -l)
# windowclose destroys the window itself (windowkill would end the connection).
xdotool windowclose "$window"
status=0
timeout 10 tail --pid="$pid" -f /dev/null || { kill "$pid"; echo "FAIL: still running"; exit 1; }
wait "$pid" || status=$?
left=$(find "$XDG_RUNTIME_DIR" "$TMPDIR" -type f)
if [[ $opened -ne 2 || $status -ne 1 || -n $left ]]; then
  echo "FAIL: $opened working files, ended with status $status, left: ${left:-nothing}"
  exit 1
fi
