# What the end-to-end drivers share, sourced by each: polling for a condition, finding the game's
# window and the checks of a program that ends. The caller sets pid (the game), log (its
# Debug.txt), err (its stderr) and defines fail.
#
# No limit here measures the game: each only turns a hang into a named failure. The drivers name
# the seconds a step takes at most on a quiet machine; a machine loaded by other work, under the
# sanitizers, takes several times that, so every limit is stretched by this factor, and a step
# that takes long but ends is only reported.
patience=4

# Polls a condition (run in this shell, so it may set variables) for up to the given seconds,
# times $patience; gives up early once the game has ended.
wait_for() {
  local seconds=$1
  shift
  local limit=$((seconds * patience))
  local deadline=$((SECONDS + limit))
  while [ $SECONDS -lt $deadline ]; do
    "$@" && return 0
    kill -0 $pid 2>/dev/null || { "$@"; return; }
    sleep 0.2
  done
  echo "  (waited $limit s for: $*)" >&2
  return 1
}

# Finds the window titled exactly $1 within the given seconds (times $patience): its id in $id.
window_named() {
  local name=$1 seconds=$2 found
  window_found() {
    found=$(xdotool search --name "^$name\$" 2>/dev/null | head -n 1)
    [ -n "$found" ]
  }
  wait_for "$seconds" window_found || return 1
  id=$found
}

# Waits for the game to end: it is expected to within the given seconds; a longer end is reported
# with its time, and only one past the limit of a hang (at least two minutes) fails. Leaves the
# exit status in $status.
await_end() {
  local seconds=$1 began=$SECONDS
  local limit=$((seconds * patience > 120 ? seconds * patience : 120))
  while kill -0 $pid 2>/dev/null; do
    [ $((SECONDS - began)) -lt $limit ] ||
      fail "still running $limit s after the end was asked for: hung"
    sleep 0.1
  done
  wait $pid
  status=$?
  trap - EXIT
  local took=$((SECONDS - began))
  [ $took -le "$seconds" ] ||
    echo "note: the end took $took s, more than the $seconds s of a quiet machine"
}

# Waits for the game to end (as await_end), then checks it ended as a clean run does: status 0,
# Debug.txt closed by the session's stop line, no sanitizer report.
await_clean_end() {
  await_end "$1"
  [ $status -eq 0 ] || fail "exit status $status"
  tail -n 1 "$log" | grep -Eq '^Debug Session stopped [0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}' ||
    fail "Debug.txt does not end with the session's stop line"
  if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$err"; then fail "sanitizer report"; fi
}
