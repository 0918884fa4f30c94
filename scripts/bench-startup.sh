#!/usr/bin/env bash
# Times the start-up of the desktop program, from process start to the main
# window painted once, on Qt's offscreen platform, with hyperfine: once empty
# and once opening the example project (which loads its HEX file). Installs
# what is missing and builds first. Run by hand; never part of the test suite.
#
#   ./scripts/bench-startup.sh            # 20 runs per case; prints the medians
#   RUNS=50 ./scripts/bench-startup.sh
set -euo pipefail
source "$(dirname "$0")/setup.sh"
zavuv_packages=(hyperfine python3)
zavuv_install_missing

app="$ZAVUV_BUILD/src/app/zavuv"
runs="${RUNS:-20}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A board is chosen, so that the first-run dialog does not come up. Each run
# starts from this profile: opening a project adds it to the recent list.
printf '[Connect]\nCOM=1\n' >"$work/start.ini"
export ZAVUV_PROFILE="$work/profile.ini"
export QT_QPA_PLATFORM=offscreen ZAVUV_EXIT_WHEN_SHOWN=1 ZAVUV_ANSWER_BOXES=1

# The example project names its HEX file relative to the repository.
cd "$ZAVUV_ROOT"
hyperfine --shell=none --warmup 3 --runs "$runs" --style basic \
    --prepare "cp $work/start.ini $work/profile.ini" --export-json "$work/times.json" \
    -n "zavuv, empty" "$app" \
    -n "zavuv, examples/blink.kb2" "$app examples/blink.kb2" >&2
python3 - "$work/times.json" <<'MEDIANS'
import json, sys
print("| case | median | mean ± σ | min | max |")
print("|---|---|---|---|---|")
for r in json.load(open(sys.argv[1]))["results"]:
    ms = lambda s: f"{s * 1000:.1f} ms"
    print(f"| {r['command']} | {ms(r['median'])} | {ms(r['mean'])} ± {ms(r['stddev'])}"
          f" | {ms(r['min'])} | {ms(r['max'])} |")
MEDIANS
