#!/usr/bin/env bash
# Builds the game and runs every test: once in a normal build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then the whole games under valgrind,
# and a game heard through Orca.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test bench

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# The benchmarks are built, not run, so that they keep compiling.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DSPINZELLE_WERROR=ON -DSPINZELLE_BENCHMARKS=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSPINZELLE_SANITIZE=ON -DBUILD_TESTING=ON -DSPINZELLE_WERROR=ON
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"


# What a blind player hears: a short game by keyboard with Orca listening, on a
# private X server, played on the normal build's game.
bash scripts/check-speech.sh build/app/spinzelle
