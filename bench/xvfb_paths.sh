#!/usr/bin/env bash
# The real game in a real 800 x 600 window under Xvfb, on both drawing paths: CPU share of the
# game process (all its threads), frames per second and PSS on five screens, then the time
# from start to the first presented frame. Run by hand; it takes a few minutes.
#   bench/xvfb_paths.sh [BUILD_DIR] [RUNS] [SECONDS]
# Frames are counted from the frame number in the names of screenshots (key S) taken at the
# start and the end of each measurement.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-3}
seconds=${3:-10}
game=$build/game
[ -x "$game/pikora" ] || { echo "xvfb_paths: no staged game in $game (build first)" >&2; exit 1; }

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
pid=
trap 'kill $pid $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display SDL_AUDIODRIVER=dummy
hz=$(getconf CLK_TCK)

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
pss() { awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup"; }
# Takes a screenshot and prints "frame seconds" from its name.
shot() {
  local before after
  before=$(ls "$work/screenshots" 2>/dev/null | wc -l)
  xdotool key --window "$win" s
  for _ in $(seq 100); do
    after=$(ls "$work/screenshots" 2>/dev/null | grep -c '\.png$' || true)
    [ "$after" -gt "$before" ] && break
    sleep 0.05
  done
  ls "$work/screenshots" | grep '\.png$' | sort | tail -n 1 |
    sed -E 's/pikora-[0-9]{8}-([0-9]{2})([0-9]{2})([0-9]{2})-([0-9]{3})-f0*([0-9]+).*/\5 \1 \2 \3 \4/' |
    awk '{printf "%d %.3f\n", $1, $2 * 3600 + $3 * 60 + $4 + $5 / 1000}'
}
measure() {  # path scene
  local f0 t0 c0 f1 t1 c1
  read -r f0 t0 < <(shot)
  c0=$(ticks)
  sleep "$seconds"
  c1=$(ticks)
  read -r f1 t1 < <(shot)
  awk -v p="$1" -v s="$2" -v f="$((f1 - f0))" -v t="$(echo "$t1 - $t0" | bc)" -v c="$((c1 - c0))" -v hz="$hz" \
    -v pss="$(pss)" 'BEGIN { fps = f / t; cpu = c / hz / t; printf "%s %s cpu %.1f %% ms/frame %.2f fps %.1f pss %.1f MiB\n", p, s, 100 * cpu, 1000 * cpu / fps, fps, pss / 1024 }'
}
click() { xdotool mousemove --window "$win" "$1" "$2"; sleep 0.2; xdotool click 1; sleep 0.4; }

results=$work/results
for run in $(seq "$runs"); do
  for path in gl pixman; do
    rm -rf "$work/game" && cp -r "$game" "$work/game" && rm -rf "$work/screenshots"
    ln -s "$work/game/screenshots" "$work/screenshots" 2>/dev/null || true
    mkdir -p "$work/game/screenshots"
    (cd "$work/game" && PIKORA_DRAW=$path exec ./pikora 2>/dev/null) &
    pid=$!
    win=$(xdotool search --sync --name Pikora | head -n 1)
    xdotool mousemove --window "$win" 560 420
    sleep 5
    measure "$path" credits >>"$results"
    click 79 138
    xdotool mousemove --window "$win" 560 420
    sleep 1
    measure "$path" help >>"$results"
    click 79 27
    xdotool mousemove --window "$win" 500 184
    sleep 1
    measure "$path" pack-list >>"$results"
    click 500 184
    click 530 445
    xdotool mousemove --window "$win" 600 200
    sleep 3
    measure "$path" level-landscape >>"$results"
    click 715 574
    click 79 27
    click 500 224
    click 460 445
    xdotool mousemove --window "$win" 600 530
    sleep 3
    measure "$path" level-portrait >>"$results"
    xdotool key --window "$win" Escape
    wait "$pid" || true
    pid=
  done
done
echo "Per run ($runs runs, $seconds s each; load: $(cut -d' ' -f1-3 /proc/loadavg)):"
cat "$results"
echo "Medians:"
for scene in credits help pack-list level-landscape level-portrait; do
  for path in gl pixman; do
    grep "^$path $scene " "$results" | awk -v p="$path" -v s="$scene" '
      { cpu[NR] = $4; ms[NR] = $7; fps[NR] = $9; pss[NR] = $11 }
      function med(a, n,   i, j, t) { for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
                                    return a[int((n + 1) / 2)] }
      END { printf "  %-16s %-7s cpu %5.1f %%  %6.2f ms/frame  %5.1f fps  PSS %6.1f MiB\n", s, p, med(cpu, NR), med(ms, NR), med(fps, NR), med(pss, NR) }'
  done
done
echo "Start to first presented frame:"
for path in gl pixman; do
  echo "  $path:"
  SDL_VIDEODRIVER=x11 PIKORA_DRAW=$path "$build/bench_startup" "$(( runs * 2 + 1 ))" | sed 's/^/    /'
done
