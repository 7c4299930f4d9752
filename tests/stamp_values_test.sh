#!/usr/bin/env bash
# stamp_values_test.sh SOURCE_DIR
# The values cmake/stamp_values.cmake decides for the build stamp: the moment from SOURCE_DATE_EPOCH in
# the zone TZ names, the release date that follows it, the fallbacks, and the values it refuses.
set -uo pipefail
src=$1
script=$src/cmake/stamp_values.cmake
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
header=$work/stamp_values.h
source "$(dirname "$0")/support/expect.sh"

# stamp [VAR=VALUE...] [-DNAME=VALUE...]: runs the script with only the given environment settings
# (and the default definitions, which later -D options override); returns its status.
stamp() {
  local settings=() defines=(-DOUTPUT="$header" -DSOURCE_DIR="$src" -DVERSION=5.1.1 -DPROCESSOR=x86_64)
  for arg in "$@"; do
    if [[ $arg == -D* ]]; then defines+=("$arg"); else settings+=("$arg"); fi
  done
  env -u SOURCE_DATE_EPOCH -u TZ "${settings[@]}" cmake "${defines[@]}" -P "$script" >"$work/log" 2>&1
}

value() { sed -n "s/^#define VX_STAMP_$1 \"\{0,1\}\([^\"]*\)\"\{0,1\}$/\1/p" "$header"; }

# The moment in local time, including zones that put the date on another day, and a zone the text
# cannot hold (not three letters), which is written in UTC instead.
while IFS='|' read -r epoch zone date release; do
  rm -f "$header"
  stamp SOURCE_DATE_EPOCH="$epoch" TZ="$zone" || { echo "FAIL stamp $epoch $zone"; cat "$work/log"; fail=1; continue; }
  expect "build_time of $epoch in $zone" "$(value BUILD_TIME)" "$epoch"
  expect "build_date of $epoch in $zone" "$(value BUILD_DATE)" "$date"
  expect "release of $epoch in $zone" "$(value RELEASE)" "$release"
done <<'CASES'
1700000000|UTC|Tue Nov 14 22:13:20 UTC 2023|5.1.1.VXJ.20231114
1700000000|XYZ-3|Wed Nov 15 01:13:20 XYZ 2023|5.1.1.VXJ.20231115
1696118400|UTC|Sun Oct  1 00:00:00 UTC 2023|5.1.1.VXJ.20231001
1696118400|ABC+5|Sat Sep 30 19:00:00 ABC 2023|5.1.1.VXJ.20230930
1696118400|ABCD+5|Sun Oct  1 00:00:00 UTC 2023|5.1.1.VXJ.20231001
1696118400|<+0530>-5:30|Sun Oct  1 00:00:00 UTC 2023|5.1.1.VXJ.20231001
0|UTC|Thu Jan  1 00:00:00 UTC 1970|5.1.1.VXJ.19700101
CASES

# Without SOURCE_DATE_EPOCH the moment is now.
before=$(date +%s)
stamp TZ=UTC
after=$(date +%s)
moment=$(value BUILD_TIME)
if [[ $moment =~ ^[0-9]+$ ]] && ((moment >= before && moment <= after)); then
  printf 'ok   build_time is now\n'
else
  printf 'FAIL build_time %s is not between %s and %s\n' "$moment" "$before" "$after"
  fail=1
fi

# Platform codes per processor.
stamp SOURCE_DATE_EPOCH=0 -DPROCESSOR=x86_64
expect "platform of x86_64" "$(value PLATFORM)" lnxx8
stamp SOURCE_DATE_EPOCH=0 -DPROCESSOR=aarch64
expect "platform of aarch64" "$(value PLATFORM)" lnxa8

# The revision: given, from git, or the all-zero id outside a work tree.
stamp SOURCE_DATE_EPOCH=0 -DREVISION_ID=vxjobs/rel-5-1-1-ab
expect "given revision" "$(value REVISION_ID)" vxjobs/rel-5-1-1-ab
mkdir "$work/no-git"
stamp SOURCE_DATE_EPOCH=0 -DSOURCE_DIR="$work/no-git"
expect "revision outside git" "$(value REVISION_ID)" vxjobs/000000000000
if commit=$(git -C "$src" rev-parse --verify --quiet HEAD 2>/dev/null); then
  stamp SOURCE_DATE_EPOCH=0
  expect "revision from git" "$(value REVISION_ID)" "vxjobs/${commit:0:12}"
fi

# An unchanged header is left alone, so that nothing depending on it is rebuilt.
stamp SOURCE_DATE_EPOCH=1700000000 TZ=UTC
touch -d '2001-02-03 04:05:06' "$header"
stamp SOURCE_DATE_EPOCH=1700000000 TZ=UTC
expect "unchanged header keeps its time" "$(date -r "$header" +%F)" 2001-02-03
stamp SOURCE_DATE_EPOCH=1700000001 TZ=UTC
expect "changed header is rewritten" "$(value BUILD_TIME)" 1700000001

# Values that would not fit the stamp stop the build.
while IFS='|' read -r what setting; do
  if stamp SOURCE_DATE_EPOCH=0 "$setting"; then
    printf 'FAIL accepted %s\n' "$what"
    fail=1
  else
    printf 'ok   refuses %s: %s\n' "$what" "$(grep -m1 -o 'stamp value.*\|SOURCE_DATE_EPOCH must.*\|no platform.*' "$work/log")"
  fi
done <<'CASES'
a release longer than 18 characters|-DVERSION=5.10.1
a revision of the wrong length|-DREVISION_ID=vxjobs/abc
a revision with other characters|-DREVISION_ID=vxjobs/abc_def.12345
an unknown processor|-DPROCESSOR=sparc64
a SOURCE_DATE_EPOCH that is no number|SOURCE_DATE_EPOCH=yesterday
CASES

exit $fail
