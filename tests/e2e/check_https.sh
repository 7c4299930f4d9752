#!/usr/bin/env bash
# check_https.sh VXHOST LIBRARY refused|connects
#
# Runs the demo against an https:// server. The plain build must be refused at entry 22, show the
# client's reason from entry 27 and exit non-zero naming the step; the SSL build must connect and run
# the whole session.
VXHOST=$1
library=$2
expected=$3
source "$(dirname "$0")/check_lib.sh"

run_vxhost --library "$library" --server https://jobs.example --port 8443
out=$out_file
reason='https:// needs an SSL-enabled client'
case $expected in
  refused)
    expect_status 1 "the plain build refuses https://"
    expect_text "$out" '[22] acj_initialize("https://jobs.example", 8443) -> 1' "entry 22 reports the refusal"
    expect_text "$out" "[27] acj_get_error() -> \"$reason\"" "entry 27 gives the client's reason"
    expect_text "$err_file" "failed at [22] acj_initialize: returned 1: $reason" "standard error names the step"
    expect_no_text "$out" '[30]' "no job runs after the refusal"
    expect_match "$out" '^\[6\] destroy\(\) -> 0$' "the instance is still destroyed"
    ;;
  connects)
    expect_status 0 "the SSL build connects to https://"
    expect_text "$out" '[22] acj_initialize("https://jobs.example", 8443) -> 0' "entry 22 connects"
    expect_text "$out" '[57] get_server_host() -> "jobs.example"' "entry 57 skips the https:// scheme"
    expect_text "$out" '[58] get_server_port() -> 8443' "entry 58 gives the port"
    expect_match "$out" '^\[30\] .* -> 0  job id 1000$' "jobs run over the SSL connection"
    expect_no_text "$out" "$reason" "no refusal"
    ;;
  *) echo "expected refused or connects, not $expected"; exit 2 ;;
esac
finish
