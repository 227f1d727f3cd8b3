#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under /usr and checks every file,
# the metadata and manual pages, and the installed programs finding their files.
set -euo pipefail
build=$1 version=$2 libdir=$3
root=$(mktemp -d)
sim_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

dest=$root/dest
DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
usr=$dest/usr
id=com.ternwood.Voltwise

expected=(
  bin/voltwise bin/voltwise-status bin/voltwise-gridsim
  $libdir/voltwise/voltwise-chime
  $libdir/voltwise/voltwise-chart.so
  share/voltwise/notice.wav share/voltwise/translations/voltwise_es.qm
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/man/man1/voltwise.1.gz share/man/man1/voltwise-status.1.gz
  share/man/man1/voltwise-gridsim.1.gz
  share/doc/voltwise/copyright share/doc/voltwise/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
diff -u <(printf '%s\n' "${expected[@]}" | sort) \
        <(cd "$usr" && find . -type f -o -type l | sed 's|^\./||' | sort) ||
  fail "the installed files differ from the expected ones (- expected, + installed)"
for program in bin/voltwise bin/voltwise-status bin/voltwise-gridsim $libdir/voltwise/voltwise-chime; do
  [ -x "$usr/$program" ] || fail "$program is not executable"
done

# Validators: hints may stay, errors and warnings may not.
out=$(desktop-file-validate "$usr/share/applications/$id.desktop" 2>&1) || fail "$out"
! grep -E 'error|warning' <<<"$out" || fail "desktop-file-validate complains"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" ||
  fail "appstreamcli validate complains"
for page in "$usr"/share/man/man1/*.1.gz; do
  out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$out" ] || fail "$(basename "$page"): $out"
done

# The installed programs: the simulator, the status tool against it, and the
# desktop program, which must find its files in the DESTDIR's share/ alone.
home=$root/home
mkdir -p "$home/config/Ternwood" "$home/data" "$home/run"
chmod 700 "$home/run"
export XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_DATA_DIRS=$home/data
export XDG_RUNTIME_DIR=$home/run QT_QPA_PLATFORM=offscreen

[ "$("$usr/bin/voltwise-status" --version)" = "voltwise-status $version" ] ||
  fail "voltwise-status --version"
[ "$("$usr/$libdir/voltwise/voltwise-chime" --version)" = "voltwise-chime $version" ] ||
  fail "voltwise-chime --version"
"$usr/bin/voltwise-gridsim" --port 0 --verbose >"$root/sim.out" 2>"$root/sim.log" &
sim_pid=$!
for _ in $(seq 100); do
  grep -q '^listening on ' "$root/sim.out" && break
  sleep 0.1
done
url=$(sed -n 's/^listening on //p' "$root/sim.out")
[ -n "$url" ] || fail "the installed simulator did not start"
"$usr/bin/voltwise-status" --server "$url" --json >"$root/status.json" ||
  fail "the installed voltwise-status did not read the simulator"

printf '[Servers]\nGridMain=%s\nGridContent=%s\nMaker=%s\n[Settings]\nShowAtStartup=True\n' \
  "$url" "$url" "$url" >"$home/config/Ternwood/Voltwise.conf"
# Its first refresh, seen by the simulator, comes once it is fully started.
requests=$(wc -l <"$root/sim.log")
# In Spanish, to see it find its translation from its own prefix.
LANGUAGE=es QT_LOGGING_RULES='voltwise.files.debug=true;voltwise.translations.debug=true' \
  "$usr/bin/voltwise" 2>"$root/app.err" &
app_pid=$!
found() { grep -c -F ": $usr/share/$1" "$root/app.err" || true; }
for _ in $(seq 300); do
  [ "$(wc -l <"$root/sim.log")" -gt "$requests" ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
[ "$(found voltwise/notice.wav)" -ge 1 ] || fail "voltwise did not find its chime: $(cat "$root/app.err")"
[ "$(found icons/hicolor/)" -ge 8 ] || fail "voltwise did not find its icon: $(cat "$root/app.err")"
[ "$(found voltwise/translations/voltwise_es.qm)" -ge 1 ] ||
  fail "voltwise did not find its Spanish translation: $(cat "$root/app.err")"
grep -q -F "voltwise-chart.so: $usr/$libdir/voltwise/voltwise-chart.so" "$root/app.err" ||
  fail "voltwise did not load its chart: $(cat "$root/app.err")"
grep -q -F "voltwise-chime: $usr/$libdir/voltwise/voltwise-chime" "$root/app.err" ||
  fail "voltwise did not find its chime program: $(cat "$root/app.err")"
kill -TERM "$app_pid"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "voltwise ended with status $status: $(cat "$root/app.err")"
echo "installed tree complete and working"
