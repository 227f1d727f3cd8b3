#!/usr/bin/env bash
# Voltwise's footprint beside its yardsticks, measured side by side:
#   memory hidden in the tray after the first refresh (and its chime) against
#   a bare Qt tray program (bench/bare_tray.cpp: a tray icon, one fetch from
#   the simulator, a name on the session bus) and a bare Qt Widgets window
#   (bench/bare_window.cpp); the time from start to the first status on D-Bus
#   against the bare window;
#   one refresh, and 20 refreshes in one process, of voltwise-status against
#   curl fetching the same resources from the simulator;
#   idle wake-ups per minute and CPU per hour with a refresh every three
#   minutes.
#
#   bench/compare.sh [RUNS]        (RUNS: 5 by default; minimum and median)
#
# BUILD=DIR        Release build folder (build-release); NO_BUILD=1 uses it as is,
#                  so another checkout's build can be measured the same way
# FEEDS=classic    the classic files instead of today's feeds (the default)
# SOUND=off        the program with PlaySound=False; by default it plays its
#                  chime as it does for its users
# SOUND_SERVER=pulse  a PulseAudio server of the bench's own, with a null
#                  sink, for the chime to play through; by default there is
#                  no sound server, as on this project's test machines
# IDLE_MINUTES=N   real minutes watched for idle wake-ups (3); 0 skips
# HOUR_SECONDS=N   length of one shortened program hour (60)
# SMAPS_DIR=DIR    keeps the smaps of each measured process there
# INSTRUCTIONS=0   skips the instruction counts (callgrind), the figures that
#                  the machine's load does not change
#
# Memory: every page of a library or other mapped file that the process has
# in memory counts whole, as if the process had private copies of all its
# libraries (or were alone on the machine); its own memory (heap, stacks,
# anonymous mappings) counts as PSS, and so does memory shared with the
# X server. Sharing between processes therefore changes no figure.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
build=${BUILD:-build-release}
feeds=${FEEDS:-current}
idle_minutes=${IDLE_MINUTES:-3}
hour_seconds=${HOUR_SECONDS:-60}
sound=${SOUND:-on}
sound_server=${SOUND_SERVER:-none}
case $feeds in current | classic) ;; *) echo "compare: FEEDS is current or classic" >&2 && exit 2 ;; esac
case $sound in on | off) ;; *) echo "compare: SOUND is on or off" >&2 && exit 2 ;; esac
case $sound_server in none | pulse) ;; *) echo "compare: SOUND_SERVER is none or pulse" >&2 && exit 2 ;; esac

if [ -z "${NO_BUILD:-}" ]; then
  log=$(mktemp)
  if ! BUILD_TYPE=Release BUILD_TARGETS="voltwise voltwise-status voltwise-gridsim bench_bare_window bench_bare_tray" \
    scripts/build.sh "$build" -DVOLTWISE_SANITIZE=OFF >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
  rm -f "$log"
fi
case $build in /*) bin=$build/bin ;; *) bin=$PWD/$build/bin ;; esac
tools=(Xvfb trayer dbus-daemon dbus-monitor curl xwininfo)
[ "${INSTRUCTIONS:-1}" = 0 ] || tools+=(valgrind)
[ "$sound_server" = none ] || tools+=(pulseaudio pactl)
for tool in "${tools[@]}"; do
  command -v $tool >/dev/null || { echo "compare: $tool is missing (scripts/install-deps.sh)" >&2 && exit 1; }
done

work=$(mktemp -d /tmp/voltwise-compare.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# --- helpers -----------------------------------------------------------

# "min median" of the numbers on standard input.
min_median() {
  sort -g | awk '{ v[NR] = $1 }
    END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; print v[1], m }'
}
# Figure line: NAME UNIT then the samples; prints min and median.
report() {
  local name=$1 unit=$2 fmt=$3
  shift 3
  read -r lo med < <(printf '%s\n' "$@" | min_median)
  printf "  %-44s min $fmt  median $fmt %s\n" "$name" "$lo" "$med" "$unit"
}
# Ratio line of two sample sets (by their medians and by their minimums);
# an empty TARGET prints the ratio alone.
ratio() {
  local name=$1 target=$2 a=$3 b=$4
  read -r alo amed < <(printf '%s\n' $a | min_median)
  read -r blo bmed < <(printf '%s\n' $b | min_median)
  awk -v n="$name" -v t="$target" -v alo="$alo" -v amed="$amed" -v blo="$blo" -v bmed="$bmed" \
    'BEGIN { r = amed / bmed; printf "  %-44s %.2fx of the median (%.2fx of the minimum)", n, r, alo / blo
             if (t != "") printf ", target at most %sx: %s", t, (r <= t ? "met" : "NOT met"); print "" }'
}
now() { date +%s.%N; }

# Memory of PID in KiB: mapped files by RSS, the rest by PSS (see above).
alone_kib() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / { f = ($6 ~ /^\// && $6 !~ /^\/(dev\/shm|SYSV|memfd:)/); next }
       /^Rss:/ { if (f) t += $2 } /^Pss:/ { if (!f) t += $2 } END { print t }' "/proc/$1/smaps"
}
# The same, split: "own heap_and_anon files".
alone_split() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / { f = ($6 ~ /^\// && $6 !~ /^\/(dev\/shm|SYSV|memfd:)/); next }
       /^Rss:/ { if (f) fi += $2 } /^Pss:/ { if (!f) an += $2 } END { print an, fi }' "/proc/$1/smaps"
}
# Per thread of PID: "tid context-switches cpu-ns" (scheduler accounting).
threads() {
  local t
  for t in /proc/"$1"/task/*; do
    echo "${t##*/} $(awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { n += $2 } END { print n }' \
      "$t/status" 2>/dev/null) $(cut -d' ' -f1 "$t/schedstat" 2>/dev/null)"
  done 2>/dev/null | awk 'NF == 3'
}
# "wake-ups cpu-seconds" between two thread snapshots: a thread born since
# counts whole, one that ended counts one wake-up (its last counts are gone).
between() {
  awk 'NR == FNR { n[$1] = $2; c[$1] = $3; next }
       { w += $2 - n[$1]; t += $3 - c[$1]; seen[$1] = 1 }
       END { for (k in n) if (!(k in seen)) w++; printf "%d %.4f\n", w, t / 1e9 }' "$1" "$2"
}
wait_for() { # SECONDS COMMAND...: polls COMMAND every 10 ms
  local deadline=$(($(date +%s) + $1))
  shift
  until "$@"; do
    (($(date +%s) < deadline)) || return 1
    sleep 0.01
  done
}
stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

# --- the scene: display, tray host, session bus, simulator ---------------

display=":$((200 + RANDOM % 500))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
wait_for 10 xwininfo -root >/dev/null 2>&1
trayer --edge bottom --align right >/dev/null 2>&1 &
pids+=($!)
dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >/dev/null 2>&1 &
pids+=($!)
wait_for 10 test -s "$work/bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")

if [ "$sound_server" = pulse ]; then
  # Everything of the server's own stays in $work; as root it warns that it
  # is meant for a user, and runs.
  mkdir -p "$work/pulse/run"
  HOME=$work/pulse PULSE_RUNTIME_PATH=$work/pulse/run PULSE_STATE_PATH=$work/pulse \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" \
    --load=module-null-sink >"$work/pulse/log" 2>&1 &
  pids+=($!)
  export PULSE_SERVER=unix:$work/pulse/native
  if ! wait_for 10 pactl info >/dev/null 2>&1; then
    echo "compare: the PulseAudio server did not start:" >&2
    cat "$work/pulse/log" >&2
    exit 1
  fi
fi

"$bin/voltwise-gridsim" --port 0 --scenario normal >"$work/sim.out" 2>/dev/null &
pids+=($!)
wait_for 10 grep -q '^listening on ' "$work/sim.out"
url=$(sed -n 's/^listening on //p' "$work/sim.out")

export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
mkdir -p "$work/run" "$work/config/Ternwood"
chmod 700 "$work/run"
write_config() { # UPDATE_INTERVAL
  printf '[Servers]\nFeeds=%s\nGridMain=%s\nGridContent=%s\nFlexAlerts=%s\nMaker=%s\n' \
    "$feeds" "$url" "$url" "$url" "$url" >"$work/config/Ternwood/Voltwise.conf"
  printf '[Settings]\nUpdateInterval=%s\nShowAtStartup=False\nAutoUpdate=False\n' \
    "$1" >>"$work/config/Ternwood/Voltwise.conf"
  [ "$sound" = on ] || printf 'PlaySound=False\n' >>"$work/config/Ternwood/Voltwise.conf"
}

# What one refresh fetches, with the program's cache-busting query.
resources() {
  local ms=$(($(date +%s%N) / 1000000))
  if [ "$feeds" = current ]; then
    printf '%s\n' "$url/outlook/current/stats.txt?_=$ms" "$url/outlook/current/demand.csv?_=$ms" \
      "$url/TodaysOutlookApi/api/EmergencyNotices/v2/ActiveFlexAlertEvents?_=$ms"
  else
    printf '%s\n' "$url/outlook/systemstatus.csv" "$url/outlook/SP/ems_small.gif" \
      "$url/outlook/SP/outlook.html" "$url/awe/forecast.html" "$url/awe/SP/systemstatus.html"
  fi
}

# Starts voltwise with the start time in $work/t0; sets $app.
start_voltwise() {
  write_config "$1"
  shift
  rm -f "$work/t0"
  env "$@" bash -c 'date +%s.%N >"$0"; exec "$1"' "$work/t0" "$bin/voltwise" >/dev/null 2>&1 &
  app=$!
  pids+=($app)
}
first_signal_time() {
  sed -n 's/^signal time=\([0-9.]*\) .*path=\/GridStatus; .*member=PropertiesChanged.*/\1/p' \
    "$work/monitor" | head -1
}
notice_shown() { xwininfo -root -tree 2>/dev/null | grep -q '"Voltwise Notice"'; }
has_signal() { [ -n "$(first_signal_time)" ]; }

echo "Voltwise beside a bare Qt tray program, a bare Qt window and curl: $runs runs (after one unmeasured"
echo "warm-up), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), feeds \"$feeds\" from the simulator on"
echo "loopback, sound $sound (sound server: $sound_server), hidden in the tray"
echo "memory: mapped files by RSS (as with private library copies), own memory and X shared memory by PSS"

# --- memory and start-up ----------------------------------------------

bare_kib=() app_kib=() bare_s=() app_s=() app_own=() app_files=() bare_own=() bare_files=()
tray_kib=() tray_own=() tray_files=()
for run in $(seq 0 "$runs"); do
  # The bare tray program: its memory once its fetch is done.
  "$bin/bench_bare_tray" "$(resources | head -1)" >"$work/tray.out" 2>/dev/null &
  tray=$!
  pids+=($tray)
  wait_for 20 grep -qs '^ready' "$work/tray.out"
  sleep 1
  kib=$(alone_kib $tray)
  read -r own files < <(alone_split $tray)
  [ -n "${SMAPS_DIR:-}" ] && cp "/proc/$tray/smaps" "$SMAPS_DIR/tray.$run"
  stop $tray
  if ((run > 0)); then tray_kib+=("$kib") tray_own+=("$own") tray_files+=("$files"); fi

  # The bare window: start to first exposure, then its memory.
  t0=$(now)
  "$bin/bench_bare_window" >"$work/bare.out" 2>/dev/null &
  bare=$!
  pids+=($bare)
  wait_for 20 grep -q '^mapped ' "$work/bare.out"
  mapped=$(sed -n 's/^mapped //p' "$work/bare.out")
  sleep 1
  kib=$(alone_kib $bare)
  read -r own files < <(alone_split $bare)
  [ -n "${SMAPS_DIR:-}" ] && cp "/proc/$bare/smaps" "$SMAPS_DIR/bare.$run"
  stop $bare
  if ((run > 0)); then
    bare_s+=("$(awk -v a="$t0" -v b="$mapped" 'BEGIN { printf "%.4f", b - a }')")
    bare_kib+=("$kib") bare_own+=("$own") bare_files+=("$files")
  fi

  # Voltwise: start to the first PropertiesChanged of its items, then its
  # memory once the notice of the first status has slid out again.
  : >"$work/monitor"
  dbus-monitor "type='signal',path='/GridStatus',member='PropertiesChanged'" >"$work/monitor" 2>/dev/null &
  monitor=$!
  pids+=($monitor)
  wait_for 10 grep -q 'member=NameAcquired' "$work/monitor" || true
  start_voltwise 3
  wait_for 30 has_signal
  published=$(first_signal_time)
  started=$(cat "$work/t0")
  wait_for 5 notice_shown || true
  wait_for 30 bash -c '! xwininfo -root -tree 2>/dev/null | grep -q "\"Voltwise Notice\""'
  sleep 1
  kib=$(alone_kib $app)
  read -r own files < <(alone_split $app)
  [ -n "${SMAPS_DIR:-}" ] && cp "/proc/$app/smaps" "$SMAPS_DIR/voltwise.$run"
  stop $app
  stop $monitor
  if ((run > 0)); then
    app_s+=("$(awk -v a="$started" -v b="$published" 'BEGIN { printf "%.4f", b - a }')")
    app_kib+=("$kib") app_own+=("$own") app_files+=("$files")
  fi
done

mib() { for k; do awk -v k="$k" 'BEGIN { printf "%.1f\n", k / 1024 }'; done; }
echo
echo "Memory after the first refresh (MiB)"
report "bare Qt tray program" MiB %.1f $(mib "${tray_kib[@]}")
report "  its own memory" MiB %.1f $(mib "${tray_own[@]}")
report "  its mapped files" MiB %.1f $(mib "${tray_files[@]}")
report "bare Qt window" MiB %.1f $(mib "${bare_kib[@]}")
report "  its own memory" MiB %.1f $(mib "${bare_own[@]}")
report "  its mapped files" MiB %.1f $(mib "${bare_files[@]}")
report "voltwise, hidden in the tray" MiB %.1f $(mib "${app_kib[@]}")
report "  its own memory" MiB %.1f $(mib "${app_own[@]}")
report "  its mapped files" MiB %.1f $(mib "${app_files[@]}")
ratio "voltwise / bare tray program" "" "${app_kib[*]}" "${tray_kib[*]}"
ratio "voltwise / bare window" 1.5 "${app_kib[*]}" "${bare_kib[*]}"
echo
echo "Start-up (s)"
report "bare Qt window: start to mapped" s %.3f "${bare_s[@]}"
report "voltwise: start to first status on D-Bus" s %.3f "${app_s[@]}"
ratio "voltwise / bare window" 1.3 "${app_s[*]}" "${bare_s[*]}"

# --- one refresh and 20 refreshes against curl -------------------------

# "wall cpu" in seconds of one run of a command (CPU: user + system).
measure() {
  local TIMEFORMAT='%3R %3U %3S'
  { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }'
}
# curl's arguments for N refreshes' resources, all in one process.
curl_args() {
  local i u
  for ((i = 0; i < $1; i++)); do
    while read -r u; do printf '%s\n' -o /dev/null "$u"; done < <(resources)
  done
}
status_args=("$bin/voltwise-status" --server "$url" --feeds "$feeds" --refreshes)

# Checks first that both really fetch and read.
"${status_args[@]}" 1 >/dev/null || { echo "compare: voltwise-status failed against the simulator" >&2 && exit 1; }
mapfile -t args < <(curl_args 1)
curl -sS --fail "${args[@]}" || { echo "compare: curl failed against the simulator" >&2 && exit 1; }
count=$(resources | wc -l)
declare -A wall cpu
for n in 1 20; do
  mapfile -t args < <(curl_args $n)
  for run in $(seq 0 "$runs"); do
    for who in status curl; do
      if [ $who = status ]; then r=$(measure "${status_args[@]}" $n); else r=$(measure curl -sS "${args[@]}"); fi
      ((run > 0)) && wall[$who$n]+="${r% *} " && cpu[$who$n]+="${r#* } "
    done
  done
done
for n in 1 20; do
  echo
  echo "$n refresh(es) in one process, $((n * count)) requests (s)"
  report "voltwise-status: wall" s %.3f ${wall[status$n]}
  report "voltwise-status: CPU" s %.3f ${cpu[status$n]}
  report "curl: wall" s %.3f ${wall[curl$n]}
  report "curl: CPU" s %.3f ${cpu[curl$n]}
  ratio "wall, voltwise-status / curl" 1.2 "${wall[status$n]}" "${wall[curl$n]}"
  ratio "CPU, voltwise-status / curl" 1.5 "${cpu[status$n]}" "${cpu[curl$n]}"
done

# --- idle ---------------------------------------------------------------

# CPU per hour on shortened minutes: one refresh every three program
# minutes, HOUR_SECONDS real seconds for 60 of them; the program's work is
# driven by its minute, so its CPU per program hour is that of a real hour
# but for the wake-ups of its libraries (counted below on real minutes).
start_voltwise 3 VOLTWISE_TEST_MINUTE_MS=$((hour_seconds * 1000 / 60))
wait_for 30 bash -c "curl -s $url/_sim/state | grep -q '\"refreshes\": *[1-9]'"
sleep $((hour_seconds / 6 + 8)) # past the notice and a few refreshes
hours=()
for run in $(seq "$runs"); do
  threads $app >"$work/before"
  sleep "$hour_seconds"
  threads $app >"$work/after"
  hours+=("$(between "$work/before" "$work/after" | cut -d' ' -f2)")
done
stop $app
echo
echo "Idle, a refresh every three minutes"
report "CPU per hour (hours of $hour_seconds s minutes)" s %.3f "${hours[@]}"
awk -v t=0.5 -v s="$(printf '%s\n' "${hours[@]}" | min_median | cut -d' ' -f2)" \
  'BEGIN { printf "  %-44s %.3f s, target at most %s s: %s\n", "CPU per hour (median)", s, t, (s <= t ? "met" : "NOT met") }'

if ((idle_minutes > 0)); then
  # Real minutes: the first automatic refresh comes at the first tick; each
  # window below holds one tick, half a minute away from its edges.
  start_voltwise 3
  wait_for 30 bash -c "curl -s $url/_sim/state | grep -q '\"refreshes\": *[1-9]'"
  sleep 90
  quiet=() busy=() cycle=0
  for minute in $(seq "$idle_minutes"); do
    r0=$(curl -s "$url/_sim/state" | sed -n 's/.*"refreshes": *\([0-9]*\).*/\1/p')
    threads $app >"$work/before"
    sleep 60
    threads $app >"$work/after"
    r1=$(curl -s "$url/_sim/state" | sed -n 's/.*"refreshes": *\([0-9]*\).*/\1/p')
    read -r woken spent < <(between "$work/before" "$work/after")
    if [ "$r0" = "$r1" ]; then quiet+=("$woken"); else busy+=("$woken"); fi
    if ((minute <= 3)); then cycle=$(awk -v a="$cycle" -v b="$spent" 'BEGIN { print a + b }'); fi
  done
  stop $app
  report "wake-ups in a minute without refresh" "" %.1f "${quiet[@]:-0}"
  if ((${#busy[@]})); then report "wake-ups in a minute with a refresh" "" %.1f "${busy[@]}"; fi
  if ((idle_minutes >= 3)); then
    awk -v c="$cycle" 'BEGIN { printf "  %-44s %.3f s (one real three-minute cycle, x20)\n", "CPU per hour on real minutes", c * 20 }'
  fi
fi

# --- instructions, which the machine's load does not change -------------

[ "${INSTRUCTIONS:-1}" = 0 ] && exit 0
# Ir of a callgrind output file.
ir() { awk '/^totals:/ { print $2 }' "$1"; }
callgrind() { valgrind --tool=callgrind --callgrind-out-file="$work/cg" "$@" >/dev/null 2>&1; }
has_totals() { grep -q '^totals:' "$1" 2>/dev/null; }
# Runs a program under callgrind until it enters FUNCTION; prints the
# instructions executed up to there (all threads).
ir_until() {
  local function=$1
  shift
  rm -f "$work"/cg*
  valgrind --tool=callgrind --callgrind-out-file="$work/cg" --dump-before="$function" "$@" >/dev/null 2>&1 &
  local pid=$!
  pids+=($pid)
  wait_for 120 has_totals "$work/cg.1"
  stop $pid
  ir "$work/cg.1"
}
irm() { awk -v n="$1" -v v="$2" 'BEGIN { printf "  %-44s %.1f M\n", n, v / 1e6 }'; }
irratio() {
  awk -v n="$1" -v t="$2" -v a="$3" -v b="$4" \
    'BEGIN { r = a / b; printf "  %-44s %.2fx, target at most %sx: %s\n", n, r, t, (r <= t ? "met" : "NOT met") }'
}

echo
echo "Instructions (callgrind, Ir of every thread; one run each)"
bare_ir=$(ir_until '*reportMapped*' "$bin/bench_bare_window")
write_config 3
app_ir=$(ir_until 'voltwise::PublishedItemsBus::setItems*' "$bin/voltwise")
irm "bare Qt window: start to mapped" "$bare_ir"
irm "voltwise: start to first status on D-Bus" "$app_ir"
irratio "voltwise / bare window" 1.3 "$app_ir" "$bare_ir"
for n in 1 20; do
  callgrind "${status_args[@]}" $n
  status_ir=$(ir "$work/cg")
  mapfile -t args < <(curl_args $n)
  callgrind curl -sS "${args[@]}"
  curl_ir=$(ir "$work/cg")
  irm "voltwise-status: $n refresh(es), whole run" "$status_ir"
  irm "curl: the same $((n * count)) requests" "$curl_ir"
  irratio "voltwise-status / curl (as CPU)" 1.5 "$status_ir" "$curl_ir"
done
