#!/usr/bin/env bash
# Times the start-up of the desktop program on Qt's offscreen platform, once
# empty and once opening the example project (which loads its HEX file): from
# the process's start to its main window painted once (the moment the program
# reports, read on the same monotonic clock), and, with hyperfine, the whole
# process (its exit included). Installs what is missing and builds first. Run
# by hand; never part of the test suite.
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
python3 - "$work" "$app" "$runs" <<'MEDIANS'
import json, shutil, statistics, subprocess, sys, time

work, app, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
cases = [("zavuv, empty", [app]), ("zavuv, examples/blink.kb2", [app, "examples/blink.kb2"])]

def ms(s):
    return f"{s * 1000:.1f} ms"

def row(name, times):
    return (f"| {name} | {ms(statistics.median(times))} | {ms(statistics.mean(times))}"
            f" ± {ms(statistics.stdev(times))} | {ms(min(times))} | {ms(max(times))} |")

def until_shown(command):
    shutil.copy(f"{work}/start.ini", f"{work}/profile.ini")
    started = time.monotonic_ns()
    run = subprocess.run(command, stderr=subprocess.PIPE, text=True, check=True)
    shown = [l for l in run.stderr.splitlines() if l.startswith("shown at: ")]
    return (int(shown[0].split()[2]) - started) / 1e9

print("Until the window is painted once (process start included):\n")
print("| case | median | mean ± σ | min | max |")
print("|---|---|---|---|---|")
for name, command in cases:
    for _ in range(3):
        until_shown(command)
    print(row(name, [until_shown(command) for _ in range(runs)]))

print("\nThe whole process, its exit included (hyperfine):\n")
print("| case | median | mean ± σ | min | max |")
print("|---|---|---|---|---|")
for r in json.load(open(f"{work}/times.json"))["results"]:
    print(row(r["command"], r["times"]))
MEDIANS
