#!/usr/bin/env bash
# Plays the bundled game unattended for MINUTES of game time with random input (made by
# tools/random_input.py from SEED) and checks that it stays healthy:
#
#   tools/soak.sh SEED MINUTES
#
# The game runs from a fresh temporary folder: its own HOME and XDG folders (so a new player
# with empty high scores), a game folder whose data, language folders and game.ini lead to those
# beside the program (the program's logs are written there), FixedFrameTime=20 and as many
# frames as MINUTES take, the recording replayed, sound on SDL's disk driver into a temporary
# file. It runs on the display it is given, or under xvfb-run when there is none. While it runs,
# the program's resident size (VmRSS) is sampled every few seconds.
#
# It passes when the program exits with status 0 within the time allowed, showed no message box
# (unattended, a box's text goes to standard error led by "[message box]"), wrote no
# last_scriptcomp_error.log (a script error), wrote sound, and its resident size does not grow
# over the last two thirds of the run by 5% or more. Growth is the rise of the highest sample
# of the later half of those two thirds over the highest of the earlier half: the size goes up
# and down with what is on screen (a level holds more than a menu), and such swings are in both
# halves, while a leak lifts the later one.
#
# It prints the frames, the wall time, the resident size of the last two thirds (first, lowest,
# highest, last sample) and the growth; on failure the reason on standard error, the end of the
# program's output, and exit status 1 (the temporary folder is then kept for a look).
#
#   VELLUM_EXECUTABLE=PATH   the program (default: build/vellum of this repository); the game
#                            it plays is the one beside it (data/, data_*/, game.ini)
#   VELLUM_PRELOAD=LIBS      libraries preloaded into the program alone (its LD_PRELOAD): the
#                            sanitizer build's suite passes the sanitizer runtime and Mesa's
#                            driver, as it does for its test programs (tools/sanitize.sh)
#   SOAK_SAMPLE_SECONDS=N    seconds between two samples of the resident size (default 2)
#   SOAK_WALL_LIMIT=N        seconds the run may take before it counts as hung (default: ten
#                            times the game time, plus five minutes)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
if [[ $# -ne 2 || ! $1 =~ ^[0-9]+$ || ! $2 =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: tools/soak.sh SEED MINUTES (whole numbers, MINUTES at least 1)" >&2
    exit 2
fi
seed=$1
minutes=$2
program=${VELLUM_EXECUTABLE:-$root/build/vellum}
if [[ ! -x $program ]]; then
    echo "soak.sh: no program at $program (build it, or set VELLUM_EXECUTABLE)" >&2
    exit 1
fi
if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" bash "$0" "$@"
fi

frame_ms=20
frames=$((minutes * 60000 / frame_ms))
sample_seconds=${SOAK_SAMPLE_SECONDS:-2}
wall_limit=${SOAK_WALL_LIMIT:-$((minutes * 600 + 300))}
# The highest growth (in percent) the resident size may show over the last two thirds.
growth_limit=5

work=$(mktemp -d "${TMPDIR:-/tmp}/vellum-soak.XXXXXX")
keep_work=0
cleanup() {
    rm -f "$work/sound.raw"
    if [[ $keep_work -eq 0 ]]; then
        rm -rf "$work"
    fi
}
trap cleanup EXIT

fail() {
    keep_work=1
    echo "soak.sh: seed $seed, $minutes min: FAILED: $1" >&2
    if [[ -s $work/stderr.log ]]; then
        echo "--- the end of the program's standard error:" >&2
        tail -n 40 "$work/stderr.log" >&2
    fi
    echo "--- the run's folder (logs, recording, samples) is kept: $work" >&2
    exit 1
}

game=$work/game
mkdir -p "$game" "$work/home" "$work/data" "$work/config" "$work/state" "$work/cache"
program_folder=$(dirname "$(readlink -f "$program")")
for entry in "$program_folder"/data "$program_folder"/data_* "$program_folder"/game.ini; do
    if [[ -e $entry ]]; then
        ln -s "$(readlink -f "$entry")" "$game/$(basename "$entry")"
    fi
done
[[ -d $game/data ]] || fail "no game data beside $program"

python3 "$root/tools/random_input.py" --seed "$seed" --frames "$frames" --game "$game" \
    --output "$game/input.txt"

start_ns=$(date +%s%N)
elapsed() { echo $((($(date +%s%N) - start_ns) / 1000000)); }
(
    cd "$work"
    export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
    export XDG_STATE_HOME=$work/state XDG_CACHE_HOME=$work/cache CI=1
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/sound.raw
    if [[ -n ${VELLUM_PRELOAD:-} ]]; then
        export LD_PRELOAD=$VELLUM_PRELOAD
    fi
    exec "$program" "-game=$game" ExitAfterFrames="$frames" FixedFrameTime="$frame_ms" \
        InputReplay=input.txt SoundDevice=1
) >"$work/stdout.log" 2>"$work/stderr.log" &
pid=$!

# One line per sample: milliseconds since the start and the resident size in kB.
samples=$work/rss.txt
: >"$samples"
hung=0
while kill -0 "$pid" 2>/dev/null; do
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
    if [[ -n $rss ]]; then
        echo "$(elapsed) $rss" >>"$samples"
    fi
    if (($(elapsed) > wall_limit * 1000)); then
        hung=1
        kill -KILL "$pid" 2>/dev/null || true
        break
    fi
    sleep "$sample_seconds"
done
status=0
wait "$pid" || status=$?
wall_ms=$(elapsed)

[[ $hung -eq 0 ]] || fail "still running after $wall_limit s (hung?)"
[[ $status -eq 0 ]] || fail "the program exited with status $status"
boxes=$(grep -c '^\[message box\]' "$work/stderr.log" || true)
[[ $boxes -eq 0 ]] || fail "$boxes message box(es) shown: $(grep -m1 '^\[message box\]' \
    "$work/stderr.log")"
for log in "$game/last_scriptcomp_error.log" "$work/state/Vellum/last_scriptcomp_error.log"; do
    if [[ -e $log ]]; then
        fail "a script error was written to $log: $(tail -n 5 "$log" | tr '\n' ' ')"
    fi
done
[[ -s $work/sound.raw ]] || fail "no sound was written (the sound thread did not play)"

# The samples of the last two thirds: first, lowest, highest, last, and the growth.
figures=$(awk -v wall="$wall_ms" '
    BEGIN { n = 0 }
    $1 >= wall / 3 { t[n] = $1; rss[n] = $2; n++ }
    END {
        if (n < 4) { print "too-few " n; exit }
        low = rss[0]; high = rss[0]; early = 0; late = 0
        for (i = 0; i < n; i++) {
            if (rss[i] < low) low = rss[i]
            if (rss[i] > high) high = rss[i]
            if (i < n / 2) { if (rss[i] > early) early = rss[i] }
            else if (rss[i] > late) late = rss[i]
        }
        printf "ok %d %d %d %d %d %.2f\n", n, rss[0], low, high, rss[n - 1], (late - early) * 100 / early
    }' "$samples")
read -r verdict count first low high last growth <<<"$figures"
[[ $verdict == ok ]] || fail "only $count samples of the resident size in the last two thirds"

mb() { awk -v kb="$1" 'BEGIN { printf "%.1f MB", kb / 1024 }'; }
echo "soak.sh: seed $seed, $minutes min of game time: $frames frames of $frame_ms ms in" \
    "$(awk -v ms="$wall_ms" 'BEGIN { printf "%.1f", ms / 1000 }') s wall time," \
    "$(grep -vc '^#' "$game/input.txt") input events"
echo "soak.sh: resident size over the last two thirds ($count samples): first $(mb "$first")," \
    "min $(mb "$low"), max $(mb "$high"), last $(mb "$last"); growth $growth%"
if awk -v g="$growth" -v limit="$growth_limit" 'BEGIN { exit !(g >= limit) }'; then
    fail "the resident size grew by $growth% (limit $growth_limit%)"
fi
echo "soak.sh: passed"
