#!/bin/bash
# Configures and builds one architecture: scripts/build.sh x86_64|i686 [cmake options...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
arch="${1:-x86_64}"; shift || true
build="${YK_BUILD_DIR:-$root/build}/$arch"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" "$@" >/dev/null
cmake --build "$build" -- -j"$(nproc)"
