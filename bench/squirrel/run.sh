#!/usr/bin/env bash
# Times every benchmark script with the given interpreter: run.sh PATH/TO/sq
set -euo pipefail
sq=${1:?usage: run.sh PATH/TO/sq}
cd "$(dirname "$0")"
for script in *.nut; do
    start=$(date +%s.%N)
    "$sq" "$script" >/dev/null
    end=$(date +%s.%N)
    printf '%-14s %6.3f s\n' "$script" "$(echo "$end - $start" | bc)"
done
