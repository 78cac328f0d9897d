#!/usr/bin/env bash
# Configures (once) and builds everything into ./build (or $ZV_BUILD_TREE,
# with $ZV_BUILD_TYPE and $ZV_CXX_FLAGS); the program folder is <tree>/zorvex.
set -euo pipefail
cd "$(dirname "$0")/../.."
tree=${ZV_BUILD_TREE:-build}
if [ ! -f "$tree/build.ninja" ]; then
  cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE="${ZV_BUILD_TYPE:-RelWithDebInfo}" \
        -DCMAKE_CXX_FLAGS="${ZV_CXX_FLAGS:-}" -DCMAKE_EXE_LINKER_FLAGS="${ZV_CXX_FLAGS:-}" >/dev/null
fi
cmake --build "$tree" "$@"
