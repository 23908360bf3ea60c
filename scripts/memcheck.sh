#!/usr/bin/env bash
# Plays the whole-game tests under valgrind's memcheck: any invalid read or write,
# or memory the game allocated and lost, fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPINZELLE_SANITIZE=OFF -DBUILD_TESTING=ON -DSPINZELLE_WERROR=ON
cmake --build build -j"$(nproc)" --target program_tests

ctest --test-dir build --output-on-failure -R "^memcheck\."
