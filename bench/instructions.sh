#!/usr/bin/env bash
# instructions.sh ICOUNT_BINARY [OUTPUT_DIR] [DELIVERABLE]
#
# Instructions per call of every benchmark case, through the entry and as its baseline, in a UTF-8 and an
# ISO-8859-1 session. Each measurement runs the driver under callgrind twice, with N1 and N2 calls; the
# difference of the two totals divided by N2 - N1 is the cost of one call, with loading, set-up and
# warm-up cancelled out. Callgrind counts instructions, so the figures repeat exactly from run to run.
# The callgrind files stay in OUTPUT_DIR (default ./callgrind) for callgrind_annotate.
set -euo pipefail

icount=${1:?usage: instructions.sh ICOUNT_BINARY [OUTPUT_DIR] [DELIVERABLE]}
out=${2:-callgrind}
deliverable=${3:-vxjobc}
sessions=(utf-8 iso-8859-1)
sides=(baseline entry)
mkdir -p "$out"

# Calls per run: short texts take thousands of instructions a call, a 1 MiB text millions.
calls_for() { if [[ $1 -eq 0 ]]; then echo "1000 2000"; else echo "4 8"; fi; }

mapfile -t cases < <("$icount" --list)

jobs=()
for line in "${cases[@]}"; do
  read -r name _ bytes <<<"$line"
  for session in "${sessions[@]}"; do
    for side in "${sides[@]}"; do
      for n in $(calls_for "$bytes"); do jobs+=("$name $session $side $n"); done
    done
  done
done

run_one() {
  local name=$1 session=$2 side=$3 n=$4
  valgrind --tool=callgrind --callgrind-out-file="$out/$name.$session.$side.$n.out" \
    "$icount" "$name" "$session" "$side" "$n" "$deliverable" >/dev/null 2>"$out/$name.$session.$side.$n.log"
}
export -f run_one
export icount out deliverable
printf '%s\n' "${jobs[@]}" | xargs -P "$(nproc)" -L 1 bash -c 'run_one "$@"' _

total() { awk '/^(summary|totals):/ { print $2; exit }' "$1"; }
per_call() {
  local name=$1 session=$2 side=$3 n1=$4 n2=$5
  local t1 t2
  t1=$(total "$out/$name.$session.$side.$n1.out")
  t2=$(total "$out/$name.$session.$side.$n2.out")
  awk -v a="$t1" -v b="$t2" -v n="$((n2 - n1))" 'BEGIN { printf "%.1f", (b - a) / n }'
}

printf '| %-20s | %5s | %-10s | %16s | %16s | %12s | %6s |\n' case entry session "baseline instr" "entry instr" overhead ratio
printf '|%s|%s|%s|%s|%s|%s|%s|\n' ---------------------- -------: ------------ -----------------: -----------------: -------------: -------:
for line in "${cases[@]}"; do
  read -r name number bytes <<<"$line"
  read -r n1 n2 <<<"$(calls_for "$bytes")"
  for session in "${sessions[@]}"; do
    b=$(per_call "$name" "$session" baseline "$n1" "$n2")
    e=$(per_call "$name" "$session" entry "$n1" "$n2")
    awk -v name="$name" -v number="$number" -v session="$session" -v b="$b" -v e="$e" 'BEGIN {
      printf "| %-20s | %5d | %-10s | %16.1f | %16.1f | %12.1f | %6.4f |\n", name, number, session, b, e, e - b, e / b }'
  done
done
