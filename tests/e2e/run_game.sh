#!/usr/bin/env bash
# Runs the built game as a new user would: the program and its Data/ copied to a fresh folder, a
# home and documents folder of its own, a virtual X display. One run per mode:
#   window      the first data set opens its window, makes the game object, draws the backdrop,
#               ends on SIGTERM and leaves the preferences in Config.ini
#   scriptquit  a Startup.lua that quits by itself after 30 frames
#   nostartup   no Startup.lua: the error is reported, the window stays undrawn, SIGTERM ends it
#   badclass    the first data set's Startup.lua ending in a CreateClass call on an entity: the
#               script error is reported, nothing is called, the game runs on and ends on SIGTERM
#   nodisplay   no X display: the program says so and fails without hanging
#   configplay  the configuration dialog comes first; Enter plays, the game starts as chosen
#   configexit  the configuration dialog comes first; Escape ends the program before any device
#   editor      Ctrl+F1 turns the window into the "Editor Mode" window: the game drawn in the game
#               view, the menu bar's "Scripts" menu runs "Script1.lua"; Ctrl+F1 gives the window
#               back
#   editorpick  a test world ini holds a trash can (a StaticObject) in front of the backdrop's
#               camera; in the editor the pointer over it names it, a click and a 40-pixel drag
#               move it and "Save All Changed Entities" writes its new "pos" into that ini
# Usage: run_game.sh <mode> <program> <Data folder> <xwd_pixel program>
set -uo pipefail

if [ "${1:-}" = "--on-display" ]; then
  on_display=1
  shift
else
  on_display=0
fi
mode=$1 program=$2 data=$3 xwd_pixel=$4

fail() {
  echo "FAIL ($mode): $*" >&2
  for f in stderr.txt game/Debug.txt; do
    [ -f "$work/$f" ] && { echo "---- $f" >&2; tail -n 40 "$work/$f" >&2; }
  done
  exit 1
}

if [ $on_display -eq 0 ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/fairlark-e2e.XXXXXX") || exit 1
  export FAIRLARK_E2E_WORK=$work
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/game/Data" "$work/home/Documents/Fairlark" "$work/run"
  chmod 700 "$work/run"
  cp "$program" "$work/game/fairlark" || fail "cannot copy $program"
  cp -r "$data/." "$work/game/Data/" || fail "cannot copy $data"
  # The editor's scripts live beside the program.
  editor_scripts=$(dirname "$program")/Editor
  if [ -d "$editor_scripts" ]; then
    cp -r "$editor_scripts" "$work/game/Editor" || fail "cannot copy $editor_scripts"
  fi
  case $mode in
    config*) show_dialog=1 ;;
    *) show_dialog=0 ;;
  esac
  printf '[Xq Config]\nrunHwConfig=%d\nwindowed=1\ndebug=1\n' $show_dialog \
    >"$work/home/Documents/Fairlark/Config.ini"
  export HOME=$work/home XDG_DOCUMENTS_DIR=$work/home/Documents XDG_RUNTIME_DIR=$work/run
  unset XDG_CONFIG_HOME WAYLAND_DISPLAY

  case $mode in
    scriptquit)
      printf 'Script.WaitFrame (30)\nGame.Shutdown ()\n' >"$work/game/Data/Startup.lua" ;;
    nostartup)
      rm -f "$work/game/Data/Startup.lua" ;;
    editorpick)
      # The camera looks down at 45 degrees onto the origin from a fixed 10 units, its mouse
      # and edge scrolling off so that only the editor moves anything.
      cat >"$work/game/Data/EditorPick.ini" <<'INI'
[Entities]
PickCam CameraVantor1
PickCan StaticObject

[PickCam]
mouseEnabled=0
edgeScrollEnable=0
minX=0
maxX=0
minZ=0
maxZ=0
minZoom=10
maxZoom=10
minPitch=0.785398
maxPitch=0.785398

[PickCan]
modelFile=Models/Attractions/TrashCan.md3
pos.x=0
pos.y=0
pos.z=0
agl=0
INI
      # The world loads and the backdrop takes its camera before the start-up line.
      startup=$work/game/Data/Startup.lua
      grep -qF 'System.OutputDebugString("Startup.lua: done\n")' "$startup" ||
        fail "Startup.lua no longer ends with its done line"
      sed -i '/Startup.lua: done/i\
Game.LoadEntitiesIni("EditorPick.ini")\
Entity.SetVoid(Entity.FindName(Game.GetViewportEntity(), "Backdrop"), "entCamera",\
    Entity.FindName(Game.GetRootEntity(), "PickCam"))' "$startup" ;;
    badclass)
      printf 'Entity.CreateClass (Game.GetRootEntity (), "x", 0)\n' >>"$work/game/Data/Startup.lua" ;;
  esac

  if [ "$mode" = nodisplay ]; then
    unset DISPLAY
    timeout -s KILL 20 "$work/game/fairlark" >"$work/stdout.txt" 2>"$work/stderr.txt"
    status=$?
    [ $status -ne 137 ] || fail "the program hung without a display"
    [ $status -ne 0 ] || fail "the program reported success without a display"
    [ -s "$work/stderr.txt" ] || fail "nothing was said on stderr"
    if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$work/stderr.txt"; then
      fail "sanitizer report"
    fi
    echo "ok ($mode): exit status $status, stderr: $(head -n 1 "$work/stderr.txt")"
    exit 0
  fi
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --on-display "$mode" "$program" "$data" "$xwd_pixel"
  exit $?
fi

# ---- on the virtual display ----
work=$FAIRLARK_E2E_WORK
log=$work/game/Debug.txt
err=$work/stderr.txt

# Started from another folder: the game must find Data/ and write Debug.txt beside itself.
cd "$work"
"$work/game/fairlark" >"$work/stdout.txt" 2>"$err" &
pid=$!
trap 'kill -KILL $pid 2>/dev/null' EXIT

# Polls a condition for up to the given seconds; gives up early if the game has ended.
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

log_holds() { [ -f "$log" ] && grep -qF "$1" "$log"; }
stderr_holds() { grep -qF "$1" "$err"; }
started() {
  log_holds "EntCreateClass(EntNull)... ok." && log_holds "EntCreateClass(Viewport)... ok." &&
    log_holds "EntCreateClass(Music)... ok." && stderr_holds "Startup.lua: done"
}
window_centre() { xwd -silent -name "${window_name:-Fairlark}" -out "$work/shot.xwd" 2>/dev/null && "$xwd_pixel" "$work/shot.xwd"; }
shows_backdrop() {
  local r g b
  read -r r g b < <(window_centre) || return 1
  last_colour="$r $g $b"
  [ $((r - 51)) -ge -2 ] && [ $((r - 51)) -le 2 ] && [ $((g - 102)) -ge -2 ] &&
    [ $((g - 102)) -le 2 ] && [ $((b - 153)) -ge -2 ] && [ $((b - 153)) -le 2 ]
}
window_open() { xwd -silent -name Fairlark -out /dev/null 2>/dev/null; }
config=$work/home/Documents/Fairlark/Config.ini
# Finds the configuration dialog's window and sends it a key, as a player would.
answer_dialog() {
  local id
  id=$(timeout 30 xdotool search --sync --name "Xq Config" | head -n 1) ||
    fail "the configuration dialog did not appear within 30 s"
  # The first key can come before the dialog's first frame: send it until the window goes.
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    xdotool windowfocus --sync "$id" key "$1" 2>/dev/null
    sleep 1
    xdotool search --name "Xq Config" >/dev/null 2>&1 || return 0
  done
  fail "the dialog did not take $1"
}

titled() { xdotool search --name "^$1\$" >/dev/null 2>&1; }
# The game reads Control from its key table when it handles F1, so Control is held over a frame
# or more, as a hand would. $id is the game's window.
ctrl_f1() {
  xdotool windowfocus --sync "$id" keydown ctrl 2>/dev/null
  sleep 0.3
  xdotool key F1
  sleep 0.3
  xdotool keyup ctrl
}
# Keys can come before the window takes them: Ctrl+F1 until the title changes.
editor_on() {
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    ctrl_f1
    wait_for 2 titled "Editor Mode" && break
  done
  titled "Editor Mode" || fail "Ctrl+F1 did not give the title \"Editor Mode\""
}
editor_off() {
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    ctrl_f1
    wait_for 2 titled Fairlark && break
  done
  titled Fairlark || fail "Ctrl+F1 did not give the title back"
}
# The test world's trash can's "pos" (a key per axis), as "x y z".
can_pos() {
  awk -F= '/^\[/ { inside = ($0 == "[PickCan]") }
    inside && $1 ~ /^pos\.[xyz]$/ { v[$1] = $2 }
    END { print v["pos.x"], v["pos.y"], v["pos.z"] }' "$work/game/Data/EditorPick.ini"
}
can_moved() { [ "$(can_pos)" != "0 0 0" ]; }
# The menu bar's "Entity", then its second item, "Save All Changed Entities", until the can's
# "pos" is written. ImGui takes a click only at its next frame, which a loaded machine can be
# slow to draw: the item is clicked only once the menu shows, and a click lost is made again.
entity_menu_open() {
  local r g b
  xwd -silent -name "Editor Mode" -out "$work/menu.xwd" 2>/dev/null || return 1
  read -r r g b < <("$xwd_pixel" "$work/menu.xwd" 200 40) || return 1
  [ "$r" -lt 40 ] && [ "$g" -lt 40 ] && [ "$b" -lt 40 ]
}
save_all_changed() {
  for _ in 1 2 3 4 5; do
    xdotool mousemove --window "$id" 70 10
    sleep 0.3
    xdotool click 1
    wait_for 5 entity_menu_open || continue
    xdotool mousemove --window "$id" 80 48
    sleep 0.5
    xdotool click 1
    wait_for 5 can_moved && return 0
  done
  return 1
}
# The editor's latest hover line names nothing.
hover_none() {
  grep -a 'Entity under cursor: ' "$log" | tail -n 1 | grep -qx 'Entity under cursor: NONE'
}

# Waits for the game's own end; SIGTERM first when asked. Leaves the exit status in $status.
ends_cleanly() {
  local signal=$1 seconds=$2
  [ "$signal" = none ] || kill -TERM $pid
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
    fail "the log does not end with the session's stop line"
  if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$err"; then fail "sanitizer report"; fi
}

case $mode in
  window)
    wait_for 20 started || fail "start-up lines missing within 20 s"
    log_holds "EntCreateClass(MtGame)... ok." || fail "the game object's class was not registered"
    ! log_holds "BuildRootTree: class MtGame not registered" || fail "the root tree has no game object"
    last_colour=none
    wait_for 20 shows_backdrop || fail "window centre is $last_colour, not the backdrop 51 102 153"
    ends_cleanly TERM 5
    # The game object writes the preferences beside the engine's own keys when it goes.
    config=$work/home/Documents/Fairlark/Config.ini
    grep -qF "[Prefs]" "$config" || fail "no Prefs section in Config.ini: $(cat "$config")"
    for key in "[Xq Config]" runHwConfig=0 windowed=1 debug=1; do
      grep -qxF "$key" "$config" || fail "Config.ini lost \"$key\": $(cat "$config")"
    done
    ;;
  scriptquit)
    ends_cleanly none 20
    ;;
  nostartup)
    wait_for 20 stderr_holds "Syntax Error" || fail "no \"Syntax Error\" within 20 s"
    wait_for 20 window_open || fail "the window did not open"
    ends_cleanly TERM 5
    ;;
  configplay)
    answer_dialog Return
    wait_for 30 started || fail "start-up lines missing within 30 s of Play Game"
    grep -qx 'format=22' "$config" || fail "Config.ini lacks format=22"
    grep -qx 'windowed=1' "$config" || fail "Config.ini lacks windowed=1"
    ends_cleanly TERM 5
    ;;
  configexit)
    answer_dialog Escape
    deadline=$((SECONDS + 20))
    while kill -0 $pid 2>/dev/null; do
      [ $SECONDS -lt $deadline ] || fail "still running 20 s after Exit"
      sleep 0.1
    done
    wait $pid
    status=$?
    trap - EXIT
    [ $status -eq 0 ] || fail "exit status $status after Exit"
    [ ! -f "$log" ] || fail "Exit still started the log"
    grep -qx 'format=22' "$config" || fail "Exit did not write the settings"
    if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$err"; then fail "sanitizer report"; fi
    echo "ok ($mode): exit status $status, the settings written"
    exit 0
    ;;
  editor)
    wait_for 20 started || fail "start-up lines missing within 20 s"
    id=$(timeout 20 xdotool search --sync --name '^Fairlark$' | head -n 1) ||
      fail "the game's window did not appear"
    editor_on
    # The window's centre lies in the game view: the game's backdrop, composed with the panes.
    window_name="Editor Mode" last_colour=none
    wait_for 20 shows_backdrop || fail "the game view shows $last_colour, not the backdrop"
    # The tool window (right of x 796) is ImGui's dark pane, not the game's backdrop.
    xwd -silent -name "Editor Mode" -out "$work/shot.xwd" 2>/dev/null ||
      fail "no picture of the editor's window"
    read -r r g b < <("$xwd_pixel" "$work/shot.xwd" 900 300) || fail "no pixel of the tool window"
    [ "$r" -lt 40 ] && [ "$g" -lt 40 ] && [ "$b" -lt 40 ] ||
      fail "the tool window shows $r $g $b, not the editor's pane"
    # The menu bar's "Scripts", then its first item.
    xdotool mousemove --window "$id" 240 10
    sleep 0.5
    xdotool click 1
    sleep 0.5
    xdotool mousemove --window "$id" 250 31
    sleep 0.5
    xdotool click 1
    wait_for 10 stderr_holds "Editor Script1 ran" || fail "the Scripts menu did not run Script1.lua"
    xdotool mousemove --window "$id" 300 200
    editor_off
    window_name=Fairlark last_colour=none
    wait_for 20 shows_backdrop || fail "after the editor the window shows $last_colour"
    ends_cleanly TERM 5
    ;;
  editorpick)
    wait_for 20 started || fail "start-up lines missing within 20 s"
    id=$(timeout 20 xdotool search --sync --name '^Fairlark$' | head -n 1) ||
      fail "the game's window did not appear"
    [ "$(can_pos)" = "0 0 0" ] || fail "the test world starts with pos $(can_pos)"
    editor_on
    # Window coordinates; the game view is (0, bar) to (796, 528), the camera's target (the
    # can's foot) at its centre, the can about x 350 to 446, y 222 to 310. The top left corner
    # of the view sees only sky.
    xdotool mousemove --window "$id" 60 60
    sleep 1
    ! log_holds "Entity under cursor: PickCan" || fail "the can was named with the pointer on sky"
    xdotool mousemove --window "$id" 398 285
    wait_for 10 log_holds "Entity under cursor: PickCan" ||
      fail "the pointer over the can did not log \"Entity under cursor: PickCan\""
    # Press on the can, 40 pixels right, release: the editor warps the pointer back each step.
    xdotool mousedown 1
    sleep 0.5
    xdotool mousemove_relative 40 0
    sleep 0.5
    xdotool mouseup 1
    sleep 0.5
    ! can_moved || fail "the ini changed before it was saved: pos $(can_pos)"
    save_all_changed || fail "\"Save All Changed Entities\" left pos at $(can_pos)"
    # A move right, seen by a camera facing +z, is along +x only: 40 pixels at 0.02 a pixel.
    read -r x y z < <(can_pos)
    awk -v x="$x" -v y="$y" -v z="$z" 'BEGIN {
      exit !(x > 0.75 && x < 0.85 && y > -0.01 && y < 0.01 && z > -0.01 && z < 0.01) }' ||
      fail "the can was saved at $x $y $z, not 0.8 0 0"
    # The rest of the file stays.
    grep -qx 'PickCam CameraVantor1' "$work/game/Data/EditorPick.ini" &&
      grep -qx 'minZoom=10' "$work/game/Data/EditorPick.ini" ||
      fail "the save lost the rest of the ini: $(cat "$work/game/Data/EditorPick.ini")"
    # Off the can again, the pointer names nothing.
    xdotool mousemove --window "$id" 150 400
    wait_for 10 hover_none || fail "the pointer on sky did not log \"Entity under cursor: NONE\""
    editor_off
    ends_cleanly TERM 5
    ;;
  badclass)
    wait_for 20 started || fail "start-up lines missing within 20 s"
    wait_for 20 stderr_holds "bad argument #1 to 'CreateClass'" ||
      fail "no script error naming CreateClass's argument within 20 s"
    last_colour=none
    wait_for 20 shows_backdrop || fail "the game stopped drawing: window centre is $last_colour"
    kill -0 $pid 2>/dev/null || fail "the game ended after the script error"
    ends_cleanly TERM 5
    ;;
  *)
    fail "unknown mode" ;;
esac
echo "ok ($mode): exit status $status, $(tail -n 1 "$log")"
