#!/usr/bin/env bash
# Fills each reader's corpus with the files the tests write, then fuzzes one reader after the
# other (one process each: the machine is shared). Usage: fuzz/run.sh [seconds per reader, default 300]. Not part of CI.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
cmake --preset debug >/dev/null && cmake --build --preset debug -j2 --target files_tests
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j2
work=build/fuzz/work
mkdir -p "$work/corpus-start" "$work/project" "$work/udisk"
QVPRT_CORPUS_DIR="$PWD/$work/corpus-start" build/debug/tests/files/files_tests >/dev/null
cp "$work"/corpus-start/*.qvk "$work/project/"
cp "$work"/corpus-start/*.qvu "$work/udisk/"
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for reader in project udisk; do
  build/fuzz/fuzz/fuzz_${reader}_reader -max_total_time="$seconds" \
    -max_len=131072 -artifact_prefix="$work/${reader}-" "$work/$reader" 2>&1 |
    tee "$work/${reader}.log" | grep -E "DONE|^Done|ERROR|SUMMARY" || true
done
