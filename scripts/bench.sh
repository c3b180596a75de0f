#!/bin/bash
# Builds x86_64 and runs every benchmark program under wine, in a prefix and
# display of its own, printing each one's table and targets. Not part of the
# test command: the figures depend on the machine and on what else runs.
#   YK_BENCH_ONLY=name   run only that benchmark (e.g. observation_bench)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" x86_64
build="${YK_BUILD_DIR:-$root/build}/x86_64"
export YK_WINE_ROOT="$build/wine-bench"
mkdir -p "$YK_WINE_ROOT"
. "$root/scripts/wine-env.sh"
yk_fresh_session
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg)   $(date -u '+%Y-%m-%d %H:%M UTC')"
status=0
for bench in observation_bench store_bench program_bench; do
  [ -z "${YK_BENCH_ONLY:-}" ] || [ "$YK_BENCH_ONLY" = "$bench" ] || continue
  exe="$build/bin/$bench.exe"
  [ -f "$exe" ] || { echo "== $bench: not built"; continue; }
  echo
  echo "== $bench"
  # Output to a file, never to a pipe that waits on wine.
  out="$YK_WINE_ROOT/$bench.txt"
  rc=0
  (cd "$build/bin" && wine "$exe" </dev/null >"$out" 2>&1) || rc=$?
  cat "$out"
  if [ "$rc" -ne 0 ]; then
    echo "== $bench: a target was missed or the run failed (exit $rc)"
    status=1
  fi
done
echo
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$status"
