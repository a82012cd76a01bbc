#!/usr/bin/env bash
# Startup benchmark: time from process start to the main window's first paint
# (intro running) and peak memory, over several runs under a private Xvfb.
#   bench/startup.sh [build-dir] [runs]
# Needs a built `korvane` target (scripts/build --target korvane).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${KORVANE_BUILD_DIR:-$here/build}}
runs=${2:-7}
[ -x "$build/program/korvane" ] || { echo "no $build/program/korvane: build the korvane target first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$build/program" "$work/program"
printf '1\r\n' > "$work/program/Config.ini"   # not a first run: no advice box
mkdir -m 700 "$work/runtime"

cat > "$work/one.sh" <<'ONE'
#!/usr/bin/env bash
set -euo pipefail
work=$1 runs=$2
export XDG_RUNTIME_DIR=$work/runtime
for i in $(seq 1 "$runs"); do
  probe=$work/probe.$i
  start=$(date +%s%N)
  KORVANE_STARTUP_PROBE=$probe KORVANE_STARTUP_PROBE_QUIT_MS=${KORVANE_BENCH_HOLD_MS:-6000} \
    "$work/program/korvane" >/dev/null 2>&1
  paint=$(awk '/^first_paint_ns/ {print $2}' "$probe")
  atpaint=$(awk '/^peak_kib_at_paint/ {print $2}' "$probe")
  atend=$(awk '/^peak_kib_at_end/ {print $2}' "$probe")
  echo "$(( (paint - start) / 1000000 )) $atpaint $atend"
done
ONE
chmod +x "$work/one.sh"

xvfb-run -a -s "-screen 0 1024x768x24" "$work/one.sh" "$work" "$runs" > "$work/results"

echo "run  first-paint-ms  peak-MB-at-paint  peak-MB-after-intro"
awk '{printf "%3d  %14d  %16.1f  %19.1f\n", NR, $1, $2/1024, $3/1024}' "$work/results"
sort -n "$work/results" | awk '{a[NR]=$1} END {printf "median first paint: %d ms (min %d, max %d)\n", a[int((NR+1)/2)], a[1], a[NR]}'
awk 'BEGIN{m=0} {if ($3>m) m=$3} END {printf "peak memory: %.1f MB\n", m/1024}' "$work/results"
