#!/usr/bin/env bash
# Times every benchmark script with the given interpreter: run.sh PATH/TO/sq [RUNS]
# Prints, per script, the best of RUNS runs (default 3) in processor time (user + system),
# which other work on a busy machine disturbs less than wall-clock time, and the peak memory
# (maximum resident size) of one more run. When lua5.4 is installed, the same algorithm in
# lua/NAME.lua is measured as well, with sq's time and memory as ratios of Lua's (below 1.0: sq
# is faster or smaller).
set -euo pipefail
sq=$(realpath "${1:?usage: run.sh PATH/TO/sq [RUNS]}")
runs=${2:-3}
cd "$(dirname "$0")"
# What the measuring needs: Lua 5.4 to compare with, bc for the sums, GNU time for the peak memory.
../../tools/install-deps.sh lua5.4 bc time
lua=$(command -v lua5.4 || true)
TIMEFORMAT='%U %S'

# Best processor time of $runs runs of the given command, in seconds.
best_time() {
    local best="" user sys elapsed
    for ((i = 0; i < runs; i++)); do
        read -r user sys < <({ time "$@" >/dev/null; } 2>&1)
        elapsed=$(echo "$user + $sys" | bc)
        if [[ -z "$best" ]] || (($(echo "$elapsed < $best" | bc))); then
            best=$elapsed
        fi
    done
    echo "$best"
}

# Peak resident size of one more run of the given command, in KiB.
peak_memory() {
    /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1
}

if [[ -n "$lua" ]]; then
    printf '%-16s %8s %8s %6s %9s %9s %6s\n' script sq lua5.4 ratio sq_mem lua_mem ratio
else
    printf '%-16s %8s %9s   (lua5.4 not installed: no ratios)\n' script sq sq_mem
fi
for script in *.nut; do
    sq_time=$(best_time "$sq" "$script")
    sq_kib=$(peak_memory "$sq" "$script")
    name=${script%.nut}
    if [[ -n "$lua" && -f "lua/$name.lua" ]]; then
        lua_time=$(best_time "$lua" "lua/$name.lua")
        lua_kib=$(peak_memory "$lua" "lua/$name.lua")
        ratio=$(echo "scale=3; $sq_time / $lua_time" | bc)
        mem_ratio=$(echo "scale=3; $sq_kib / $lua_kib" | bc)
        printf '%-16s %7.3fs %7.3fs %6.2f %7dKB %7dKB %6.2f\n' "$script" "$sq_time" "$lua_time" \
            "$ratio" "$sq_kib" "$lua_kib" "$mem_ratio"
    else
        printf '%-16s %7.3fs %7dKB\n' "$script" "$sq_time" "$sq_kib"
    fi
done
