#!/usr/bin/env bash
# valgrind_suites.sh SOURCE_DIR BUILD_DIR
# Runs every GoogleTest program of a build, and the fuzz replay programs over their inputs, under
# valgrind memcheck: any invalid access, use of uninitialised memory or definite leak fails the run.
set -euo pipefail
src=$1
build=$2
supp="$src/tests/reliability/valgrind.supp"
vg=(valgrind -q --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite
    --track-origins=yes --suppressions="$supp")
status=0
run() {  # run NAME COMMAND...
  local name=$1 log start
  shift
  log=$(mktemp)
  start=$SECONDS
  if "${vg[@]}" "$@" >"$log" 2>&1; then
    printf 'ok    %-28s %4ds\n' "$name" $((SECONDS - start))
  else
    printf 'FAIL  %-28s %4ds\n' "$name" $((SECONDS - start))
    grep -v -E '^\[( |-|=)' "$log" | tail -60
    status=1
  fi
  rm -f "$log"
}
shopt -s nullglob
for program in "$build"/bin/*_test; do
  run "$(basename "$program")" "$program" --gtest_brief=1
done
for target in fuzz_entries fuzz_conversion; do
  [[ -x "$build/bin/${target}_replay" ]] || continue
  run "${target}_replay" "$build/bin/${target}_replay" "$src/fuzz/corpus/$target" "$src/fuzz/regressions/$target"
done
exit $status
