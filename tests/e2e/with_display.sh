#!/usr/bin/env bash
# Runs a command on a virtual X display of its own and ends with the command's status:
#   with_display.sh [--screen WxHxD] command [args...]
#
# Xvfb chooses a free display number itself and writes it once it takes connections
# (-displayfd). xvfb-run -a instead picks a number by looking for lock files before its server
# starts, so runs started side by side on a busy machine can pick the same one, and the later
# program then finds no display at all.
#
# -noreset: by default the server starts over each time its last client leaves, and a client
# whose connection arrives during that start-over is dropped. The driving scripts connect and
# leave all the time (xdotool, xwd), so a program starting beside them on a busy machine could
# find "no display" about once in two hundred starts.
set -u

screen=1280x1024x24
if [ "${1:-}" = "--screen" ]; then
  screen=$2
  shift 2
fi
[ $# -gt 0 ] || { echo "with_display.sh: no command" >&2; exit 2; }

# A start that has not answered in this time has hung: a loaded machine takes seconds, not minutes.
limit=120

report=$(mktemp) || exit 1
server_log=$(mktemp) || exit 1
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -f "$report" "$server_log"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

exec {report_fd}>"$report"
Xvfb -displayfd "$report_fd" -screen 0 "$screen" -nolisten tcp -noreset >"$server_log" 2>&1 &
xvfb=$!
exec {report_fd}>&-

number=
began=$SECONDS
while [ -z "$number" ]; do
  if ! kill -0 "$xvfb" 2>/dev/null; then
    echo "with_display.sh: Xvfb ended before it took connections:" >&2
    cat "$server_log" >&2
    exit 1
  fi
  if [ $((SECONDS - began)) -ge $limit ]; then
    echo "with_display.sh: Xvfb gave no display number in $limit s" >&2
    exit 1
  fi
  # The number is whole once its line ends.
  if [ "$(wc -l <"$report")" -ge 1 ]; then
    number=$(head -n 1 "$report")
    break
  fi
  sleep 0.1
done

DISPLAY=:$number "$@"
