#!/usr/bin/env bash
# Sets up a Debian machine, builds everything and runs every test:
#   build/native       Release, benchmarks compiled, tests run natively
#   build/native-asan  AddressSanitizer + UndefinedBehaviorSanitizer
#   build/windows      MinGW-w64 cross build, tests run under Wine inside Xvfb
#   build/fuzz         libFuzzer targets (clang, ASan + UBSan), about a minute each
# Exits non-zero when anything fails; the last lines are the overall test summary.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
jobs=2
started=$(date +%s)

packages=(
    cmake ninja-build g++ libgtest-dev googletest libbenchmark-dev
    g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth clang-format clang-tidy
    clang libclang-rt-14-dev  # libFuzzer and the sanitizer runtimes for the fuzz stage
    # What Wine's X11 driver and dialogs load at run time; normally only recommended.
    libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3
    libxxf86vm1 fonts-wine fonts-liberation
)

# shellcheck source=scripts/install-packages.sh
source "$root/scripts/install-packages.sh"

if ! install_packages "${packages[@]}"; then
    echo "error: could not install the build packages" >&2
    exit 1
fi

# Formatting is reported, not enforced: files being written elsewhere may lag behind.
mapfile -t unformatted < <(find src tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 -r clang-format --dry-run 2>&1 | grep -o '^[^:]*\.\(cpp\|h\)' | sort -u)
if [[ ${#unformatted[@]} -gt 0 ]]; then
    echo "== note: clang-format would change:"
    printf '   %s\n' "${unformatted[@]}"
fi

stages=()
summaries=()
passed_total=0
failed_total=0
all_total=0
failures=()

# run_stage NAME CMAKE-ARGUMENTS...: configure, build and test one build folder.
run_stage() {
    local name=$1
    shift
    local dir=build/$name
    local log=$dir/ctest.log
    local stage_start
    stage_start=$(date +%s)
    echo
    echo "================ $name ================"
    stages+=("$name")
    if ! cmake -S . -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1; then
        cat "$dir.configure.log"
        summaries+=("configure failed")
        failures+=("$name (configure)")
        failed_total=$((failed_total + 1))
        all_total=$((all_total + 1))
        return
    fi
    rm -f "$dir.configure.log"
    if ! cmake --build "$dir" -j "$jobs"; then
        summaries+=("build failed")
        failures+=("$name (build)")
        failed_total=$((failed_total + 1))
        all_total=$((all_total + 1))
        return
    fi
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [[ -z $line ]]; then
        summaries+=("ctest gave no summary (status $status)")
        failures+=("$name (ctest)")
        failed_total=$((failed_total + 1))
        all_total=$((all_total + 1))
        return
    fi
    local failed total
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    if [[ $total -eq 0 ]]; then
        failures+=("$name (no tests found)")
        failed_total=$((failed_total + 1))
        all_total=$((all_total + 1))
    elif [[ $status -ne 0 && $failed -eq 0 ]]; then
        failures+=("$name (ctest status $status)")
        failed_total=$((failed_total + 1))
        all_total=$((all_total + 1))
    fi
    if [[ $failed -gt 0 ]]; then
        failures+=("$name ($failed failed)")
    fi
    failed_total=$((failed_total + failed))
    passed_total=$((passed_total + total - failed))
    all_total=$((all_total + total))
    summaries+=("$line ($(($(date +%s) - stage_start)) s)")
}

mkdir -p build

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Options are all given each time so that a folder configured by hand earlier cannot keep
# stale ones.
run_stage native -DCMAKE_BUILD_TYPE=Release -DZT9_BENCHMARKS=ON -DZT9_SANITIZE=OFF
run_stage native-asan -DCMAKE_BUILD_TYPE=Debug -DZT9_BENCHMARKS=OFF -DZT9_SANITIZE=ON
run_stage windows -DCMAKE_BUILD_TYPE=Release -DZT9_SANITIZE=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
# The readers under libFuzzer with both sanitizers, FUZZ_SECONDS (default 60) per target;
# any finding fails the stage. scripts/fuzz.sh runs this stage alone.
run_stage fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZT9_FUZZ=ON -DZT9_SANITIZE=ON \
    -DZT9_TESTS=OFF -DZT9_BENCHMARKS=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

echo
echo "================ summary ($(($(date +%s) - started)) s) ================"
for i in "${!stages[@]}"; do
    printf '%-12s %s\n' "${stages[$i]}" "${summaries[$i]}"
done
if [[ ${#failures[@]} -gt 0 ]]; then
    echo
    echo "The following tests FAILED:"
    printf '\t%s\n' "${failures[@]}"
fi
echo
if [[ $all_total -gt 0 ]]; then
    percent=$((passed_total * 100 / all_total))
else
    percent=0
fi
echo "${percent}% tests passed, ${failed_total} tests failed out of ${all_total}"
if [[ $failed_total -ne 0 || $all_total -eq 0 ]]; then
    exit 1
fi
exit 0
