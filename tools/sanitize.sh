#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (Debug) into
# ./build-sanitize and runs every test there under a virtual display. Extra arguments go to
# ctest (for example -R Squirrel). Leaks that belong to system libraries are suppressed by
# tools/sanitize-leaks.supp; nothing of the project is.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
# Mesa loads its OpenGL driver when a window opens and unloads it when the window closes; what
# the driver still holds at that moment looks leaked, because the references to it went with the
# driver. The test programs start with the driver preloaded (after the sanitizer runtime, which
# must come first), so it stays in memory to the end and only real leaks are reported.
multiarch=$(gcc -print-multiarch)
preload="$(realpath "$(gcc -print-file-name=libasan.so)") /usr/lib/$multiarch/dri/swrast_dri.so"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="env;LD_PRELOAD=$preload" >/dev/null
cmake --build build-sanitize -j"$(nproc)"
cd build-sanitize
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=0"
# The soak test starts the program from a script, not through the launcher: it preloads these.
export VELLUM_PRELOAD=$preload
export LSAN_OPTIONS="suppressions=$(realpath ../tools/sanitize-leaks.supp):print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
CI=1 xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" ctest --output-on-failure -j"$(nproc)" "$@"
