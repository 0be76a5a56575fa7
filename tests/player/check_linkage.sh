#!/usr/bin/env bash
# The player must start on desktops that have nothing of ours installed: it
# may ask the system only for the C library and the X11 and font libraries,
# and for no C library symbol newer than its start-up code needs.
set -euo pipefail
player=$1
newest_allowed=2.34
failures=0

allowed='^(libc\.so\.6|libm\.so\.6|ld-linux-x86-64\.so\.2|libX(11|ext|ft|render|cursor|fixes|inerama)\.so\.[0-9]+|libfontconfig\.so\.1|libfreetype\.so\.6)$'
needed=$(objdump -p "$player" | awk '$1 == "NEEDED" { print $2 }')
for library in $needed; do
  if ! [[ $library =~ $allowed ]]; then
    echo "FAIL: $player needs $library, which is not on the allow-list"
    failures=$((failures + 1))
  fi
done

newest=$(objdump -T "$player" | grep -o 'GLIBC_[0-9][0-9.]*' | sed 's/GLIBC_//' | sort -uV | tail -n 1)
if [[ $(printf '%s\n%s\n' "$newest" "$newest_allowed" | sort -V | tail -n 1) != "$newest_allowed" ]]; then
  echo "FAIL: $player needs GLIBC_$newest, newer than GLIBC_$newest_allowed:"
  objdump -T "$player" | grep -F "GLIBC_$newest"
  failures=$((failures + 1))
fi

# The bare player has no show behind it: it refuses its own file, which
# throws and catches an exception through the wrapped unwinder support, then
# ends for want of a display. A crash would end it by a signal instead.
status=0
env -u DISPLAY "$player" >/dev/null 2>&1 || status=$?
if [[ $status -ne 1 ]]; then
  echo "FAIL: the bare player without a display ended with status $status, not 1"
  failures=$((failures + 1))
fi

echo "NEEDED: $(echo $needed)"
echo "newest GLIBC symbol version: $newest"
echo "$((3 - failures)) passed, $failures failed"
[[ $failures -eq 0 ]]
