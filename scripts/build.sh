#!/bin/bash
# Configures and builds one architecture: scripts/build.sh x86_64|i686 [cmake options...]
# YK_VARIANT names a second build of the same architecture (e.g. -checked);
# YK_TARGETS limits what is built (default: everything).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
arch="${1:-x86_64}"; shift || true
build="${YK_BUILD_DIR:-$root/build}/$arch${YK_VARIANT:-}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" "$@" >/dev/null
if [ -n "${YK_TARGETS:-}" ]; then
  # shellcheck disable=SC2086
  cmake --build "$build" --target $YK_TARGETS -- -j"$(nproc)"
else
  cmake --build "$build" -- -j"$(nproc)"
fi
