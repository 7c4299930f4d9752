#!/usr/bin/env bash
# check_install.sh CMAKE BUILD_DIR STANDIN_OPTION
#
# Installs the build into a fresh prefix and runs the installed vxhost there: the deliverables in lib/,
# the tools in bin/ with RUNPATH $ORIGIN/../lib, the stand-in client libraries only with the option or
# the `standin` component, and an installed vxhost that finds the deliverables beside itself.
cmake=$1
build=$2
standin_option=$3
source "$(dirname "$0")/check_lib.sh"
prefix=$work_dir/prefix
VXHOST=$prefix/bin/vxhost

runpath() { readelf -d "$1" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p'; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
for file in lib/vxjobc.so lib/vxjobcssl.so bin/vxhost; do
  [[ -f $prefix/$file ]] && pass "installs $file" || fail "no $file in the prefix"
done
expect_equal "$(runpath "$prefix/bin/vxhost")" '$ORIGIN/../lib' "vxhost's RUNPATH"
if [[ -f $build/bin/vxstamp ]]; then
  [[ -f $prefix/bin/vxstamp ]] && pass "installs bin/vxstamp" || fail "no bin/vxstamp in the prefix"
fi
expect_equal "$(runpath "$prefix/lib/vxjobc.so")" '$ORIGIN' "vxjobc.so finds its client beside it"
expect_equal "$(runpath "$prefix/lib/vxjobcssl.so")" '$ORIGIN' "vxjobcssl.so finds its client beside it"

if [[ $standin_option != ON ]]; then
  [[ -e $prefix/lib/libJOBWIRE.so ]] && fail "the stand-in client is installed without the option" ||
    pass "no stand-in client without the option"
  # Without a client library the deliverable cannot load; vxhost says which file is missing.
  run_vxhost
  expect_status 2 "the installed vxhost without a client library"
  expect_text "$err_file" "libJOBWIRE.so" "the missing client library is named"
  "$cmake" --install "$build" --prefix "$prefix" --component standin >/dev/null || fail "install the standin component"
fi
for file in lib/libJOBWIRE.so lib/libJOBWIRESSL.so; do
  [[ -f $prefix/$file ]] && pass "stand-in $file installed" || fail "no stand-in $file"
done

run_vxhost
expect_status 0 "the installed vxhost runs the demo"
expect_text "$out_file" "  deliverable       $prefix/lib/vxjobc.so " "it loads the installed vxjobc.so"
run_vxhost --library "$prefix/lib/vxjobcssl.so" --server https://jobs.example --port 8443
expect_status 0 "the installed SSL build connects to https://"
finish
