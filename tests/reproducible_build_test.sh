#!/usr/bin/env bash
# reproducible_build_test.sh SOURCE_DIR VXSTAMP
# Two clean builds of the deliverables from the same sources in different directories, with the same
# SOURCE_DATE_EPOCH and TZ, must be identical byte for byte and carry the moment SOURCE_DATE_EPOCH names.
# Only the deliverables (and the client libraries they link) are built.
set -euo pipefail
src=$1
vxstamp=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1700000000 TZ=UTC
unset CFLAGS CXXFLAGS LDFLAGS

# Copy the tree once and then copy the copy, so that both builds see the same sources even while the
# original is being edited. Each copy gets its build directory inside, as the presets lay it out.
trees=("$work/a/vxjobs" "$work/second-checkout/elsewhere/vxjobs")
mkdir -p "${trees[@]}"
tar -C "$src" --exclude=./build --exclude='./build-*' -cf - . | tar -C "${trees[0]}" -xf -
cp -a "${trees[0]}/." "${trees[1]}/"

start=$SECONDS
for tree in "${trees[@]}"; do
  cmake -S "$tree" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVXJOBS_TESTS=OFF \
    >"$tree/configure.log" 2>&1 || { cat "$tree/configure.log"; exit 1; }
  cmake --build "$tree/build" -j2 --target vxjobc vxjobcssl >"$tree/build.log" 2>&1 ||
    { cat "$tree/build.log"; exit 1; }
done
echo "two builds took $((SECONDS - start)) s"

fail=0
# expect_field NUMBER NAME VALUE: vxstamp show printed that line for the library in $lib.
expect_field() {
  if grep -qxF -- "$(printf '%2d %-24s %s' "$1" "$2" "$3")" <<<"$shown"; then
    printf 'ok   %s %s is %s\n' "$lib" "$2" "$3"
  else
    printf 'FAIL %s %s is not %s:\n%s\n' "$lib" "$2" "$3" "$shown"
    fail=1
  fi
}
for lib in vxjobc.so vxjobcssl.so; do
  one=${trees[0]}/build/lib/$lib
  two=${trees[1]}/build/lib/$lib
  if cmp -s "$one" "$two"; then
    printf 'ok   %s identical in both builds (%s bytes)\n' "$lib" "$(stat -c %s "$one")"
  else
    printf 'FAIL %s differs between the builds: %s bytes differ\n' "$lib" "$(cmp -l "$one" "$two" | wc -l)"
    fail=1
  fi
  shown=$("$vxstamp" show "$one")
  expect_field 3 build_time 1700000000
  expect_field 16 build_date '"Tue Nov 14 22:13:20 UTC 2023"'
  expect_field 0 release '"5.1.1.VXJ.20231114"'
done
exit $fail
