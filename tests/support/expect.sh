# Shared by the shell checks: `expect WHAT ACTUAL EXPECTED` reports one fact and records a failure in
# $fail, which the check ends with (`exit $fail`).
fail=0
expect() {
  if [[ "$2" != "$3" ]]; then
    printf 'FAIL %s\n  got:      %s\n  expected: %s\n' "$1" "$2" "$3"
    fail=1
  else
    printf 'ok   %s\n' "$1"
  fi
}
