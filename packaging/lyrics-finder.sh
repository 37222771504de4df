#!/bin/sh
# lyrics-finder: makes sure a lyric service answers where the finder asks, 127.0.0.1:47610, then
# becomes the finder from its program folder. Started from the menu there is no terminal, so a
# service this script starts is detached and writes to a log file.
set -u

self=$(readlink -f "$0")
bin_dir=$(dirname "$self")
prefix=$(dirname "$bin_dir")
program="$prefix/lib/lyrics-finder/lyrics-finder"
service="$bin_dir/lyric-service"
downloads="${XDG_DATA_HOME:-$HOME/.local/share}/lyrics-finder"
log_dir="${XDG_STATE_HOME:-$HOME/.local/state}/lyrics-finder"
log="$log_dir/lyric-service.log"
# The finder always asks port 47610. LYRICS_FINDER_TEST_PORT lets the tests run this script
# against a port of their own; such a service is always the detached one, as the user unit
# serves the finder's port.
port=${LYRICS_FINDER_TEST_PORT:-47610}
wait_seconds=30

say() { echo "lyrics-finder: $*" >&2; }

usage() {
  cat <<EOF
usage: lyrics-finder [--open-downloads]
Starts the lyric service when none answers on 127.0.0.1:47610, then opens the finder.
  --open-downloads  open the folder of downloaded lyrics, $downloads
EOF
}

case "${1:-}" in
  "") ;;
  --open-downloads)
    mkdir -p "$downloads" || exit 1
    if ! command -v xdg-open >/dev/null 2>&1; then
      say "xdg-open is missing (package xdg-utils); the downloaded lyrics are in $downloads"
      exit 1
    fi
    exec xdg-open "$downloads"
    ;;
  -h | --help)
    usage
    exit 0
    ;;
  *)
    say "unknown option $1"
    usage >&2
    exit 2
    ;;
esac

if [ ! -x "$program" ]; then
  say "the finder is missing: $program"
  exit 1
fi

answers() {
  curl -s -o /dev/null -m 2 "http://127.0.0.1:$port/"
}

start_unit() {
  [ "$port" = 47610 ] && command -v systemctl >/dev/null 2>&1 &&
    systemctl --user start lyric-service.service >/dev/null 2>&1
}

# In a session of its own and no child of the finder: it keeps serving after the finder ends.
# Prints its process id.
start_detached() {
  mkdir -p "$log_dir" || return 1
  (
    setsid nohup "$service" --port "$port" </dev/null >>"$log" 2>&1 &
    echo $!
  )
}

if ! command -v curl >/dev/null 2>&1; then
  say "curl is missing, so the lyric service can't be looked for; starting the finder alone"
elif ! answers; then
  service_pid=
  via_unit=
  if start_unit; then
    via_unit=yes
  else
    service_pid=$(start_detached) || service_pid=
    if [ -z "$service_pid" ]; then
      say "cannot write the log $log; the lyric service is not started"
    fi
  fi
  deadline=$(($(date +%s) + wait_seconds))
  while ! answers; do
    if [ -n "$service_pid" ] && ! kill -0 "$service_pid" 2>/dev/null; then
      say "the lyric service ended at start; its messages are in $log"
      break
    fi
    if [ -n "$via_unit" ] && systemctl --user is-failed --quiet lyric-service.service; then
      say "the lyric service failed; see: journalctl --user -u lyric-service"
      break
    fi
    if [ -z "$service_pid$via_unit" ] || [ "$(date +%s)" -ge "$deadline" ]; then
      [ -n "$service_pid$via_unit" ] && say "the lyric service does not answer yet (still indexing?)"
      break
    fi
    sleep 0.2
  done
fi

exec "$program"
