#!/usr/bin/env bash
# Fuzzes one target (or each in turn) with libFuzzer, clang's AddressSanitizer and
# UndefinedBehaviorSanitizer, in ./build-fuzz, until it has run SECONDS or a number of
# executions (FUZZ_RUNS, default 1 000 000), whichever comes first.
#   tools/fuzz.sh list             the targets
#   tools/fuzz.sh TARGET SECONDS   one target
#   tools/fuzz.sh all SECONDS      every target in turn, SECONDS each
# The committed seeds (tests/fuzz/corpus/TARGET) are copied to build-fuzz/corpus/TARGET, which
# grows while fuzzing; inputs that fail are left in build-fuzz/findings/TARGET (with the run's
# output in build-fuzz/findings/TARGET.log). Prints the line
# "target=TARGET executions=N seconds=S exec_per_s=R cov=C features=F corpus=U findings=K" per
# target (cov: the code edges reached, features: libFuzzer's finer coverage signal, corpus: the
# inputs kept) and exits non-zero when any target had a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-fuzz

targets() {
    for source in tests/fuzz/*_fuzz.cpp; do
        name=$(basename "$source" .cpp)
        echo "${name%_fuzz}"
    done
}

usage() {
    echo "usage: tools/fuzz.sh list | TARGET SECONDS | all SECONDS" >&2
    exit 2
}

configure() {
    local flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
    flags+=" -fno-omit-frame-pointer"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLUM_FUZZ=ON \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
}

# Builds and runs one target; prints its result line and returns 1 on a finding.
fuzz_target() {
    local target=$1 seconds=$2
    if ! cmake --build "$build" -j2 --target "fuzz_$target"; then
        echo "fuzz.sh: building fuzz_$target failed" >&2
        exit 2
    fi
    local corpus=$build/corpus/$target findings=$build/findings/$target
    # The program folder lives in a temporary folder of its own, in memory when possible (the
    # targets write a file per input) and with a short listing (the engine matches path names
    # against folder listings). Each run clears what crashed runs left there.
    local scratch=$build/tmp
    [[ -d /dev/shm && -w /dev/shm ]] && scratch=/dev/shm/vellum-fuzz-$(id -u)
    rm -rf "$scratch"
    mkdir -p "$corpus" "$findings" "$scratch"
    cp -n "$root/tests/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null || true
    local log=$build/findings/$target.log
    # The listed targets end refused inputs in a fatal report, which unwinds past objects that
    # ending the process would have freed: their leaks are not checked.
    local leaks=1
    grep -qx "$target" "$root/tests/fuzz/unchecked_leaks.txt" && leaks=0
    local start end status=0
    touch "$findings/.started"
    start=$(date +%s)
    TMPDIR=$scratch ASAN_OPTIONS=detect_leaks=$leaks:allocator_may_return_null=0 \
        UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -runs="${FUZZ_RUNS:-1000000}" -timeout=10 -detect_leaks=$leaks \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" >"$log" 2>&1 || status=$?
    end=$(date +%s)
    grep -E '^(#[0-9]+ .*(pulse|DONE)|==[0-9]+==|SUMMARY|artifact_prefix)' "$log" | tail -n 20 || true
    local executions
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [[ -z "$executions" ]]; then
        executions=$(grep -oE '^#[0-9]+' "$log" | tail -n 1 | tr -d '#')
    fi
    local count
    count=$(find "$findings" -maxdepth 1 -type f -newer "$findings/.started" \
        \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    if [[ $status -ne 0 && $count -eq 0 ]]; then
        # The target ended the process without leaving an input behind.
        count=1
    fi
    local rate=0
    [[ $end -gt $start ]] && rate=$((${executions:-0} / (end - start)))
    # The last status line libFuzzer printed: "#N DONE cov: C ft: F corp: U/..." or a pulse.
    local status_line cov features units
    status_line=$(grep -E '^#[0-9]+[[:space:]].*cov: ' "$log" | tail -n 1 || true)
    cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$status_line")
    features=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$status_line")
    units=$(sed -nE 's/.* corp: ([0-9]+).*/\1/p' <<<"$status_line")
    echo "target=$target executions=${executions:-0} seconds=$((end - start)) exec_per_s=$rate" \
        "cov=${cov:-0} features=${features:-0} corpus=${units:-0} findings=$count"
    [[ $count -eq 0 ]]
}

[[ $# -ge 1 ]] || usage
if [[ $1 == list ]]; then
    targets
    exit 0
fi
[[ $# -eq 2 && $2 =~ ^[0-9]+$ ]] || usage
if [[ $1 == all ]]; then
    selected=$(targets)
elif [[ " $(targets | tr '\n' ' ') " == *" $1 "* ]]; then
    selected=$1
else
    echo "unknown target: $1 (tools/fuzz.sh list)" >&2
    exit 2
fi

# The project's own packages and clang with its sanitizer and fuzzer runtimes.
tools/install-deps.sh clang libclang-rt-dev
configure
failed=0
for target in $selected; do
    fuzz_target "$target" "$2" || failed=1
done
exit $failed
