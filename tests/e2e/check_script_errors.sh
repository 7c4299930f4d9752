#!/usr/bin/env bash
# check_script_errors.sh VXHOST LIBRARY BAD_SCRIPT_FILE
#
# Scripts that must not run: each bad line is reported with its line number and a clear reason, vxhost
# exits with 2 and calls no entry (the whole script is checked first). A call that fails without `try`
# ends the script with exit status 1, naming the line and the entry.
VXHOST=$1
library=$2
bad_file=$3
source "$(dirname "$0")/check_lib.sh"

good='acj_initialize "http://jobs.example" 8080'

# bad_script LINE MESSAGE SCRIPT: SCRIPT on standard input is refused at LINE with MESSAGE.
bad_script() {
  local line=$1 message=$2 script=$3
  local what="line $line of: $(printf '%s' "$script" | tail -n 1)"
  (cd "$work_dir" && printf '%s\n' "$script" | "$VXHOST" --library "$library" --script -) >"$out_file" 2>"$err_file"
  status=$?
  expect_status 2 "$what"
  expect_text "$err_file" "vxhost: <stdin>:$line: $message" "$what: reason"
  expect_no_text "$out_file" '[' "$what: no entry called"
}

nl=$'\n'
bad_script 2 "unknown entry 'acj_initialise'" "$good${nl}acj_initialise \"x\" 1"
bad_script 2 'acj_set_credentials takes 2 arguments, found 1: acj_set_credentials USER PASSWORD' \
  "$good${nl}acj_set_credentials \"me\""
bad_script 2 'acj_set_timeout takes 1 argument, found 2' "$good${nl}acj_set_timeout 1 2"
bad_script 3 'column 16: the text is not closed' "# comment${nl}${nl}acj_initialize \"http://jobs.example 8080"
bad_script 1 "column 20: unexpected character ':' (texts are written in double quotes)" \
  'acj_initialize http://jobs.example 8080'
bad_script 1 "unexpected word 'nightly' (texts are written in double quotes)" 'acj_terminate_job nightly'
bad_script 1 'column 18: unknown escape \q' 'acj_set_orbenv "a\qb"'
bad_script 1 'argument 2 of acj_initialize (port) must be a number' 'acj_initialize "x" "8080"'
bad_script 1 'argument 2 of acj_initialize (port) does not fit in 32 bits' 'acj_initialize "x" 4294967296'
bad_script 1 "expected ',' or '}' in a pair array" 'rta_run2 {"a"="b" "c"="d"}'
bad_script 1 "expected '=' between a pair's name and value" 'rta_run2 {"a" "b"}'
bad_script 1 '$job is not kept by an earlier line' 'acj_get_job_status $job'
bad_script 1 'argument 1 of acj_get_input_names (params) must be a response handle' 'acj_get_input_names "params"'
bad_script 1 'acj_initialize gives nothing to keep' "$good -> \$r"
bad_script 2 'the instance was destroyed on line 1' "destroy${nl}get_version"
bad_script 1 "column 22: unexpected character ';'" 'acj_initialize "x" 80; acj_terminate'

# A bad line in a file is reported with the file's name.
run_vxhost --library "$library" --script "$bad_file"
expect_status 2 "$(basename "$bad_file")"
expect_text "$err_file" "$bad_file:5: unknown entry 'acj_run_profile_job'" "the file and line of the bad line"
expect_no_text "$out_file" '[22]' "no line of the file ran"

# A failed call without `try` ends the session: exit 1, the line and the entry named.
printf '%s\n' "$good" 'acj_set_credentials "me" ""' 'acj_terminate' | (cd "$work_dir" && "$VXHOST" --library "$library" --script -) >"$out_file" 2>"$err_file"
status=$?
expect_status 1 "a failed call without try"
expect_text "$err_file" 'failed at <stdin>:2: [24] acj_set_credentials: returned 7' "the failing line and entry"
expect_no_text "$out_file" '[26]' "the lines after it do not run"
finish
