#!/usr/bin/env bash
# Builds the Windows preset, runs the benchmark programs under Wine one after
# the other and rewrites docs/benchmarks.md from the templates in
# bench/report/: each program prints "FIGURE <key> <value>" lines, which go
# in place of @<key>@ in its section, with the date, machine and commit of
# the run. Arguments name the benchmarks to run (for example: idle_bench
# console_bench); the sections of the others stay as they were.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
build=${TUNEBRIDGE_BUILD_ROOT:-$repo/build}/windows
report=docs/benchmarks.md
templates=bench/report
all=(hotkey_bench idle_bench console_bench playlist_bench startup_bench)

names=("$@")
((${#names[@]} > 0)) || names=("${all[@]}")
for name in "${names[@]}"; do
  if [[ ! -e $templates/$name.md ]]; then
    echo "bench.sh: no benchmark named $name (there are: ${all[*]})" >&2
    exit 2
  fi
done

bash scripts/bootstrap.sh
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j 2

results=$build/bench-results
mkdir -p "$results"
commit=$(git rev-parse --short HEAD)
[[ -z $(git status --porcelain --untracked-files=no) ]] || commit="$commit plus uncommitted changes"

export BENCH_BIN=$build/bin RESULTS=$results COMMIT=$commit
# Every program's output goes to the terminal and to <results>/<name>.out;
# <name>.stamp says when, where and on what it ran.
bash scripts/wine-session.sh "$build" -- bash -c '
  set -o pipefail
  machine="$(nproc) cores, $("$WINE" --version | sed "s/^wine-/Wine /")"
  status=0
  for name in "$@"; do
    echo "==== $name"
    rm -f "$RESULTS/$name.out" "$RESULTS/$name.stamp"
    load=$(cut -d" " -f1 /proc/loadavg)
    started=$(date "+%Y-%m-%d %H:%M")
    if "$WINE" "$BENCH_BIN/$name.exe" </dev/null | tr -d "\r" | tee "$RESULTS/$name.out.part"; then
      mv "$RESULTS/$name.out.part" "$RESULTS/$name.out"
      echo "Run of $started at commit $COMMIT; $machine; load average $load at the start." >"$RESULTS/$name.stamp"
    else
      echo "bench.sh: $name failed; its section keeps its old figures" >&2
      status=1
    fi
  done
  exit $status' bench "${names[@]}" || failed=1

# One section: the old one from the report, or its template filled in with
# this run's figures when the benchmark ran now.
section() {
  local name=$1
  if [[ -e $results/$name.out && " ${names[*]} " == *" $name "* ]]; then
    echo "<!-- begin $name -->"
    awk -v stampfile="$results/$name.stamp" '
      FNR == NR { if ($1 == "FIGURE") { key = $2; $1 = ""; $2 = ""; sub(/^ +/, ""); value["@" key "@"] = $0 } next }
      FNR == 1 { getline stamp < stampfile; value["@stamp@"] = stamp }
      {
        line = $0; out = ""
        while (match(line, /@[a-z0-9_]+@/)) {
          key = substr(line, RSTART, RLENGTH)
          if (!(key in value)) { print "bench.sh: no figure " key > "/dev/stderr"; missing = 1 }
          out = out substr(line, 1, RSTART - 1) value[key]
          line = substr(line, RSTART + RLENGTH)
        }
        print out line
      }
      END { exit missing }' "$results/$name.out" "$templates/$name.md" || failed=1
    echo "<!-- end $name -->"
  elif [[ -e $report ]] && grep -q "^<!-- begin $name -->" "$report"; then
    sed -n "/^<!-- begin $name -->/,/^<!-- end $name -->/p" "$report"
  else
    printf '<!-- begin %s -->\n## %s\n\nNot measured yet: `scripts/bench.sh %s`.\n<!-- end %s -->\n' "$name" "$name" "$name" "$name"
  fi
}

{
  cat "$templates/header.md"
  for name in "${all[@]}"; do
    echo
    section "$name"
  done
} >"$report.new"
mv "$report.new" "$report"
echo "bench.sh: wrote $report"
exit "${failed:-0}"
