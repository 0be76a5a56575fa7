#!/usr/bin/env bash
# The player as a person uses it, on a private X display (run through
# xvfb-run): shows built around the carried player, driven with xdotool.
# Usage: e2e_playback.sh PIVPLAY MAKE_SHOW WRITE_SAMPLES WINDOW_PROBE
set -uo pipefail
pivplay=$1
make_show=$2
write_samples=$3
window_probe=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR"
cd "$work"
"$write_samples" .

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $1"
  fi
}

# The id of the first visible window whose name matches, within $2 seconds
# (20 by default). When none comes, the names of the visible windows go to
# the output, so that a failure tells what was on the screen instead.
find_window() {
  local found
  found=$(timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1)
  if [[ -z $found ]]; then
    local names=()
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      names+=("'$(xdotool getwindowname "$id" 2>/dev/null)'")
    done
    echo "  no window named $1 appeared; visible: ${names[*]:-none}" >&2
  fi
  echo "$found"
}

# Waits up to 5 seconds for window $1 to be named $2 exactly.
named() {
  for _ in $(seq 50); do
    [[ $(xdotool getwindowname "$1" 2>/dev/null) == "$2" ]] && return 0
    sleep 0.1
  done
  echo "  window name: '$(xdotool getwindowname "$1" 2>/dev/null)', expected '$2'"
  return 1
}

# Waits up to $3 seconds (20 by default) for process $1 to end with status $2.
ends_with() {
  for _ in $(seq $((${3:-20} * 10))); do
    if ! kill -0 "$1" 2>/dev/null; then
      wait "$1"
      local status=$?
      [[ $status -eq $2 ]] && return 0
      echo "  ended with status $status, expected $2"
      return 1
    fi
    sleep 0.1
  done
  echo "  still running"
  kill "$1"
  return 1
}

# Waits up to $3 seconds (5 by default) for probe "$1" to print $2.
probe_gives() {
  local seen
  for _ in $(seq $((${3:-5} * 10))); do
    seen=$($window_probe $1)
    [[ $seen == "$2" ]] && return 0
    sleep 0.1
  done
  echo "  seen: '$seen', expected '$2'"
  return 1
}

no_work_folder_left() {
  local left
  left=$(find "$TMPDIR" -mindepth 1 2>/dev/null)
  [[ -z $left ]] || { echo "  left behind: $left"; return 1; }
}

keys() {  # keys WINDOW KEY...
  xdotool windowfocus --sync "$1"
  for key in "${@:2}"; do xdotool key "$key"; done
}

# The accented letter of the passwords below gets a key of its own.
"$window_probe" bind eacute || echo "  no free keycode for é: typing it may fail on a busy machine"

answer_password() {  # answer_password TEXT KEY: types into the password dialog, then KEY
  local dialog
  dialog=$(find_window "^Pivolane$")
  xdotool windowfocus --sync "$dialog"
  xdotool type --delay 40 "$1"
  xdotool key "$2"
}

# Three slides with titles: keys move, Escape ends and leaves nothing behind.
"$make_show" titles.exe --titles "Premier été=red.jpg" "Second=green.gif" "Third=blue.bmp"
./titles.exe & pid=$!
wid=$(find_window "Premier")
check "the first title names the window" named "$wid" "Premier été"
keys "$wid" Right
check "Right shows the second slide" named "$wid" "Second"
keys "$wid" space
check "Space shows the third slide" named "$wid" "Third"
keys "$wid" Left
check "Left goes back" named "$wid" "Second"
keys "$wid" BackSpace
check "Backspace goes back to the first slide" named "$wid" "Premier été"
keys "$wid" Escape
check "Escape ends the program" ends_with "$pid" 0
check "no file is left in the temporary folder" no_work_folder_left

# The timer moves on by itself and the show ends after the last slide.
"$make_show" timed.exe --titles --delay 1 "One=red.jpg" "Two=yellow.ico"
./timed.exe & pid=$!
wid=$(find_window "^One$")
check "a timed show starts on its first slide" named "$wid" "One"
check "the timer shows the next slide" named "$wid" "Two"
check "the show ends after its last slide" ends_with "$pid" 0

# Without titles the caption is the application title; a picture that
# cannot be decoded adds the bad-picture text and the show goes on.
"$make_show" plain.exe --language 0 "x=broken.jpg" "y=red.jpg"
./plain.exe & pid=$!
wid=$(find_window "^Pivolane")
check "a bad picture is named in the caption" named "$wid" "Pivolane : ERREUR: Image incorrecte !"
keys "$wid" Return
check "the next picture has the plain caption" named "$wid" "Pivolane"
keys "$wid" Return
check "Return after the last slide ends the show" ends_with "$pid" 0

# Hostile GIF and BMP pictures get the bad-picture caption, and the show goes on.
"$make_show" hostile.exe --titles --language 1 "Huge=huge.gif" "Cut=cut.bmp" "Fine=red.jpg"
./hostile.exe & pid=$!
wid=$(find_window "^Huge")
check "a GIF too large to decode is a bad picture" named "$wid" "Huge : ERROR: Invalid picture !"
keys "$wid" Right
check "a BMP cut short is a bad picture" named "$wid" "Cut : ERROR: Invalid picture !"
keys "$wid" Right
check "the show goes on after bad pictures" named "$wid" "Fine"
keys "$wid" Escape
check "the hostile show ends on Escape" ends_with "$pid" 0

# Keys pressed while a slide loads are ignored, but Escape ends the show.
"$make_show" slow.exe --titles "One=red.jpg" "Two=green.gif" "Three=slow.bmp" "Four=red.jpg"
./slow.exe & pid=$!
wid=$(find_window "^One$")
keys "$wid" Right Right Right Right  # Two is ready; Three loads while the others come
check "keys pressed while a slide loads are ignored" named "$wid" "Three"
sleep 0.5
check "no key pressed while loading moves on later" named "$wid" "Three"
keys "$wid" Escape
check "the slow show ends on Escape" ends_with "$pid" 0
./slow.exe & pid=$!
wid=$(find_window "^One$")
keys "$wid" Right Right Escape
check "Escape while a slide loads ends the show" ends_with "$pid" 0

# A photograph from a phone held upright shows upright, fitted by its turned
# size; a double-click is one press and moves on once; the pointer hides
# while it is still and comes back when moved.
"$make_show" turned.exe --titles "Phone=turned.jpg" "Next=red.jpg" "Last=blue.bmp"
./turned.exe & pid=$!
wid=$(find_window "^Phone$")
check "a turned photograph shows upright" probe_gives "quarters $wid" "160x320 BRWG"
xdotool mousemove --window "$wid" 600 400 click --repeat 2 --delay 100 1
sleep 1
check "a double-click moves on once" named "$wid" "Next"
check "the pointer hides when still" probe_gives pointer hidden 10
xdotool mousemove --window "$wid" 100 100
check "the pointer comes back when moved" probe_gives pointer shown
keys "$wid" Escape
check "the turned show ends on Escape" ends_with "$pid" 0

# A show with a password: the right one plays it, a wrong one ends it after
# the message, Cancel ends it at once.
"$make_show" locked.exe --titles --password "Sésame" "Secret=red.jpg"
./locked.exe & pid=$!
answer_password "Sésame" Return
wid=$(find_window "^Secret$")
check "the right password plays the show" test -n "$wid"
[[ -n $wid ]] && keys "$wid" Escape
check "the played show ends on Escape" ends_with "$pid" 0

./locked.exe & pid=$!
answer_password "wrong" Return
sleep 0.5
message=$(find_window "^Pivolane$")
check "a wrong password shows a message" test -n "$message"
[[ -n $message ]] && keys "$message" Return
check "after the wrong-password message the program ends" ends_with "$pid" 1

./locked.exe & pid=$!
answer_password "Sésame" Escape
check "Cancel ends the program without playing" ends_with "$pid" 0

# The dialog's buttons answer their Alt mnemonics, in both languages.
"$make_show" english.exe --titles --language 1 --password "pw" "Open=red.jpg"
"$make_show" french.exe --titles --language 0 --password "pw" "Open=red.jpg"
for case in "french.exe alt+a 0" "english.exe alt+c 0"; do
  read -r file key status <<<"$case"
  ./$file & pid=$!
  answer_password "pw" "$key"
  check "$key cancels the password dialog of $file" ends_with "$pid" "$status"
done
./english.exe & pid=$!
answer_password "pw" alt+o
wid=$(find_window "^Open$")
check "alt+o plays the show" test -n "$wid"
[[ -n $wid ]] && keys "$wid" Escape
check "the show opened with alt+o ends on Escape" ends_with "$pid" 0

# The player writes no file anywhere: not in a home that stays empty, not in
# a temporary folder that does not exist, not when it is killed. strace,
# where it runs, also sees that no file is opened for writing at all.
home=$work/home
mkdir -p "$home"
# Through env, so that $! is the program itself, which a kill then reaches.
untouched_env=(env HOME="$home" TMPDIR="$work/missing" XDG_RUNTIME_DIR="$work/missing"
  XDG_CACHE_HOME="$home/.cache" XDG_CONFIG_HOME="$home/.config")
# strace stops the player at its file calls only where seccomp filters work,
# at every call otherwise: a traced player is given more time on a busy machine.
tracer=()
for filter in --seccomp-bpf ""; do
  if command -v strace >/dev/null && strace -f -qq $filter -o /dev/null -e trace=%file true 2>/dev/null; then
    tracer=(strace -f -qq $filter -o "$work/trace" -e trace=%file)
    break
  fi
done
"${untouched_env[@]}" "${tracer[@]}" ./english.exe & pid=$!
dialog=$(find_window "^Pivolane$" 30)
xdotool mousemove --window "$dialog" 200 30 click 1  # a click makes the toolkit read its options
answer_password "pw" Return
wid=$(find_window "^Open$" 30)
[[ -n $wid ]] && keys "$wid" Left Escape
check "a show plays without a temporary folder" ends_with "$pid" 0 30
"${untouched_env[@]}" ./timed.exe & pid=$!
find_window "^One$" >/dev/null
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
untouched() {
  local left
  left=$(find "$home" "$work/missing" -mindepth 1 2>/dev/null)
  [[ -z $left ]] || { echo "  written: $left"; return 1; }
}
check "nothing is written in the home or the temporary folder" untouched
no_write_opened() {
  [[ ${#tracer[@]} -eq 0 ]] && return 0
  local writes
  writes=$(grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|^[0-9]+ +(mkdir|rename|unlink|link|symlink|truncate|creat)' "$work/trace")
  [[ -z $writes ]] || { echo "  $writes"; return 1; }
}
check "no file is opened for writing, no folder made" no_write_opened

# Strong encryption at its default cost: the password opens it after the
# key derivation, which a busy machine may make slow, and the slides play.
"$make_show" strong.exe --titles --cipher 2 --password "open sesame" "Fort=red.jpg" "Second=blue.bmp"
./strong.exe & pid=$!
answer_password "open sesame" Return
wid=$(find_window "^Fort$" 60)
check "the right password plays a strong show" test -n "$wid"
[[ -n $wid ]] && keys "$wid" Right
[[ -n $wid ]] && check "a strong show moves to its second slide" named "$wid" "Second"
[[ -n $wid ]] && keys "$wid" Escape
check "the strong show ends on Escape" ends_with "$pid" 0

# Files that are no show, or a damaged one, say "Invalid file !".
cp "$pivplay" bare.exe
"$make_show" damaged.exe "x=red.jpg"
size=$(stat -c %s damaged.exe)
# PlayerSize (at 148 in the record) far past the end of the file.
printf '\xf0\xff\xff\x7f' | dd of=damaged.exe bs=1 seek=$((size - 156 + 148)) conv=notrunc status=none
for file in bare.exe damaged.exe; do
  ./$file & pid=$!
  message=$(find_window "^Pivolane$")
  check "$file shows a message" test -n "$message"
  [[ -n $message ]] && keys "$message" Return
  check "$file ends as an invalid file" ends_with "$pid" 1
done

# A show without slides ends at once.
"$make_show" empty.exe
./empty.exe & pid=$!
check "a show without slides ends at once" ends_with "$pid" 0
check "no file is left in the temporary folder at the end" no_work_folder_left

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
