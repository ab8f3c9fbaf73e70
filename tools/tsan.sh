#!/usr/bin/env bash
# Builds everything with ThreadSanitizer (RelWithDebInfo) into ./build-tsan, runs every test
# there under a virtual display, then plays the bundled game unattended for 60 s of game time
# with random input and sound on SDL's disk driver. Extra arguments go to ctest (for example
# -R Sound). Reports that belong to system libraries are suppressed by tools/tsan.supp; nothing of
# the project is. Any other report makes the program that found it exit with status 66, so a
# test or the game run fails.
#   TSAN_GAME_SEED=N    the random input's seed (default 1)
#   TSAN_SKIP_TESTS=1   only the game run
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-tsan
tools/install-deps.sh

flags="-fsanitize=thread -fno-omit-frame-pointer"
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build "$build" -j"$(nproc)"

# second_deadlock_stack: a lock-order report shows where both locks were taken.
# die_after_fork=0: death tests fork a process that may still start threads.
export TSAN_OPTIONS="suppressions=$root/tools/tsan.supp:second_deadlock_stack=1:die_after_fork=0:exitcode=66"
screen="-screen 0 1920x1200x24 -noreset"

# The fuzz targets' seed replays are left out: their harness turns the engine's fatal exit into
# an exception thrown out of quick_exit, which the C library declares never to throw, and the
# sanitizer's instrumentation of the frames in between ends the process there. They run in the
# ordinary and the address-sanitizer builds.
if [[ "${TSAN_SKIP_TESTS:-0}" != 1 ]]; then
    (cd "$build" && CI=1 xvfb-run -a -s "$screen" ctest --output-on-failure -j"$(nproc)" \
        -E '^fuzz_.*_seeds$' "$@")
fi

# The game run: a fresh home and user folders, 3750 frames of 16 ms, random input for the
# bundled game at its 800x600 window, the mixed sound written to a file.
run=$(mktemp -d "${TMPDIR:-/tmp}/vellum-tsan.XXXXXX")
trap 'rm -rf "$run"' EXIT
mkdir -p "$run/home" "$run/data" "$run/config" "$run/state"
frames=3750
python3 tools/random_input.py --seed "${TSAN_GAME_SEED:-1}" --frames "$frames" \
    --output "$run/input.txt"
status=0
(cd "$run" && HOME="$run/home" XDG_DATA_HOME="$run/data" XDG_CONFIG_HOME="$run/config" \
    XDG_STATE_HOME="$run/state" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$run/sound.raw" \
    xvfb-run -a -s "$screen" "$build/vellum" ExitAfterFrames="$frames" FixedFrameTime=16 \
    InputReplay="$run/input.txt" >"$run/game.log" 2>&1) || status=$?
if [[ $status -ne 0 ]]; then
    cat "$run/game.log" >&2
    echo "tsan.sh: the game run ended with status $status" >&2
    exit 1
fi
if [[ ! -s "$run/sound.raw" ]]; then
    cat "$run/game.log" >&2
    echo "tsan.sh: the game run wrote no sound; the sound thread did not play" >&2
    exit 1
fi
echo "tsan.sh: the game ran $frames frames with sound and random input; no reports"
