#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DSPINZELLE_WERROR=OFF
cmake --build build -j"$(nproc)" --target spinzelle
exec build/app/spinzelle
