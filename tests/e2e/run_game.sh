#!/usr/bin/env bash
# Runs the built game as a new user would: the program and its Data/ copied to a fresh folder, a
# home and documents folder of its own, a virtual X display. One run per mode:
#   window      the first data set opens its window, makes the game object, runs the three
#               splash screens into the main menu (their lines in Debug.txt, in order), shows the
#               first slide at the window centre between Sandbox and Career, ends on SIGTERM and
#               leaves the preferences in Config.ini
#   backdrop    the first data set's Startup.lua registering no menu screen: the backdrop
#               viewport is drawn in place of the splash, SIGTERM ends it
#   scriptquit  a Startup.lua that quits by itself after 30 frames
#   nostartup   no Startup.lua: the missing script is reported and the program ends by itself
#               with a failing status, leaving no black window behind
#   badclass    the first data set's Startup.lua (without menu screens) ending in a CreateClass
#               call on an entity: the script error is reported, nothing is called, the game runs
#               on over its backdrop and ends on SIGTERM
#   nodisplay   no X display: the program says "The main window cannot be made: ..." and fails
#               without hanging
#   boxsignal   boxes shown (not headless), Startup.lua ending in a failed assert: SIGTERM with
#               its box up ends the game with status 0; SIGKILL with the box up takes the box
#               with the game, and the next start on the display runs
#   configplay  the configuration dialog comes first; Enter plays, the game starts as chosen
#   configexit  the configuration dialog comes first; Escape ends the program before any device
#   configsound the configuration dialog comes first; its Sound page's "Enable Sound System" is
#               clicked off with the pointer and Enter plays: Config.ini says so and the game
#               starts without opening a sound device
#   editor      (the Startup.lua without menu screens, over the backdrop) Ctrl+F1 turns the window into the "Editor Mode" window: the game drawn in the game
#               view, the menu bar's "Scripts" menu runs "Script1.lua"; a second Ctrl+F1 changes
#               nothing (the editor's close box leaves it)
#   editorpick  (the Startup.lua without menu screens) a test world ini holds a trash can (a StaticObject) in front of the backdrop's
#               camera; in the editor the pointer over it names it, a click and a 40-pixel drag
#               move it and "Save All Changed Entities" writes its new "pos" into that ini
#   camera      the management camera over a flat test world (tests/e2e/camera), driven by the
#               keyboard and the mouse through the real window: W pans it forward along its line
#               and the ground is drawn where the camera's projection puts it; a right-button drag
#               pans it with the cursor locked, no cursor position reaching it, and the release
#               puts the pointer back where the drag began
#   venue       a test Startup.lua registers the classes as the shipped one does, builds the tree
#               and runs the default venue's World.lua: the window shows its ground, not the
#               backdrop, the log has no missing file or script error; the meadow is read from
#               its foliage file without a beep; the camera held on the meadow (venue/Views.lua)
#               shows grass where the projection puts the meadow and none beside it; the view
#               of the fountain shows its drops; SIGTERM ends it
# Usage: run_game.sh <mode> <program> <Data folder> <xwd_pixel program> [hwconfig_items program]
# (hwconfig_items, tests/e2e/HwConfigItems.cpp, says where the dialog puts its controls)
set -uo pipefail

if [ "${1:-}" = "--on-display" ]; then
  on_display=1
  shift
else
  on_display=0
fi
mode=$1 program=$2 data=$3 xwd_pixel=$4 items=${5:-}
e2e_dir=$(cd "$(dirname "$0")" && pwd)

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

  # The modes about the backdrop, the editor and script errors run without the menu screens:
  # the start-up script then falls back to the backdrop viewport over the world.
  case $mode in
    backdrop | badclass | editor | editorpick)
      startup=$work/game/Data/Startup.lua
      perl -pi -e 's/"EcMenu(?!Root")\w*",?\s?//g' "$startup" || fail "cannot edit Startup.lua"
      ! grep -q '"EcMenuPublisher"' "$startup" || fail "Startup.lua still registers the splash"
      grep -q '"EcMenuRoot"' "$startup" || fail "Startup.lua lost the menu root" ;;
  esac
  case $mode in
    scriptquit)
      printf 'Script.WaitFrame (30)\nGame.Shutdown ()\n' >"$work/game/Data/Startup.lua" ;;
    nostartup)
      rm -f "$work/game/Data/Startup.lua" ;;
    boxsignal)
      printf 'System.Assert (nil, "e2e: a box over the game")\n' >>"$work/game/Data/Startup.lua" ;;
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
    camera)
      cp "$e2e_dir/camera/Startup.lua" "$e2e_dir/camera/CameraWorld.ini" "$work/game/Data/" ||
        fail "cannot copy the camera's test world" ;;
    venue)
      # The shipped script's class registration and tree, then the venue's world in place of
      # the first menu.
      startup=$work/game/Data/Startup.lua
      grep -qx 'Game.CreateEntityTree()' "$startup" || fail "Startup.lua no longer builds the tree"
      sed -i '/^Game.CreateEntityTree()$/q' "$startup"
      printf '%s\n' 'System.DoFile (Game.GetDataPath () .. "Venues\\Default\\World.lua")' \
        'System.OutputDebugString ("Startup.lua: venue loaded\n")' >>"$startup"
      cat "$e2e_dir/venue/Views.lua" >>"$startup" || fail "cannot add the venue's views" ;;
  esac

  if [ "$mode" = nodisplay ]; then
    unset DISPLAY
    # A hang, not a slow start: the limit is the other waits' (e2e_common.sh's patience).
    timeout -s KILL 80 "$work/game/fairlark" >"$work/stdout.txt" 2>"$work/stderr.txt"
    status=$?
    [ $status -ne 137 ] || fail "the program hung without a display"
    [ $status -ne 0 ] || fail "the program reported success without a display"
    grep -q "The main window cannot be made: " "$work/stderr.txt" ||
      fail "stderr does not say \"The main window cannot be made: \""
    if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$work/stderr.txt"; then
      fail "sanitizer report"
    fi
    echo "ok ($mode): exit status $status, stderr: $(head -n 1 "$work/stderr.txt")"
    exit 0
  fi
  if [ "$mode" = configsound ]; then
    "$items" "Sound##2107" >"$work/items.txt" 2>"$work/stderr.txt" ||
      fail "hwconfig_items cannot lay the dialog out"
  fi
  bash "$e2e_dir/with_display.sh" bash "$0" --on-display "$mode" "$program" "$data" "$xwd_pixel" \
    "$items"
  exit $?
fi

# ---- on the virtual display ----
work=$FAIRLARK_E2E_WORK
log=$work/game/Debug.txt
err=$work/stderr.txt

# Started from another folder: the game must find Data/ and write Debug.txt beside itself.
cd "$work"
# The box run shows its boxes as a player sees them.
[ "$mode" != boxsignal ] || unset FAIRLARK_HEADLESS
"$work/game/fairlark" >"$work/stdout.txt" 2>"$err" &
pid=$!
trap 'kill -KILL $pid 2>/dev/null' EXIT
source "$e2e_dir/e2e_common.sh"


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
# The splash lines, then the main menu's, in this order in Debug.txt.
splashes_then_main() {
  [ -f "$log" ] || return 1
  awk 'index($0, "Menu: PublisherSplash (MenuPublisher)") && !p { p = NR }
    index($0, "Menu: PublisherSplash (MenuTolvane)") && !t { t = NR }
    index($0, "Menu: PublisherSplash (MenuEsrb)") && !e { e = NR }
    index($0, "Menu: MainMenu (MenuMain)") && !m { m = NR }
    END { exit !(p && t && e && m && p < t && t < e && e < m) }' "$log"
}
# The generated first slide of the main menu (Menu/Slides/SlideShow00.dds) is 176 48 48.
shows_first_slide() {
  local r g b
  read -r r g b < <(window_centre) || return 1
  last_colour="$r $g $b"
  [ $((r - 176)) -ge -3 ] && [ $((r - 176)) -le 3 ] && [ $((g - 48)) -ge -3 ] &&
    [ $((g - 48)) -le 3 ] && [ $((b - 48)) -ge -3 ] && [ $((b - 48)) -le 3 ]
}
window_open() { xwd -silent -name Fairlark -out /dev/null 2>/dev/null; }
config=$work/home/Documents/Fairlark/Config.ini
# Finds the configuration dialog's window and sends it a key, as a player would.
answer_dialog() {
  local id
  window_named "Xq Config" 30 || fail "the configuration dialog did not appear"
  # The first key can come before the dialog's first frame: send it until the window goes.
  dialog_gone() { ! xdotool search --name "Xq Config" >/dev/null 2>&1; }
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    xdotool windowfocus --sync "$id" key "$1" 2>/dev/null
    wait_for 1 dialog_gone && return 0
  done
  fail "the dialog did not take $1"
}

titled() { xdotool search --name "^$1\$" >/dev/null 2>&1; }
# Control held over F1 as a hand would; the game takes the chord however its key changes fall
# into frames. $id is the game's window.
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
# Ctrl+F1 again changes nothing: the window keeps its editor title.
editor_stays() {
  ctrl_f1
  sleep 1
  titled "Editor Mode" || fail "a second Ctrl+F1 left editor mode"
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
# A menu of the bar is open: its dark drop-down covers the window point $1 $2.
menu_open() {
  local r g b
  xwd -silent -name "Editor Mode" -out "$work/menu.xwd" 2>/dev/null || return 1
  read -r r g b < <("$xwd_pixel" "$work/menu.xwd" "$1" "$2") || return 1
  [ "$r" -lt 40 ] && [ "$g" -lt 40 ] && [ "$b" -lt 40 ]
}
# Opens the bar's menu at x $1 (its drop-down covering $2 $3), clicks its item at $4 $5 and
# waits for the condition $6 ... to hold; a click lost is made again.
menu_item() {
  local bar_x=$1 open_x=$2 open_y=$3 item_x=$4 item_y=$5
  shift 5
  for _ in 1 2 3 4 5; do
    xdotool mousemove --window "$id" "$bar_x" 10
    sleep 0.3
    xdotool click 1
    wait_for 5 menu_open "$open_x" "$open_y" || continue
    xdotool mousemove --window "$id" "$item_x" "$item_y"
    sleep 0.5
    xdotool click 1
    wait_for 5 "$@" && return 0
  done
  return 1
}
save_all_changed() { menu_item 70 200 40 80 48 can_moved; }
# The editor's latest hover line names nothing.
hover_none() {
  grep -a 'Entity under cursor: ' "$log" | tail -n 1 | grep -qx 'Entity under cursor: NONE'
}

# ---- the management camera ----
# The camera's test Startup.lua logs the eye every frame as "camera: frame N pos X Y Z".
camera_started() {
  log_holds "EntCreateClass(CameraVantor1)... ok." && stderr_holds "Startup.lua: done"
}
# The latest frame, as "N X Y Z".
eye() { grep -a '^camera: frame ' "$err" | tail -n 1 | awk '{ print $3, $5, $6, $7 }'; }
frame_reached() {
  local n
  read -r n _ < <(eye) && [ "$n" -ge "$1" ]
}
# Lets the game take what was just sent: a frame that began after it handles it.
wait_frames() {
  local n
  read -r n _ < <(eye) || fail "no frame logged"
  wait_for 30 frame_reached $((n + $1)) || fail "fewer than $1 frames in 30 s"
}
# The eye has not moved, to the logged thousandth, over the last 10 frames.
eye_settled() {
  grep -a '^camera: frame ' "$err" | tail -n 10 | awk '{ p[NR] = $5 " " $6 " " $7 }
    END { if (NR < 10) exit 1; for (i = 2; i <= NR; ++i) if (p[i] != p[1]) exit 1 }'
}
settle() { wait_for 30 eye_settled || fail "the camera did not come to rest within 30 s"; }
near() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { exit !(a - b <= t && b - a <= t) }'; }
sum() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", a + b }'; }
eye_x_below() {
  local x
  read -r _ x _ < <(eye) && awk -v a="$x" -v b="$1" 'BEGIN { exit !(a < b) }'
}
eye_x_reached() {
  local x
  read -r _ x _ < <(eye) && awk -v a="$x" -v b="$1" 'BEGIN { exit !(a >= b) }'
}
# The pointer in the window's coordinates, as "x y".
pointer() {
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell 2>/dev/null)"
  echo $((X - win_x)) $((Y - win_y))
}
pointer_at() {
  local x y
  read -r x y < <(pointer) && near "$x" "$1" 1 && near "$y" "$2" 1
}
# The row, to a tenth of a pixel, where the green of the window's centre column crosses 64 (half
# way from the near square's 32 to the far square's 96) between rows $2 and $3 of the dump $1.
edge_row() {
  "$xwd_pixel" "$1" $((win_w / 2)) "$2" "$3" | awk '
    NR > 1 && (($3 >= 64) != (g >= 64)) { printf "%.1f\n", y + 0.5 + (64 - g) / ($3 - g); found = 1; exit }
    { y = $1; g = $3 }
    END { exit !found }'
}
# Where the camera's projection (pitch 0.785398, field of view 1.04718, yaw 0) puts the ground's
# line z = $3, seen from an eye at height $1 and depth $2: the row of the window, from its top.
projected_row() {
  awk -v ey="$1" -v ez="$2" -v zb="$3" -v h="$win_h" 'BEGIN {
    p = 0.785398; ry = -ey; rz = zb - ez
    yc = ry * cos(p) + rz * sin(p); zc = -ry * sin(p) + rz * cos(p)
    printf "%.1f\n", h / 2 * (1 - yc / (zc * sin(0.52359) / cos(0.52359))) }'
}
colour_near() {
  local r g b
  read -r r g b < <("$xwd_pixel" "$1" $((win_w / 2)) "$2") || return 1
  last_colour="$r $g $b"
  near "$r" "$3" 8 && near "$g" "$4" 8 && near "$b" "$5" 8
}
# The dump $1, taken with the eye at height $2 and depth $3, shows the squares' edge z = 128 on
# the centre column where the projection puts it, the far square above and the near one below.
# Leaves the row in $edge.
ground_edge_where_projected() {
  local want lo hi
  want=$(projected_row "$2" "$3" 128)
  lo=$(awk -v w="$want" 'BEGIN { r = int(w) - 30; print (r < 0 ? 0 : r) }')
  hi=$(awk -v w="$want" -v h="$win_h" 'BEGIN { r = int(w) + 30; print (r >= h ? h - 1 : r) }')
  edge=$(edge_row "$1" "$lo" "$hi") ||
    fail "$(basename "$1"): no edge between the squares near row $want, where the projection puts it"
  near "$edge" "$want" 2 ||
    fail "$(basename "$1"): the squares' edge is at row $edge, the projection puts it at $want"
  # 10 units either side, clear of the filtering's blend across the edge texel.
  local above below
  above=$(projected_row "$2" "$3" 138 | awk '{ r = int($1); print (r < 0 ? 0 : r) }')
  below=$(projected_row "$2" "$3" 118 | awk -v h="$win_h" '{ r = int($1); print (r >= h ? h - 1 : r) }')
  colour_near "$1" "$above" 48 96 160 ||
    fail "$(basename "$1"): above the edge the ground is $last_colour, not the far square 48 96 160"
  colour_near "$1" "$below" 48 32 128 ||
    fail "$(basename "$1"): below the edge the ground is $last_colour, not the near square 48 32 128"
}

# Waits for the game's own end; SIGTERM first when asked. Leaves the exit status in $status.
ends_cleanly() {
  [ "$1" = none ] || kill -TERM $pid
  await_clean_end "$2"
}

case $mode in
  window)
    wait_for 60 started || fail "start-up lines missing within 60 s"
    log_holds "EntCreateClass(MtGame)... ok." || fail "the game object's class was not registered"
    ! log_holds "BuildRootTree: class MtGame not registered" || fail "the root tree has no game object"
    # The pointer stays clear of the window centre: the main menu shows the cursor.
    xdotool mousemove 0 0 2>/dev/null
    wait_for 40 splashes_then_main ||
      fail "the three splash lines and then the main menu's were not logged in order within 40 s"
    last_colour=none
    # The first slide holds for 5 s before the show fades to the next.
    wait_for 4 shows_first_slide || fail "window centre is $last_colour, not the first slide 176 48 48"
    ends_cleanly TERM 5
    # The game object writes the preferences beside the engine's own keys when it goes.
    config=$work/home/Documents/Fairlark/Config.ini
    grep -qF "[Prefs]" "$config" || fail "no Prefs section in Config.ini: $(cat "$config")"
    for key in "[Xq Config]" runHwConfig=0 windowed=1 debug=1; do
      grep -qxF "$key" "$config" || fail "Config.ini lost \"$key\": $(cat "$config")"
    done
    ;;
  backdrop)
    wait_for 60 started || fail "start-up lines missing within 60 s"
    last_colour=none
    wait_for 20 shows_backdrop || fail "window centre is $last_colour, not the backdrop 51 102 153"
    ! log_holds "Menu: PublisherSplash" || fail "a splash opened without its class registered"
    ends_cleanly TERM 5
    ;;
  scriptquit)
    ends_cleanly none 20
    ;;
  boxsignal)
    # SDL names its box in UTF-8, which xdotool's search does not read: the window tree does.
    box_up() { xwininfo -root -tree 2>/dev/null | grep -qF '"LUA Assert Triggered"'; }
    box_gone() { ! box_up; }
    wait_for 60 box_up || fail "no \"LUA Assert Triggered\" box within 60 s"
    # The box waits for its OK: a close request ends the game anyway, with status 0.
    kill -TERM $pid
    await_clean_end 10
    box_gone || fail "the box outlived the game"
    # Killed with its box up: neither the box nor the single-copy lock outlives the game.
    "$work/game/fairlark" >>"$work/stdout.txt" 2>"$err" &
    pid=$!
    wait_for 60 box_up || fail "no box at the second start"
    kill -KILL $pid
    wait $pid 2>/dev/null
    pid=0
    wait_for 10 box_gone || fail "the killed game's box stayed on the display"
    "$work/game/fairlark" >>"$work/stdout.txt" 2>"$err" &
    pid=$!
    wait_for 60 box_up || fail "the start after the killed game did not run: $(head -n 3 "$err")"
    ! stderr_holds "already running" || fail "the killed game's lock kept the next start out"
    ends_cleanly TERM 10
    ;;
  nostartup)
    await_end 20
    [ $status -ne 0 ] || fail "exit status 0 without a start-up script"
    stderr_holds "Startup.lua cannot be loaded" || fail "the end was not explained on stderr"
    ! stderr_holds "Syntax Error" || fail "a missing script was called a syntax error"
    if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$err"; then fail "sanitizer report"; fi
    echo "ok ($mode): exit status $status, $(grep -F 'Startup.lua cannot be loaded' "$err")"
    exit 0
    ;;
  configplay)
    answer_dialog Return
    wait_for 30 started || fail "start-up lines missing within 30 s of Play Game"
    grep -qx 'format=22' "$config" || fail "Config.ini lacks format=22"
    grep -qx 'windowed=1' "$config" || fail "Config.ini lacks windowed=1"
    ends_cleanly TERM 5
    ;;
  configsound)
    window_named "Xq Config" 30 || fail "the configuration dialog did not appear"
    # The control's box, as the dialog lays it out: "x0 y0 x1 y1".
    box_of() {
      awk -v id="$1" '{ name = $0; for (i = 0; i < 4; ++i) sub(/^[^ ]+ /, "", name) }
        name == id { print $1, $2, $3, $4; exit }' "$work/items.txt"
    }
    read -r tx0 ty0 tx1 ty1 < <(box_of "Sound##2107")
    read -r sx0 sy0 sx1 sy1 < <(box_of "Enable Sound System##21011")
    read -r dx0 dy0 dx1 dy1 < <(box_of "Enable 3d Sound##21018")
    [ -n "${sy1:-}" ] && [ -n "${dy1:-}" ] ||
      fail "no Sound tab or sound switches in $(cat "$work/items.txt")"
    # A switch's square is as wide as it is high, at its left; its tick is drawn in the dialog's
    # check-mark blue (66 150 250). ticked x0 y0 y1, on the latest shot.
    shoot() { xwd -silent -id "$id" -out "$work/dialog.xwd" 2>/dev/null; }
    ticked() {
      "$xwd_pixel" "$work/dialog.xwd" --rect "$1" "$2" $(($1 + $3 - $2 - 1)) $(($3 - 1)) |
        awk '$3 < 110 && $4 > 120 && $5 > 210 { n++ } END { exit !(n > 3) }'
    }
    # A click, then the pointer off to the dialog's empty lower middle.
    click_at() {
      xdotool mousemove --window "$id" "$1" "$2" click 1 mousemove --window "$id" 220 400 \
        2>/dev/null
    }
    # The General page has a ticked box where the sound switch stands, and none where the 3D
    # sound switch does: the Sound page shows both ticked.
    sound_page() {
      click_at $(((tx0 + tx1) / 2)) $(((ty0 + ty1) / 2))
      sleep 0.5
      shoot && ticked "$sx0" "$sy0" "$sy1" && ticked "$dx0" "$dy0" "$dy1"
    }
    wait_for 60 sound_page || fail "the Sound page with its switches on did not show"
    # One click, then its frame awaited: a second click while the first is still unseen would
    # switch the sound back on.
    not_ticked() { shoot && ! ticked "$sx0" "$sy0" "$sy1"; }
    for try in 1 2 3 4 5 6; do
      click_at $((sx0 + (sy1 - sy0) / 2)) $(((sy0 + sy1) / 2))
      wait_for 5 not_ticked && break
      [ $try -lt 6 ] || fail "a click did not switch the sound system off"
    done
    answer_dialog Return
    wait_for 30 started || fail "start-up lines missing within 30 s of Play Game"
    grep -qx 'digDriverEnabled=0' "$config" || fail "Config.ini lacks digDriverEnabled=0"
    log_holds "Sound: the sound system is off (digDriverEnabled=0): no sound device opened" ||
      fail "the game did not start with the sound system off"
    ends_cleanly TERM 5
    ;;
  configexit)
    answer_dialog Escape
    await_end 20
    [ $status -eq 0 ] || fail "exit status $status after Exit"
    [ ! -f "$log" ] || fail "Exit still started the log"
    grep -qx 'format=22' "$config" || fail "Exit did not write the settings"
    if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$err"; then fail "sanitizer report"; fi
    echo "ok ($mode): exit status $status, the settings written"
    exit 0
    ;;
  editor)
    wait_for 60 started || fail "start-up lines missing within 60 s"
    window_named Fairlark 60 || fail "the game's window did not appear"
    editor_on
    # The window's centre lies in the game view: the game's backdrop, composed with the panes.
    window_name="Editor Mode" last_colour=none
    wait_for 20 shows_backdrop || fail "the game view shows $last_colour, not the backdrop"
    # The tool window (right of x 796) is ImGui's dark pane, not the game's backdrop.
    # The panes may come a frame or two after the game view on a loaded machine.
    tool_pane_dark() {
      xwd -silent -name "Editor Mode" -out "$work/shot.xwd" 2>/dev/null || return 1
      read -r r g b < <("$xwd_pixel" "$work/shot.xwd" 900 300) || return 1
      [ "$r" -lt 40 ] && [ "$g" -lt 40 ] && [ "$b" -lt 40 ]
    }
    r=none g= b=
    wait_for 20 tool_pane_dark || fail "the tool window shows $r $g $b, not the editor's pane"
    # The menu bar's "Scripts", then its first item.
    menu_item 240 320 40 250 31 stderr_holds "Editor Script1 ran" ||
      fail "the Scripts menu did not run Script1.lua"
    xdotool mousemove --window "$id" 300 200
    editor_stays
    ends_cleanly TERM 5
    ;;
  editorpick)
    wait_for 60 started || fail "start-up lines missing within 60 s"
    window_named Fairlark 60 || fail "the game's window did not appear"
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
    # A loaded machine may take the move while the save's menu still holds the mouse: move
    # again, as a hand would, until the hover is named.
    for step in 0 1 2 3 4; do
      xdotool mousemove --window "$id" $((150 + step * 4)) 400
      wait_for 4 hover_none && break
    done
    hover_none || fail "the pointer on sky did not log \"Entity under cursor: NONE\""
    ends_cleanly TERM 5
    ;;
  camera)
    wait_for 60 camera_started || fail "the camera's test world did not start within 60 s"
    window_named Fairlark 60 || fail "the game's window did not appear"
    geometry=$(xdotool getwindowgeometry --shell "$id") || fail "no geometry of the game's window"
    eval "$geometry"
    win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
    # The camera starts over the grid's centre, 40 units back and 45 degrees up, on flat ground.
    settle
    read -r _ x0 y0 z0 < <(eye)
    near "$x0" 72 0.01 && near "$y0" 28.284 0.01 && near "$z0" 43.716 0.01 ||
      fail "the eye starts at $x0 $y0 $z0, not 72 28.284 43.716"
    xwd -silent -name Fairlark -out "$work/before.xwd" || fail "no picture of the window"
    ground_edge_where_projected "$work/before.xwd" "$y0" "$z0"
    edge0=$edge

    # W held over a count of the game's frames: forward is the camera's view direction laid
    # flat, along z alone. Its rate by the frame time is the camera's unit test's; here the
    # frames are few enough that however slow they come the eye stops short of its bound, the
    # grid's edge 64 units ahead. A key sent before the window took the focus is lost: then
    # nothing moves, and it is sent again.
    xdotool windowfocus --sync "$id" 2>/dev/null
    xdotool mousemove --window "$id" $((win_w / 2)) $((win_h / 2))
    wait_frames 3
    for _ in 1 2 3 4 5; do
      read -r f0 _ < <(eye)
      xdotool keydown w
      wait_frames 2
      xdotool keyup w
      read -r f1 _ < <(eye)
      wait_frames 3
      settle
      read -r _ x1 y1 z1 < <(eye)
      near "$z1" "$z0" 0.001 || break
      xdotool windowfocus --sync "$id" 2>/dev/null
    done
    held=$((f1 - f0))
    ! near "$z1" "$z0" 0.001 || fail "W held over $held frames never moved the camera"
    near "$x1" "$x0" 0.001 && near "$y1" "$y0" 0.001 ||
      fail "W moved the eye off its line: $x0 $y0 $z0 to $x1 $y1 $z1"
    moved=$(awk -v a="$z1" -v b="$z0" 'BEGIN { printf "%.2f\n", a - b }')
    awk -v m="$moved" 'BEGIN { exit !(m > 0.1 && m < 63.9) }' ||
      fail "W held over $held frames moved the eye $moved along z, not forward short of its bound 64"
    # The picture after the move: the same edge, where the projection from the new eye puts it.
    xwd -silent -name Fairlark -out "$work/after.xwd" || fail "no picture of the window"
    ground_edge_where_projected "$work/after.xwd" "$y1" "$z1"
    edge1=$edge

    # A right-button drag from a press 124 pixels in from the right edge to 8 pixels from it,
    # inside the edge-scroll zone. The test's Startup.lua takes the keyboard away once the pan
    # shows: the camera lets the cursor go, and edge-scrolls if the last cursor position it heard
    # was the pointer's in the zone, which only a cursor event through the lock could tell it.
    lock_x=$((win_w - 124)) lock_y=300
    xdotool mousemove --window "$id" $lock_x $lock_y
    wait_frames 3
    read -r _ xs _ < <(eye)
    xdotool mousedown 3
    wait_frames 3
    xdotool mousemove_relative -- 116 0
    wait_for 30 stderr_holds "camera: keyboard taken" ||
      fail "a right-button drag of 116 pixels did not pan the camera along x"
    xdotool mouseup 3
    wait_for 60 stderr_holds "camera: keyboard back" || fail "the keyboard did not come back"
    wait_for 10 pointer_at $lock_x $lock_y ||
      fail "with the drag cut off the pointer is at $(pointer), not back at $lock_x $lock_y"
    wait_frames 3
    settle
    read -r _ x2 _ z2 < <(eye)
    ! eye_x_reached "$(sum "$xs" 20)" ||
      fail "the eye scrolled on to x $x2: cursor positions reached the camera through the lock"
    near "$x2" "$(sum "$xs" 11.6)" 0.3 && near "$z2" "$z1" 0.01 ||
      fail "116 pixels right panned the eye from $xs to $x2 (z $z1 to $z2), not 11.6 along x"

    # A plain drag: 100 pixels left pans 10 units, and the release puts the pointer back.
    xdotool mousemove --window "$id" 300 400
    wait_frames 3
    read -r _ xs _ < <(eye)
    xdotool mousedown 3
    wait_frames 3
    xdotool mousemove_relative -- -100 0
    wait_for 30 eye_x_below "$(sum "$xs" -5)" ||
      fail "a right-button drag of 100 pixels left did not pan the camera"
    read -r dragged_x dragged_y < <(pointer)
    xdotool mouseup 3
    wait_for 10 pointer_at 300 400 ||
      fail "after the release the pointer is at $(pointer), not back at the press point 300 400"
    wait_frames 3
    settle
    read -r _ x3 _ z3 < <(eye)
    near "$x3" "$(sum "$xs" -10)" 0.3 && near "$z3" "$z1" 0.01 ||
      fail "100 pixels left panned the eye from $xs to $x3 (z $z1 to $z3), not 10 along -x"

    # The same move into the edge zone without a button: the cursor event reaches the camera and
    # it scrolls to the grid's edge, x 136.
    xdotool mousemove --window "$id" $lock_x $lock_y
    wait_frames 3
    xdotool mousemove_relative -- 116 0
    wait_for 30 eye_x_reached 135.99 ||
      fail "the pointer in the edge zone did not scroll the eye to x 136: it is at $(eye)"
    xdotool mousemove --window "$id" $((win_w / 2)) $((win_h / 2))
    if log_holds "relative mouse mode refused"; then lock="the warp fallback"; else lock="relative mode"; fi
    ends_cleanly TERM 10
    echo "W over $held frames: z +$moved; ground edge row $edge0 -> $edge1;" \
      "lock by $lock, pointer held at $dragged_x $dragged_y in the drag"
    ;;
  badclass)
    wait_for 60 started || fail "start-up lines missing within 60 s"
    wait_for 20 stderr_holds "bad argument #1 to 'CreateClass'" ||
      fail "no script error naming CreateClass's argument within 20 s"
    last_colour=none
    wait_for 20 shows_backdrop || fail "the game stopped drawing: window centre is $last_colour"
    kill -0 $pid 2>/dev/null || fail "the game ended after the script error"
    ends_cleanly TERM 5
    ;;
  venue)
    wait_for 60 stderr_holds "Startup.lua: venue loaded" || fail "the venue did not load within 60 s"
    for text in "** WARNING ** could not find" "Syntax Error" "LuaScript Runtime Error"; do
      ! log_holds "$text" || fail "the log holds \"$text\": $(grep -aF "$text" "$log" | head -n 3)"
    done
    # The middle third of the window: ground-like pixels (blue no more than red or green + 5,
    # not dark), none of the backdrop's colour. Frames keep coming while the camera settles.
    sleep 2
    venue_ground() {
      xwd -silent -name Fairlark -out "$work/shot.xwd" 2>/dev/null || return 1
      local x y r g b ground=0 backdrop=0 total=0
      for y in 280 344 408 472; do
        for x in 32 96 160 224 288 352 416 480 544 608 672 736 800 864 928 992; do
          read -r r g b < <("$xwd_pixel" "$work/shot.xwd" $x $y) || return 1
          total=$((total + 1))
          [ "$r" -eq 51 ] && [ "$g" -eq 102 ] && [ "$b" -eq 153 ] && backdrop=$((backdrop + 1))
          max=$r
          [ "$g" -gt "$max" ] && max=$g
          [ "$b" -le $((max + 5)) ] && [ $((r + g + b)) -gt 90 ] && ground=$((ground + 1))
        done
      done
      venue_shot="$ground of $total ground-like, $backdrop backdrop, the last $r $g $b"
      [ $backdrop -eq 0 ] && [ $((ground * 100)) -ge $((total * 80)) ]
    }
    venue_shot=none
    wait_for 60 venue_ground || fail "the window's middle third: $venue_shot"
    echo "venue: $venue_shot"

    # The meadow is read from its foliage file: its meshes are made, no beep of the fallback
    # to the maps, no record skipped.
    log_holds "Creating Grass Mesh with" || fail "the meadow made no grass mesh"
    for text in "Beep " "GrassPatch Meadow:" "Grass: "; do
      ! log_holds "$text" || fail "the log holds \"$text\": $(grep -aF "$text" "$log" | head -n 3)"
    done
    window_named Fairlark 60 || fail "the game's window did not appear"
    geometry=$(xdotool getwindowgeometry --shell "$id") || fail "no geometry of the game's window"
    eval "$geometry"
    win_w=$WIDTH win_h=$HEIGHT

    # The test's views (tests/e2e/venue/Views.lua) pin the camera's target, pitch and distance:
    # its eye lies at the distance back along the view, which looks along +z.
    view_eye() {
      grep -a "^venue: $1 in view, eye " "$err" | tail -n 1 | awk '{ print $6, $7, $8 }'
    }
    check_eye() {
      local ex ey ez
      read -r ex ey ez < <(view_eye "$1")
      read -r wx wy wz < <(awk -v x="$2" -v z="$3" -v p="$4" -v d="$5" 'BEGIN {
        printf "%.3f %.3f %.3f\n", x, d * sin(p), z - d * cos(p) }')
      near "$ex" "$wx" 0.01 && near "$ey" "$wy" 0.01 && near "$ez" "$wz" 0.01 ||
        fail "the $1 view's eye is at $ex $ey $ez, not $wx $wy $wz"
      eye_x=$ex eye_y=$ey eye_z=$ez
    }
    # Where the camera's projection (field of view 1.04718, the window's aspect) puts the world
    # point $2 $3 $4 seen with pitch $1 from the eye checked last: "column row" of the window.
    view_point() {
      awk -v ex="$eye_x" -v ey="$eye_y" -v ez="$eye_z" -v p="$1" -v x="$2" -v y="$3" -v z="$4" \
        -v w="$win_w" -v h="$win_h" 'BEGIN {
        rx = x - ex; ry = y - ey; rz = z - ez
        yc = ry * cos(p) + rz * sin(p); zc = -ry * sin(p) + rz * cos(p)
        k = cos(0.52359) / sin(0.52359) * h / 2 / zc
        printf "%d %d\n", w / 2 + rx * k, h / 2 - yc * k }'
    }
    # Pixels of the dump $1 in columns $2 to $3 (every 3rd) and rows $4 to $5 that the awk test
    # $6 (over r, g, b) takes: "taken of total".
    count_pixels() {
      local x total=0 taken=0 t n
      for ((x = $2; x <= $3; x += 3)); do
        read -r t n < <("$xwd_pixel" "$1" "$x" "$4" "$5" | awk '{ r = $2; g = $3; b = $4 }
          '"$6"' { t++ } END { print t + 0, NR }') || return 1
        taken=$((taken + t)) total=$((total + n))
      done
      echo "$taken of $total"
    }
    # Grass: green well above red and blue, as the grass texture's blades under any light. The
    # ground's earth and trodden grass are never so.
    grass_test='g > 1.4 * r + 10 && g > 1.6 * b + 10'
    # A shot of the meadow view: the shot is the meadow's when the view had not yet been left
    # after it was taken.
    meadow_shot() {
      stderr_holds "venue: meadow view ends" && return 1
      xwd -silent -name Fairlark -out "$work/meadow.xwd" 2>/dev/null || return 1
      ! stderr_holds "venue: meadow view ends"
    }
    # The meadow's inside (x 527 to 553, z 519 to 549, blades 0.3 up) and, beside it, the
    # grounds at the same depth (x 562 to 590) and the path before it (z 502 to 512).
    meadow_counts() {
      local x0 y0 x1 y1 x2 y2 x3 y3 ok
      read -r x0 y0 < <(view_point 0.785398 527 0.3 549)
      read -r x1 y1 < <(view_point 0.785398 553 0.3 549)
      read -r _ y2 < <(view_point 0.785398 527 0.3 519)
      inside=$(count_pixels "$work/meadow.xwd" "$x0" "$x1" "$y0" "$y2" "$grass_test") || return 1
      read -r x2 _ < <(view_point 0.785398 562 0 519)
      read -r x3 _ < <(view_point 0.785398 590 0 549)
      [ "$x3" -lt "$win_w" ] || x3=$((win_w - 1))
      beside=$(count_pixels "$work/meadow.xwd" "$x2" "$x3" "$y0" "$y2" "$grass_test") || return 1
      read -r _ y0 < <(view_point 0.785398 527 0 512)
      read -r _ y3 < <(view_point 0.785398 527 0 502)
      [ "$y3" -lt "$win_h" ] || y3=$((win_h - 1))
      before=$(count_pixels "$work/meadow.xwd" "$x0" "$x1" "$y0" "$y3" "$grass_test") || return 1
      meadow_seen="inside $inside, beside $beside, before $before"
      read -r t _ n <<<"$inside"
      [ $((t * 100)) -ge $((n * 2)) ] && [ "${beside%% *}" -eq 0 ] && [ "${before%% *}" -eq 0 ]
    }
    meadow_in_view() { meadow_shot && meadow_counts; }
    wait_for 90 stderr_holds "venue: meadow in view" || fail "the meadow view did not settle in 90 s"
    check_eye meadow 540 525 0.785398 50
    meadow_seen=none
    wait_for 40 meadow_in_view || fail "no grass where the meadow lies in view: $meadow_seen"
    echo "venue: meadow $meadow_seen"

    # The fountain's drops, white with a touch of blue, blended over the ground: blue no ground
    # of the grounds reaches (its earth and trodden grass stay under 80) from a third of a drop's
    # cover up. Around the spray's column (x 510.5 to 513.5, up to 5 units over its nozzle at
    # y 0.5), and none in boxes as large 20 units either side.
    drop_test='b >= 130 && b >= r - 20'
    fountain_counts() {
      xwd -silent -name Fairlark -out "$work/fountain.xwd" 2>/dev/null || return 1
      local x0 y0 x1 y1 l0 l1 r0 r1
      read -r x0 y0 < <(view_point 0.6 510.5 5.5 396)
      read -r x1 y1 < <(view_point 0.6 513.5 0.5 396)
      read -r l0 _ < <(view_point 0.6 490.5 0.5 396)
      read -r l1 _ < <(view_point 0.6 493.5 0.5 396)
      read -r r0 _ < <(view_point 0.6 530.5 0.5 396)
      read -r r1 _ < <(view_point 0.6 533.5 0.5 396)
      spray=$(count_pixels "$work/fountain.xwd" "$x0" "$x1" "$y0" "$y1" "$drop_test") || return 1
      left=$(count_pixels "$work/fountain.xwd" "$l0" "$l1" "$y0" "$y1" "$drop_test") || return 1
      right=$(count_pixels "$work/fountain.xwd" "$r0" "$r1" "$y0" "$y1" "$drop_test") || return 1
      fountain_seen="spray $spray, left $left, right $right"
      [ "${spray%% *}" -ge 20 ] && [ "${left%% *}" -eq 0 ] && [ "${right%% *}" -eq 0 ]
    }
    wait_for 120 stderr_holds "venue: fountain in view" ||
      fail "the fountain view did not settle in 120 s"
    check_eye fountain 512 400 0.6 40
    fountain_seen=none
    wait_for 30 fountain_counts || fail "the fountain's column: $fountain_seen"
    echo "venue: fountain $fountain_seen"
    ends_cleanly TERM 5
    ;;
  *)
    fail "unknown mode" ;;
esac
echo "ok ($mode): exit status $status, $(tail -n 1 "$log")"
