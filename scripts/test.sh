#!/bin/bash
# Installs what is needed, builds both architectures, and runs every test of
# the x86_64 build under wine in a fresh prefix. In CI (CI=true), or with
# YK_CHECKED=1, the suite runs a second time, built with the
# undefined-behaviour trap and the standard library's assertions.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" i686 -DYK_BUILD_TESTS=OFF
"$root/scripts/build.sh" x86_64 "$@"
suites=("x86_64")
if [ "${CI:-}" = true ] || [ "${YK_CHECKED:-}" = 1 ]; then
  YK_VARIANT=-checked "$root/scripts/build.sh" x86_64 -DYK_SANITIZE=ON "$@"
  suites+=("x86_64-checked")
fi

build="${YK_BUILD_DIR:-$root/build}/x86_64"
export YK_WINE_ROOT="$build/wine"
mkdir -p "$YK_WINE_ROOT"
. "$root/scripts/wine-env.sh"
yk_fresh_session
for suite in "${suites[@]}"; do
  echo "== ctest in $suite"
  (cd "${YK_BUILD_DIR:-$root/build}/$suite" && ctest --output-on-failure --no-tests=error -j"${YK_TEST_JOBS:-2}" </dev/null)
done
