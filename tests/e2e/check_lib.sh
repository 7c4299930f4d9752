# Shared by the end-to-end checks: run vxhost, then state facts about what it printed. Every failed
# fact is reported; at the end the output is shown once so a failure can be read without a rerun.
set -uo pipefail

failures=0
out_file=$(mktemp)
err_file=$(mktemp)
work_dir=$(mktemp -d)
trap 'rm -rf "$out_file" "$err_file" "$work_dir"' EXIT

# run_vxhost ARGS...: runs vxhost in a private working directory; sets $status.
run_vxhost() {
  (cd "$work_dir" && "$VXHOST" "$@") >"$out_file" 2>"$err_file"
  status=$?
}

fail() {
  printf 'FAIL %s\n' "$*"
  failures=$((failures + 1))
}

pass() { printf 'ok   %s\n' "$*"; }

# expect_status WANTED WHAT
expect_status() {
  if [[ $status -eq $1 ]]; then pass "$2 (exit status $1)"; else fail "$2: exit status $status, expected $1"; fi
}

# expect_text FILE TEXT WHAT: FILE contains TEXT as a fixed string.
expect_text() {
  if grep -qF -- "$2" "$1"; then pass "$3"; else fail "$3: no line contains: $2"; fi
}

# expect_no_text FILE TEXT WHAT
expect_no_text() {
  if grep -qF -- "$2" "$1"; then fail "$3: a line contains: $2"; else pass "$3"; fi
}

# expect_match FILE REGEX WHAT: a line of FILE matches the extended regular expression.
expect_match() {
  if grep -qE -- "$2" "$1"; then pass "$3"; else fail "$3: no line matches: $2"; fi
}

# expect_equal GOT WANTED WHAT
expect_equal() {
  if [[ "$1" == "$2" ]]; then pass "$3"; else printf 'FAIL %s\n  got:      %s\n  expected: %s\n' "$3" "$1" "$2"; failures=$((failures + 1)); fi
}

finish() {
  if [[ $failures -gt 0 ]]; then
    printf '\n%d check(s) failed. vxhost printed on standard output:\n' "$failures"
    cat "$out_file"
    printf -- '--- and on standard error:\n'
    cat "$err_file"
    exit 1
  fi
}
