#!/usr/bin/env bash
# Plays the whole-game tests under valgrind's memcheck: any invalid read or write,
# or memory the game allocated and lost, fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPINZELLE_SANITIZE=OFF
cmake --build build -j"$(nproc)" --target program_tests

QT_QPA_PLATFORM=offscreen valgrind --tool=memcheck --error-exitcode=1 \
  --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite \
  --suppressions=tests/valgrind.supp --num-callers=40 \
  build/tests/program_tests
