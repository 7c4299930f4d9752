#!/usr/bin/env bash
# Checks a built deliverable as a host's dynamic loader sees it: exactly four exported names, only the
# client library and libc needed, RUNPATH $ORIGIN, immediate binding, read-only relocations, and a
# stack that is not executable.
set -euo pipefail
lib=$1
name=$2
case $name in
  vxjobc) client=libJOBWIRE.so ;;
  vxjobcssl) client=libJOBWIRESSL.so ;;
  *) echo "unknown deliverable $name"; exit 2 ;;
esac
source "$(dirname "$0")/support/expect.sh"
exported=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort | tr '\n' ' ')
expect "exported names" "$exported" "$(printf '%s\n' "$name" vxbldmk1 vxextent vxextver | sort | tr '\n' ' ')"
dynamic=$(readelf -d "$lib")
needed=$(sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' <<<"$dynamic" | sort | tr '\n' ' ')
expect "needed libraries" "$needed" "$(printf '%s\n' "$client" libc.so.6 | sort | tr '\n' ' ')"
runpath=$(sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p' <<<"$dynamic")
expect "runpath" "$runpath" '$ORIGIN'
grep -q -E '\((FLAGS|FLAGS_1)\).*(BIND_NOW|NOW)' <<<"$dynamic" && now=yes || now=no
expect "immediate binding" "$now" yes
headers=$(readelf -lW "$lib")
grep -q GNU_RELRO <<<"$headers" && relro=yes || relro=no
expect "read-only relocations" "$relro" yes
stack=$(awk '/GNU_STACK/ {print $(NF-1)}' <<<"$headers")
expect "stack flags" "$stack" RW
exit $fail
