# What the end-to-end drivers share, sourced by each: polling for a condition and the checks of a
# program that ends. The caller sets pid (the game), log (its Debug.txt), err (its stderr) and
# defines fail.

# Polls a condition (run in this shell, so it may set variables) for up to the given seconds;
# gives up early once the game has ended.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  while [ $SECONDS -lt $deadline ]; do
    "$@" && return 0
    kill -0 $pid 2>/dev/null || { "$@"; return; }
    sleep 0.2
  done
  return 1
}

# Waits up to the given seconds for the game to end, then checks it ended as a clean run does:
# status 0, Debug.txt closed by the session's stop line, no sanitizer report.
await_clean_end() {
  local seconds=$1
  local deadline=$((SECONDS + seconds))
  while kill -0 $pid 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "still running ${seconds} s after the end was asked for"
    sleep 0.1
  done
  wait $pid
  status=$?
  trap - EXIT
  [ $status -eq 0 ] || fail "exit status $status"
  tail -n 1 "$log" | grep -Eq '^Debug Session stopped [0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}' ||
    fail "Debug.txt does not end with the session's stop line"
  if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$err"; then fail "sanitizer report"; fi
}
