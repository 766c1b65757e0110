#!/usr/bin/env bash
# Whole runs of the Windows program under wine, against the Linux program of the same sources:
#   .ci/wine-checks.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR
# The Linux build supplies terrova and terrova_make_sample, the Windows build terrova.exe and
# terrova_hold_run_guard.exe. Documents are compared byte for byte, time stamp line aside.
set -euo pipefail

linux=$(realpath "$1")
windows=$(realpath "$2")
samples=${TERROVA_SAMPLES_DIR:-$(realpath "$(dirname "$0")/../..")/shared/bgl-samples}

work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml="
# File names go between Linux and Windows as UTF-8.
export LC_ALL=C.UTF-8
cleanup() {
  [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

started=$SECONDS
wineboot -i </dev/null >/dev/null 2>&1 || true
wineserver -w
# One server for all the runs, instead of one started (and waited for) by each.
wineserver -p
echo "wine prefix ready in $((SECONDS - started)) s"

cd "$work"
mkdir inputs
"$linux/terrova_make_sample" --inputs inputs
if [ -d "$samples" ]; then
  for f in "$samples"/*.bgl; do cp "$f" "inputs/real_$(basename "$f")"; done
fi

# Runs the Windows program in the work folder: status in $status, console in $console.
run_windows() {
  set +e
  wine "$windows/terrova.exe" "$@" </dev/null >console.txt 2>&1
  status=$?
  set -e
  console=$(tr -d '\r' <console.txt)
}
# The document without its time stamp line.
body() { sed 2d "$1"; }

# 1. Every input, with several switch sets, decodes to the same document on both systems.
count=0
for switches in "" "-t" "-d -f -m" "-n47.45 -e-122.31 -r200"; do
  for input in inputs/*.bgl; do
    name=$(basename "$input" .bgl)
    # shellcheck disable=SC2086
    (cd inputs && "$linux/terrova" $switches "$name.bgl" "../$name.linux.xml" >/dev/null) ||
      { fail "linux run of $name $switches"; continue; }
    # shellcheck disable=SC2086
    run_windows $switches "inputs\\$name.bgl" "$name.windows.xml"
    [ "$status" = 0 ] || { fail "windows run of $name $switches: status $status: $console"; continue; }
    cmp -s <(body "$name.linux.xml") <(body "$name.windows.xml") ||
      fail "documents of $name $switches differ"
    count=$((count + 1))
  done
done
echo "$count documents identical on Linux and Windows"

# 2. A file name outside ASCII opens, and is written on the console in UTF-8.
cp inputs/texts.bgl "Zürich_Ω.bgl"
run_windows "Zürich_Ω.bgl"
[ "$status" = 0 ] || fail "non-ASCII name: status $status: $console"
[ -f "Zürich_Ω.xml" ] || fail "non-ASCII name: no Zürich_Ω.xml"
grep -q "Output saved as Zürich_Ω.xml" <<<"$console" || fail "non-ASCII name on the console: $console"
if [ -f "Zürich_Ω.xml" ]; then
  cmp -s <(body "Zürich_Ω.xml") <(body texts.linux.xml) || fail "non-ASCII name: document differs"
fi

# 3. An output naming the input is refused and the input kept.
cp inputs/sample.bgl same.bgl
run_windows same.bgl same.bgl
[ "$status" = 2 ] || fail "output equal to input: status $status"
grep -q "Error: output file same.bgl is the input file" <<<"$console" ||
  fail "output equal to input: $console"
cmp -s same.bgl inputs/sample.bgl || fail "output equal to input: the input changed"

# 4. An output folder that does not exist: "Can't open", status 2, nothing left behind.
run_windows same.bgl "no_such_folder\\out.xml"
[ "$status" = 2 ] || fail "missing folder: status $status"
grep -q "^Can't open no_such_folder" <<<"$console" || fail "missing folder: $console"

# 5. A second run while one holds the run guard is refused.
wine "$windows/terrova_hold_run_guard.exe" same.bgl held.txt </dev/null >/dev/null 2>&1 &
holder=$!
for _ in $(seq 1 300); do
  [ -f held.txt ] && break
  sleep 0.1
done
if [ -f held.txt ]; then
  run_windows inputs/sample.bgl guarded.xml
  [ "$status" = 183 ] || fail "run guard: status $status: $console"
  grep -q "File mapping failed, object already exists" <<<"$console" || fail "run guard: $console"
  [ ! -f guarded.xml ] || fail "run guard: a document was written"
  rm -f held.txt
else
  fail "run guard: the holder never took the guard"
fi
wait "$holder" || fail "run guard: the holder failed"

# 6. A folder run with two jobs writes, under the output folder, the documents of single runs.
mkdir -p folder/nested
cp inputs/sample.bgl folder/
cp inputs/texts.bgl folder/nested/TEXTS.BGL
"$linux/terrova" folder/sample.bgl ref_sample.xml >/dev/null
"$linux/terrova" folder/nested/TEXTS.BGL ref_texts.xml >/dev/null
run_windows -j2 folder folder_out
[ "$status" = 0 ] || fail "folder run: status $status: $console"
if [ -f folder_out/sample.xml ] && [ -f folder_out/nested/TEXTS.xml ]; then
  cmp -s <(body folder_out/sample.xml) <(body ref_sample.xml) || fail "folder run: sample differs"
  cmp -s <(body folder_out/nested/TEXTS.xml) <(body ref_texts.xml) ||
    fail "folder run: nested document differs"
else
  fail "folder run: documents missing: $(find folder_out -type f 2>/dev/null | tr '\n' ' ')"
fi

# 7. A small library indexed on both systems gives the same answers to the same queries.
mkdir -p "library/Addon Scenery/Test/scenery"
cp inputs/sample.bgl inputs/texts.bgl "library/Addon Scenery/Test/scenery/"
printf '[General]\r\nTitle=Test\r\n\r\n[Area.001]\r\nTitle=Test\r\nLocal=Addon Scenery\\Test\r\nLayer=1\r\nActive=TRUE\r\n' \
  >library/scenery.cfg
"$linux/terrova" -L library/scenery.cfg linux.sqlite >library_linux.txt 2>&1 ||
  fail "linux library run: $(cat library_linux.txt)"
run_windows -L 'library\scenery.cfg' windows.sqlite
[ "$status" = 0 ] || fail "windows library run: status $status: $console"
library_query="SELECT ident, name, round(lat, 6), round(lon, 6), runways, parking, approaches,
  definition, wins FROM airport_definitions; SELECT kind, ident, region FROM navaids ORDER BY 1, 2;
  SELECT kind, guid, round(lat, 6) FROM objects ORDER BY file_id, offset; SELECT relative, status
  FROM files; SELECT text FROM report WHERE text NOT LIKE 'Library:%'"
if [ -f windows.sqlite ] && [ -f linux.sqlite ]; then
  cmp -s <(sqlite3 linux.sqlite "$library_query") <(sqlite3 windows.sqlite "$library_query") ||
    fail "library index: the queries differ"
  [ -n "$(sqlite3 windows.sqlite 'SELECT ident FROM airports LIMIT 1')" ] ||
    fail "library index: no airport"
fi

# 8. No temporary file is left anywhere.
leftovers=$(find . -path ./prefix -prune -o \( -name '*.part' -o -name '*.sqlite.tmp' \) -print)
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"

echo "wine checks done in $((SECONDS - started)) s, $failures failures"
[ "$failures" = 0 ]
