#!/bin/sh
# Medians of two builds of one benchmark side by side, for instance the main branch's field_bench
# and this branch's: bench/compare.sh BEFORE AFTER [FILTER] [ROUNDS] [REPETITIONS]. The two run in
# turns, each round with the repetitions (9 unless told), so that a busy machine weighs on both
# alike; the table gives each benchmark's median CPU time over all rounds, in the benchmark's own
# unit, and the after/before ratio.
set -eu
before=$1
after=$2
filter=${3:-.}
rounds=${4:-3}
repetitions=${5:-9}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

run() {
    "$1" --benchmark_filter="$filter" --benchmark_repetitions="$repetitions" \
        --benchmark_format=csv 2>/dev/null | grep -v '_mean\|_median\|_stddev\|_cv' |
        grep '^"' >>"$2"
}

i=0
while [ "$i" -lt "$rounds" ]; do
    run "$before" "$out/before"
    run "$after" "$out/after"
    i=$((i + 1))
done

# name,iterations,real_time,cpu_time,...: the median CPU time of each name.
medians() {
    sort -t, -k1,1 -k4,4g "$1" | awk -F, '
        { n[$1]++; v[$1, n[$1]] = $4 }
        END { for (k in n) { m = n[k]; mid = int((m + 1) / 2);
              med = (m % 2) ? v[k, mid] : (v[k, mid] + v[k, mid + 1]) / 2;
              print k "," med } }' | sort
}

medians "$out/before" >"$out/b"
medians "$out/after" >"$out/a"
unit=$(head -n 1 "$out/after" | cut -d, -f5)
printf '%-44s %12s %12s %8s\n' benchmark "before ($unit)" "after ($unit)" ratio
join -t, "$out/b" "$out/a" | awk -F, '{ gsub(/"/, "", $1);
    printf "%-44s %12.2f %12.2f %8.3f\n", $1, $2, $3, $3 / $2 }'
