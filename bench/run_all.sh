#!/usr/bin/env bash
# Builds the benchmarks, starts the local song service, runs every benchmark and
# its reference (the curl tool among them), and prints the figures.
#   bench/run_all.sh [BUILD_DIR]      (default: build)
# RUNS sets how many times each whole-process measurement is repeated (default 7).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
runs=${RUNS:-7}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target song-service songpicker search_fill_bench \
  search_service_bench developers_window_bench download_song startup_probe json_document_bench

work=$(mktemp -d /tmp/songpicker-bench-XXXXXX)
service=""
cleanup() {
  if [ -n "$service" ]; then kill "$service" 2>/dev/null || true; wait "$service" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

certs="$build/certs"
"$build/tools/song-service/song-service" --port 0 --cert "$certs/localhost.pem" \
  --key "$certs/localhost-key.pem" --log "$work/service.log" >"$work/service.out" &
service=$!
for _ in $(seq 50); do
  grep -q "listening on" "$work/service.out" 2>/dev/null && break
  sleep 0.1
done
port=$(grep -oP 'listening on \K[0-9]+' "$work/service.out")
export SONGPICKER_SERVICE_PORT=$port
origin="https://localhost:$port"

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
now_ns() { date +%s%N; }
xvfb() { xvfb-run -a -s "-screen 0 1280x800x24" "$@"; }

echo "== machine"
echo "cores: $(nproc); CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "date: $(date -u '+%Y-%m-%d %H:%M UTC'); load: $(cut -d' ' -f1-3 /proc/loadavg)"

gbench=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)

echo "== 1. search without the network (offscreen)"
QT_QPA_PLATFORM=offscreen "$build/bench/search_fill_bench" "${gbench[@]}" 2>/dev/null

echo "== 2. search end to end against the local service, 100 hits"
QT_QPA_PLATFORM=offscreen "$build/bench/search_service_bench" "${gbench[@]}" 2>/dev/null
search_url="$origin/API/yy_sq.php?msg=many-100"
for _ in $(seq 30); do
  start=$(now_ns)
  curl -s -0 --cacert "$certs/ca.pem" "$search_url" -o /dev/null
  echo $(( ($(now_ns) - start) / 1000 ))
done | median | awk '{ printf "curl tool, same address, 30 runs: median %.2f ms\n", $1 / 1000 }'

echo "== 3. downloads: wall time and peak RSS, $runs runs each, medians"
for song in big-5mb big-100mb; do
  : >"$work/curl.times"; : >"$work/curl.rss"; : >"$work/prog.times"; : >"$work/prog.rss"
  : >"$work/prog.process"; : >"$work/prog.write"
  # Every file gets a name of its own and all are removed at the end: removing a large
  # file just before the next write slows that write down, and would favour one side.
  for run in $(seq "$runs"); do
    start=$(now_ns)
    /usr/bin/time -f "%M" -o "$work/rss" curl -s -0 --cacert "$certs/ca.pem" \
      "$origin/mp3/$song.mp3" -o "$work/curl-$song-$run.mp3"
    echo $(( ($(now_ns) - start) / 1000000 )) >>"$work/curl.times"
    cat "$work/rss" >>"$work/curl.rss"

    mkdir -p "$work/program-$run"
    start=$(now_ns)
    /usr/bin/time -f "%M" -o "$work/rss" "$build/bench/download_song" "$song" \
      "$work/program-$run" >"$work/out"
    echo $(( ($(now_ns) - start) / 1000000 )) >>"$work/prog.process"
    grep -oP 'wall_ms=\K[0-9.]+' "$work/out" >>"$work/prog.times"
    grep -oP 'save_ms=\K[0-9.]+' "$work/out" >>"$work/prog.write"
    cat "$work/rss" >>"$work/prog.rss"
    cmp -s "$work/curl-$song-$run.mp3" "$work/program-$run/$song.mp3" ||
      { echo "the program's $song differs from curl's" >&2; exit 1; }
  done
  rm -rf "$work"/curl-*.mp3 "$work"/program-*
  printf '%s: curl tool %s ms, %s KiB peak | fetchSong %s ms (song streamed to disk %s ms; whole process %s ms), %s KiB peak\n' \
    "$song" "$(median <"$work/curl.times")" "$(median <"$work/curl.rss")" \
    "$(median <"$work/prog.times")" "$(median <"$work/prog.write")" \
    "$(median <"$work/prog.process")" "$(median <"$work/prog.rss")"
done

echo "== 4. start-up to the main window shown, and idle RSS (Xvfb)"
xvfb "$build/bench/startup_probe" "$((runs * 2))" 2>/dev/null | tail -2
# The program itself, idle for three seconds after start.
HOME="$work" xvfb sh -c "\"$build/src/app/songpicker\" & pid=\$!; sleep 3; \
  grep VmRSS /proc/\$pid/status; kill \$pid" 2>/dev/null | sed 's/^/songpicker after 3 s: /'

echo "== 5. developers window with both avatars cached (Xvfb)"
xvfb "$build/bench/developers_window_bench" "${gbench[@]}" 2>/dev/null

echo "== load after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
