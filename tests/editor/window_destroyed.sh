#!/usr/bin/env bash
# The editor on a private X display (run through xvfb-run): when another
# client destroys its main window, it ends and leaves no working file, as when
# its display goes away.
# Usage: window_destroyed.sh PIVEDIT PIVTOOL WRITE_SAMPLES SCRATCH_FOLDER
set -euo pipefail
pivedit=$1
pivtool=$2
write_samples=$3
scratch=$4

rm -rf "$scratch"
mkdir -p "$scratch"/{home,config,cache,data,tmp,runtime,pictures}
chmod 700 "$scratch/runtime"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_CACHE_HOME=$scratch/cache \
  XDG_DATA_HOME=$scratch/data XDG_RUNTIME_DIR=$scratch/runtime TMPDIR=$scratch/tmp
unset QT_QPA_PLATFORM

"$write_samples" "$scratch/pictures"
"$pivtool" create "$scratch/show.pvl" "$scratch/pictures/red.jpg" "$scratch/pictures/green.gif" \
  >/dev/null

"$pivedit" "$scratch/show.pvl" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pivolane - \[show\]$' | head -n 1)
if [[ -z $(find "$XDG_RUNTIME_DIR" -type f -name 'Pivolane*') ]]; then
  echo "FAIL: the open show has no working files"
  kill "$pid"
  exit 1
fi

# xdotool's windowclose destroys the window itself (XDestroyWindow);
# windowkill would close the editor's whole connection instead.
xdotool windowclose "$window"
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "FAIL: the editor still runs without its window"
  kill "$pid"
  exit 1
fi
status=0
wait "$pid" || status=$?
left=$(find "$XDG_RUNTIME_DIR" "$TMPDIR" -type f)
if [[ $status -ne 1 || -n $left ]]; then
  echo "FAIL: ended with status $status (expected 1), left behind: ${left:-nothing}"
  exit 1
fi
echo "passed"
