#!/usr/bin/env bash
# The airport plans in a real browser: decodes the shared sample files and the project's own
# sample with -p, renders every plan headless in Chromium to PNG at the plan's own size, and checks
# each picture for that size and for drawn pixels beyond the background.
#   .ci/render-plans.sh BUILD_DIR [SHARED_DIR]
set -euo pipefail
build=$(cd "$1" && pwd)
shared=${2:-$(dirname "$0")/../../shared}
here=$(cd "$(dirname "$0")" && pwd)
out=$build/plans
rm -rf "$out"
mkdir -p "$out/sample"
export TMPDIR=$(mktemp -d)

# The plans go beside their documents, in a folder run as in a single one.
"$build/terrova_make_sample" "$out/sample/sample.bgl" >/dev/null
"$build/terrova" -p "$out/sample/sample.bgl" >/dev/null
if [ -d "$shared/bgl-samples" ]; then
  "$build/terrova" -p "$shared/bgl-samples" "$out/shared" >/dev/null
fi

render() {
  local svg=$1 size profile
  size=$(grep -o -m1 '<svg [^>]*' "$svg" | sed -E 's/.* width="([0-9]+)" height="([0-9]+)".*/\1,\2/')
  profile=$(mktemp -d)
  timeout 60 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --screenshot="${svg%.svg}.png" --window-size="$size" \
    "file://$svg" >/dev/null 2>&1 || echo "chromium failed on $svg"
  rm -rf "$profile"
}
export -f render

started=$SECONDS
find "$out" -name '*.svg' | sort | xargs -P 2 -I{} bash -c 'render "$@"' _ {}
echo "rendered $(find "$out" -name '*.svg' | wc -l) plans in $((SECONDS - started)) s"
find "$out" -name '*.svg' | sort | sed 's/\.svg$/.png/' | xargs python3 "$here/check_plan_png.py"
