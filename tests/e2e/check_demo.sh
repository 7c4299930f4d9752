#!/usr/bin/env bash
# check_demo.sh VXHOST LIBRARY|default ENCODING TEXTS
#
# Runs the embedded demo on one deliverable in one session encoding and checks the facts that matter:
# every entry of the interface called, the two job ids, job 1000 moving queued -> running -> completed,
# the upper-cased output table, the split name, the workflow greeting, non-ASCII texts making the round
# trip unchanged (TEXTS names the demo's text set for the encoding), and a clean pool at the end.
# `default` runs vxhost without --library, so it must find vxjobc.so in ../lib by itself.
VXHOST=$1
library=$2
encoding=$3
texts=$4
source "$(dirname "$0")/check_lib.sh"

args=(--encoding "$encoding")
[[ $library != default ]] && args+=(--library "$library")
run_vxhost "${args[@]}"
expect_status 0 "demo on $library in $encoding"
out=$out_file

expect_text "$out" "  session encoding  $encoding " "the transcript names the session encoding"
if [[ $library == default ]]; then
  expect_match "$out" '^  deliverable +/.*/lib/vxjobc\.so \(entry export vxjobc,' "vxhost finds vxjobc.so in ../lib"
else
  expect_text "$out" "  deliverable       $library " "the transcript names the deliverable"
fi

# Every operation entry of the interface record: 3, 4, 6 and 22 to 72.
wanted=$( (printf '%s\n' 3 4 6; seq 22 72) | tr '\n' ' ')
called=$(grep -oE '^\[[0-9]+\]' "$out" | tr -d '[]' | sort -n -u | tr '\n' ' ')
expect_equal "$called" "$wanted" "the demo calls every operation entry"

# Entry 57 skips the scheme by comparing the bytes of the server text as the host gave it: in EBCDIC
# those are not ASCII's, so the whole text comes back.
host='"jobs.example"'
[[ $encoding == IBM037 ]] && host='"http://jobs.example"'
expect_text "$out" "[57] get_server_host() -> $host" "entry 57 reads the server text as the host gave it"

expect_match "$out" '^\[30\] acj_run_prof_job\(.*\) -> 0  job id 1000$' "the profile job gets id 1000"
expect_match "$out" '^\[31\] acj_run_arch_job\(.*\) -> 0  job id 1001$' "the architect job gets id 1001"
expect_text "$out" '[29] acj_joblist(-1, &count, 0) -> 2 items: "1000", "1001"' "the job list holds both jobs"

# Job 1000's states as the status item and the status queries report them, repeats squeezed.
states=$(grep -E '^\[3[23]\] .*"1000"' "$out" | grep -oE 'state [0-9] [a-z]+' | awk '{print $3}' | uniq |
  tr '\n' ' ')
expect_equal "$states" "queued running completed " "job 1000 moves queued -> running -> completed"
expect_match "$out" '^\[32\] acj_get_job_status\("1001", &state\) -> 0  state 4 terminated$' \
  "job 1001 is terminated"
expect_text "$out" '[27] acj_get_error() -> "job 1000 already finished"' "the client's reason for a refused stop"
expect_text "$out" '[27] acj_get_error() -> "log of job 1000 was deleted"' "the client's reason for a deleted log"
expect_text "$out" '[49] rta_get_error(&code, &origin) -> "wrong field index: 7", code "E11", origin "rta_output_fieldinfo"' \
  "the real-time error texts"

case $texts in
  latin)
    pair='"Straße"="München"'; log_line='| parameter Straße = München'
    upper='^ +MÜNCHEN +KÖNIGSTRASSE$'; split='^ +José María +García$'; greeting='"greeting"="Bonjour, Zoë !"'
    ;;
  japanese)
    pair='"住所"="東京都"'; log_line='| parameter 住所 = 東京都'
    upper='^ +東京 TOKYO +銀座通り GINZA$'; split='^ +山田 +太郎$'; greeting='"greeting"="こんにちは、花子さん"'
    ;;
  mixed)
    pair='"Straße"="München"'; log_line='| parameter 住所 = 東京都'
    upper='^ +東京 TOKYO +銀座通り GINZA$'; split='^ +José María +García$'; greeting='"greeting"="こんにちは、山田さん"'
    ;;
  *) echo "unknown text set $texts"; exit 2 ;;
esac
# The pairs go out in the session encoding, reach the client as UTF-8 (its log shows them) and are
# printed from the session encoding again: both must read as written.
expect_match "$out" "^\[30\] .*\{$pair" "the job's pairs as the host passed them"
expect_text "$out" "$log_line" "the job log shows the pairs as the client received them"
expect_match "$out" "$upper" "the upper service's output table, upper-cased and aligned"
expect_match "$out" "$split" "split_name splits the full name at its last blank"
expect_text "$out" "$greeting" "the workflow's greeting output"

expect_match "$out" '^ +pool "vxjobs Pool": [0-9]+ blocks allocated, pool destroyed, 0 pool errors$' \
  "the instance's pool is destroyed without errors"
expect_equal "$(cat "$err_file")" "" "nothing on standard error"
finish
