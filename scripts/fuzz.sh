#!/usr/bin/env bash
# Builds the libFuzzer targets in build/fuzz (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for FUZZ_SECONDS seconds (default 60) on a
# scratch copy of its seed corpus in build/fuzz/fuzz/run/<target>. Exits non-zero on any
# finding; the report names the crash input. The last lines are ctest's summary.
#   bash scripts/fuzz.sh                      the bounded run that the test command makes
#   FUZZ_SECONDS=600 bash scripts/fuzz.sh     a longer run (10 minutes per target)
#   bash scripts/fuzz.sh --install-packages   only install what the fuzz build needs
# The seeds in fuzz/corpus are made by fuzz/make_seeds from the test-data builders:
#   build/fuzz/fuzz/make_seeds fuzz/corpus
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
jobs=2

packages=(cmake ninja-build clang libclang-rt-14-dev)

# shellcheck source=scripts/install-packages.sh
source "$root/scripts/install-packages.sh"

if ! install_packages "${packages[@]}"; then
    echo "error: could not install the fuzzing packages" >&2
    exit 1
fi
if [[ ${1:-} == --install-packages ]]; then
    exit 0
fi

dir=build/fuzz
mkdir -p build
if ! cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZT9_FUZZ=ON \
    -DZT9_TESTS=OFF -DZT9_BENCHMARKS=OFF -DZT9_SANITIZE=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"
    echo "error: configuring the fuzz build failed" >&2
    exit 1
fi
rm -f "$dir.configure.log"
if ! cmake --build "$dir" -j "$jobs"; then
    echo "error: building the fuzz targets failed" >&2
    exit 1
fi

echo "== fuzzing each target for ${FUZZ_SECONDS:-60} s"
ctest --test-dir "$dir" --output-on-failure -V -j "$jobs"
