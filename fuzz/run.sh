#!/usr/bin/env bash
# Fills each reader's corpus with the files the tests write (and, for the spreadsheet readers, the
# shared samples), then fuzzes one reader after the other at the lowest priority (one process each:
# the machine is shared), each until it has run RUNS inputs or the seconds have passed.
# Usage: [RUNS=n] fuzz/run.sh [seconds per reader, default 300] [readers...]
# Readers: project udisk csv xls xlsx ods (default: all); RUNS defaults to 10^7. Each reader's
# executions and any sanitizer report are printed; logs and crash inputs stay in build/fuzz/work.
# Not part of CI.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
runs="${RUNS:-10000000}"
shift || true
readers=("$@")
[ ${#readers[@]} -eq 0 ] && readers=(project udisk csv xls xlsx ods)
samples="${QVPRT_SAMPLES:-$PWD/../shared/samples}/spreadsheets"
cmake --preset debug >/dev/null && cmake --build --preset debug -j2 --target files_tests
cmake --preset fuzz >/dev/null
targets=()
for reader in "${readers[@]}"; do targets+=("fuzz_${reader}_reader"); done
nice -n 19 cmake --build --preset fuzz -j2 --target "${targets[@]}"
work=build/fuzz/work
mkdir -p "$work/corpus-start"
# The safe writer's tests write no file worth keeping, and take their time.
QVPRT_CORPUS_DIR="$PWD/$work/corpus-start" build/debug/tests/files/files_tests \
  --gtest_filter='-SafeWrite.*' >/dev/null
for reader in project udisk csv xls xlsx ods; do mkdir -p "$work/$reader"; done
cp "$work"/corpus-start/*.qvk "$work/project/"
cp "$work"/corpus-start/*.qvu "$work/udisk/"
cp "$work"/corpus-start/*.csv "$samples"/*.csv "$work/csv/"
cp "$work"/corpus-start/*.xls "$samples"/*.xls "$work/xls/"
# The zip readers' targets take their XML parts joined by NUL bytes, stored in a zip of their
# own; the packages as they are go in too.
python3 - "$work" "$samples" <<'PY'
import glob, os, sys, zipfile
work, samples = sys.argv[1], sys.argv[2]
def part(z, name):
    try:
        return z.read(name)
    except KeyError:
        return b"<a/>"
for kind, names in (("xlsx", ["_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                              "xl/sharedStrings.xml", "xl/styles.xml", None]),
                    ("ods", ["content.xml", "styles.xml", "settings.xml"])):
    files = glob.glob(f"{samples}/*.{kind}") + glob.glob(f"{work}/corpus-start/*.{kind}")
    for path in files:
        with zipfile.ZipFile(path) as z:
            parts = []
            for name in names:
                if name is None:
                    sheets = sorted(n for n in z.namelist() if n.startswith("xl/worksheets/"))
                    name = "xl/worksheets/sheet1.xml" if "xl/worksheets/sheet1.xml" in z.namelist() \
                        else (sheets[0] if sheets else "")
                parts.append(part(z, name).replace(b"\0", b""))
        base = os.path.basename(path)
        open(f"{work}/{kind}/{base}.parts", "wb").write(b"\0".join(parts))
        open(f"{work}/{kind}/{base}", "wb").write(open(path, "rb").read())
PY
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp"
for reader in "${readers[@]}"; do
  # The suppression for libgsf matches only a stack unwound in full.
  [ "$reader" = xls ] && unwind=":fast_unwind_on_malloc=0" || unwind=""
  ASAN_OPTIONS="detect_leaks=1$unwind" nice -n 19 build/fuzz/fuzz/fuzz_${reader}_reader \
    -runs="$runs" -max_total_time="$seconds" -max_len=131072 -print_final_stats=1 -artifact_prefix="$work/${reader}-" "$work/$reader" \
    >"$work/${reader}.log" 2>&1 || true
  echo "$reader: $(grep -Eo 'number_of_executed_units: [0-9]+' "$work/${reader}.log" || echo '?')" \
    "$(grep -E '^(==[0-9]+==ERROR|SUMMARY)' "$work/${reader}.log" | head -2 || true)"
done
