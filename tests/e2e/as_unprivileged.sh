#!/usr/bin/env bash
# Runs a test on a session bus of its own, as an unprivileged user when
# started as root: the Wayland compositor of the desktop test refuses root.
#   as_unprivileged.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
runtime=$(mktemp -d /tmp/voltwise-session.XXXXXX)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
if [ "$(id -u)" -eq 0 ]; then
  user=${VOLTWISE_TEST_USER:-nobody}
  chown "$user" "$runtime"
  runuser -u "$user" -- env HOME="$runtime" XDG_RUNTIME_DIR="$runtime" \
    dbus-run-session -- "$@"
else
  HOME=$runtime XDG_RUNTIME_DIR=$runtime dbus-run-session -- "$@"
fi
