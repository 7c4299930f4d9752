#!/usr/bin/env bash
# check_script.sh VXHOST LIBRARY ENCODING SCRIPT
#
# Runs SCRIPT with vxhost and checks that it succeeds and that its transcript contains every text the
# script states on its `#> ` lines.
VXHOST=$1
library=$2
encoding=$3
script=$4
source "$(dirname "$0")/check_lib.sh"

run_vxhost --library "$library" --encoding "$encoding" --script "$script"
expect_status 0 "$(basename "$script") on $(basename "$library") in $encoding"
expected=0
while IFS= read -r line; do
  [[ $line == '#> '* ]] || continue
  expected=$((expected + 1))
  expect_text "$out_file" "${line#\#> }" "line $expected of the expected transcript"
done <"$script"
[[ $expected -gt 0 ]] || fail "$script states no expected transcript lines"
expect_match "$out_file" '^ +pool "vxjobs Pool": [0-9]+ blocks allocated, pool destroyed, 0 pool errors$' \
  "the instance's pool is destroyed without errors"
finish
