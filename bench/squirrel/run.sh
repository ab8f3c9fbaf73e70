#!/usr/bin/env bash
# Times every benchmark script with the given interpreter: run.sh PATH/TO/sq [RUNS]
# Prints, per script, the best of RUNS runs (default 3) in processor time (user + system),
# which other work on a busy machine disturbs less than wall-clock time.
set -euo pipefail
sq=$(realpath "${1:?usage: run.sh PATH/TO/sq [RUNS]}")
runs=${2:-3}
cd "$(dirname "$0")"
TIMEFORMAT='%U %S'
for script in *.nut; do
    best=""
    for ((i = 0; i < runs; i++)); do
        read -r user sys < <({ time "$sq" "$script" >/dev/null; } 2>&1)
        elapsed=$(echo "$user + $sys" | bc)
        if [[ -z "$best" ]] || (($(echo "$elapsed < $best" | bc))); then
            best=$elapsed
        fi
    done
    printf '%-14s %6.3f s\n' "$script" "$best"
done
