#!/usr/bin/env bash
# lint.sh format SOURCE_DIR          clang-format finds nothing to change in the project's own code
# lint.sh tidy SOURCE_DIR BUILD_DIR  clang-tidy (the checks of .clang-tidy) is clean on src/
set -euo pipefail
mode=$1
src=$2
cd "$src"
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'sim/*.cpp' 'sim/*.h' 'tests/*.cpp' 'tests/*.h' \
  'tools/*.cpp' 'tools/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' 2>/dev/null || true)
if [[ ${#files[@]} -eq 0 ]]; then
  mapfile -t files < <(find src sim tests tools bench fuzz -name '*.cpp' -o -name '*.h' 2>/dev/null)
fi
case $mode in
  format)
    clang-format --dry-run --Werror "${files[@]}"
    echo "format clean: ${#files[@]} files"
    ;;
  tidy)
    build=$3
    mapfile -t sources < <(printf '%s\n' "${files[@]}" | grep -E '^src/.*\.cpp$')
    status=0
    output=$(clang-tidy --quiet -p "$build" "${sources[@]}" 2>&1) || status=$?
    grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated' <<<"$output" || true
    [[ $status -eq 0 ]] && echo "tidy clean: ${#sources[@]} files"
    exit $status
    ;;
  *) echo "usage: lint.sh format|tidy SOURCE_DIR [BUILD_DIR]"; exit 2 ;;
esac
