#!/usr/bin/env bash
# The Windows checks, under Wine on a virtual X display:
#   1. the cross-built tests (CTest label "windows"; Wine is the emulator);
#   2. the programs on the wire: the real configurator, and the real window
#      driven in-process (window_scenario), on COM ports mapped to
#      pseudo-terminals served by the Linux island simulator, each compared
#      with the Linux build on the same island (the lines the island received,
#      the files, the JSON, the picture of the window); the port search, a
#      lost line, Ctrl-C on the console and the end of the session;
#   3. the demo from the programs' folder saves a picture of its window;
#   4. msiexec installs the MSI (files, Start-menu shortcuts, registration),
#      Uninstall.exe starts "msiexec.exe /x" with the product code the MSI
#      registered, and the product is gone afterwards.
#
# Usage: check-wine.sh BUILD_DIR NAME   (as scripts/windows --check calls it)
# ONDRIX_SIMULATORE: the Linux island simulator; the Linux build's programs
# beside it are the reference of step 2 (skipped without it).
# ONDRIX_KEEP_WORK=1 keeps the work folder (named at the end) for a look.
set -euo pipefail
build=$1
name=$2
dir=$build/$name
src=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
trap 'echo "check-wine.sh: line $LINENO failed" >&2' ERR
step() { echo "-- wine ($SECONDS s): $*"; }

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -z "${WINEPREFIX:-}" ] || [ "$WINEPREFIX" != "$build/wine" ] || wineserver -k 2>/dev/null || true
  if [ -n "${ONDRIX_KEEP_WORK:-}" ]; then echo "work folder kept: $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

# One virtual display for every window of the checks.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "no virtual display"
export DISPLAY=:$(cat "$work/display")
exec 3>&-
# The windows open on the platform's own display plugin.
unset QT_QPA_PLATFORM

source "$src/tests/windows/wine-env.sh"
wine_setup "$build"

# ---- The wire ----------------------------------------------------------------------
sim=${ONDRIX_SIMULATORE:-}
linux=
if [ -n "$sim" ]; then
  [ -x "$sim" ] || fail "no island simulator at ONDRIX_SIMULATORE=$sim"
  linux=$(cd "$(dirname "$sim")" && pwd)
  for p in ondrix-configuratore window_scenario; do
    [ -x "$linux/$p" ] || fail "no $p in the Linux build beside the simulator ($linux)"
  done
fi

declare -A simpid
# isola NAME ARGS...: an island simulator on the line $lines/NAME (a link to
# its pseudo-terminal); every line it receives goes to $work/NAME.log.
isola() {
  local nome=$1
  shift
  rm -f "$lines/$nome"
  "$sim" --link "$lines/$nome" --log "$@" >/dev/null 2>"$work/$nome.log" &
  pids+=($!)
  simpid[$nome]=$!
  for _ in $(seq 100); do [ -L "$lines/$nome" ] && return 0; sleep 0.05; done
  fail "the island simulator did not start on $nome"
}
# The island hangs up: the simulator ends.
riaggancia() { kill "${simpid[$1]}" 2>/dev/null || true; wait "${simpid[$1]}" 2>/dev/null || true; }
# The lines the island received, one a line.
ricevute() { sed -n 's/^< //p' "$work/$1.log"; }
# A path as a Windows program is given it (Wine's drive Z: is the root).
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
# A program's standard output (with Windows' CR LF line ends as LF), error
# and status in $work/NAME.{out,err,rc}:
# the configurator under Wine from the programs' folder, or from the Linux
# build; the window driven in-process, likewise. None may hang the stage.
esegui() {
  local nome=$1 rc=0
  shift
  timeout 120 "$@" >"$work/$nome.raw" 2>"$work/$nome.err" </dev/null || rc=$?
  tr -d '\r' <"$work/$nome.raw" >"$work/$nome.out"
  echo "$rc" >"$work/$nome.rc"
}
win() { local n=$1; shift; esegui "$n" wine "$dir/ondrix-configuratore.exe" "$@"; }
lin() { local n=$1; shift; esegui "$n" "$linux/ondrix-configuratore" "$@"; }
finestra_win() { local n=$1; shift; (cd "$build/build/bin" && esegui "$n" wine window_scenario.exe "$@"); }
finestra_lin() { local n=$1; shift; esegui "$n" "$linux/window_scenario" "$@"; }
stato() {  # NAME STATUS: the status NAME ended with
  [ "$(cat "$work/$1.rc")" = "$2" ] ||
    { cat "$work/$1.err" >&2; fail "$1: status $(cat "$work/$1.rc"), not $2"; }
}
timeout_detto() {  # NAME: the reply time-out's message on standard error
  grep -q "NESSUNA RISPOSTA DALL'ISOLA." "$work/$1.err" || { cat "$work/$1.err" >&2; fail "$1: no time-out message"; }
}
# FILE: the lines sent, as its trace records them (one write per line).
inviate() { sed -n 's/^[0-9]* > \(.*\)<CR><LF>$/\1/p' "$1"; }
# FILE TESTO: FILE with the line after the line DOPO replaced by TESTO.
sostituisci() { awk -v dopo="$2" -v con="$3" '{ if (dopo_visto) { print con "\r"; dopo_visto = 0 } else print } $0 == dopo "\r" { dopo_visto = 1 }' "$1"; }

riferimenti() {
  # The Linux build on the same islands: the references of the comparisons.
  # Its simulators are its own, ended with it.
  pids=()
  trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done' EXIT
  local corse=()
  isola lfin
  finestra_lin lfin --port "$lines/lfin" "$work/lfin" &
  corse+=($!)
  isola linfo
  lin linfo --port "$lines/linfo" --info --json --quiet &
  corse+=($!)
  isola lsave
  lin lsave --port "$lines/lsave" --save "$work/lsave.txt" --trace "$work/lsave.trace" --quiet
  sostituisci "$work/lsave.txt" "[INDIRIZZO PROFIBUS SLAVE]" 7 >"$work/altro.txt"
  isola lverify
  lin lverify --port "$lines/lverify" --verify "$work/altro.txt" --quiet &
  corse+=($!)
  isola lload
  lin lload --port "$lines/lload" --load "$work/altro.txt" --yes --quiet &
  corse+=($!)
  wait "${corse[@]}"
}

if [ -z "$linux" ]; then
  step "the wire"
  echo "skipped: no island simulator of the Linux build (ONDRIX_SIMULATORE)"
else
  mkdir -p "$work/lfin" "$work/wfin" "$work/widle"
  riferimenti >"$work/riferimenti.log" 2>&1 &
  rif=$!
fi

step "tests"
(cd "$build/build" && ctest -L windows -j"$(nproc)" --output-on-failure) ||
  fail "cross-built tests under Wine"

if [ -n "$linux" ]; then
  step "the window on COM3, found by the search behind two silent ports"
  isola com1 --silent-after 0
  isola com2 --silent-after 0
  isola com3
  finestra_win wfin "$(winpath "$work/wfin")"
  wait "$rif" || { cat "$work/riferimenti.log" >&2; fail "the Linux build on the same islands"; }
  stato lfin 0
  stato wfin 0
  grep -qx 'caption: VERSIONE SOFTWARE: [0-9.]* (COM3)' "$work/wfin.out" ||
    fail "the caption does not name COM3: $(cat "$work/wfin.out")"
  for n in com1 com2; do
    [ "$(ricevute $n | wc -l)" = 1 ] && [ -z "$(ricevute $n)" ] || fail "$n: not one link check"
  done
  diff <(ricevute lfin) <(ricevute com3) >"$work/fin.diff" ||
    { cat "$work/fin.diff"; fail "the window sent other lines than the Linux build's"; }
  for riga in "CLOSE VALVOLA" "DISABLE VALVOLA" "ENABLE VALVOLA" "SET SLAVE ADDRESS" "EXIT SV"; do
    ricevute com3 | grep -qx "$riga" || fail "the window never sent \"$riga\""
  done
  cmp "$work/wfin/salvata.txt" "$work/lfin/salvata.txt" || fail "the window's save differs from the Linux build's"
  # The picture after the start-up: the same window within anti-aliasing and
  # the platform's own style (the lists' frames). Compared at one eighth of
  # its size, where a glyph drawn otherwise melts into its block but a
  # control moved, missing or coloured otherwise does not; the caption that
  # names the port differs by platform and is left out, and so are the rows
  # the Windows frame takes from the bottom of the design.
  read -r x y w h < <(tr -d '\r' <"$work/wfin/software.txt")
  for p in wfin lfin; do
    convert "$work/$p/finestra.png" -crop "$(identify -format '%wx%h' "$work/wfin/finestra.png")+0+0" +repage \
      -fill black -draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))" -filter box -resize 12.5% "$work/$p.small.png"
  done
  # One coil button coloured otherwise makes 9 blocks.
  blocchi=$(compare -metric AE -fuzz 25% "$work/wfin.small.png" "$work/lfin.small.png" null: 2>&1 || true)
  echo "the window under Wine: $blocchi blocks of 8x8 pixels differ from the Linux build's"
  [ "$blocchi" -le 4 ] 2>/dev/null || fail "the window under Wine differs from the Linux build's ($blocchi blocks)"
  riaggancia com3

  step "no island: one time-out, the message and status 3"
  win nessuna --info
  stato nessuna 3
  timeout_detto nessuna
  riaggancia com1
  riaggancia com2

  step "the modes without a window, side by side"
  isola com4
  isola com5
  isola com6
  isola com7
  isola com8
  isola com9 --drop-after 6
  corse=()
  win winfo --port COM4 --info --json --quiet & corse+=($!)
  win wsave --port COM5 --save "$(winpath "$work/wsave.txt")" --trace "$(winpath "$work/wsave.trace")" --quiet &
  corse+=($!)
  win wuguale --port COM6 --verify "$(winpath "$work/lsave.txt")" --quiet & corse+=($!)
  win wverify --port COM7 --verify "$(winpath "$work/altro.txt")" --quiet & corse+=($!)
  win wload --port COM8 --load "$(winpath "$work/altro.txt")" --yes --quiet & corse+=($!)
  win wpersa --port COM9 --save "$(winpath "$work/wpersa.txt")" & corse+=($!)
  wait "${corse[@]}"
  for n in winfo wsave wuguale wload; do stato $n 0; done
  stato wverify 1
  # --info --json: the Linux build's document apart from the port, in UTF-8.
  iconv -f UTF-8 -t UTF-8 "$work/winfo.out" >/dev/null || fail "--info --json is no valid UTF-8"
  senzaPorta() { sed '/"port": {/,/}/ { s/"device": "[^"]*"/"device": ""/; s/"number": [0-9]*/"number": 0/; }' "$1"; }
  diff <(senzaPorta "$work/linfo.out") <(senzaPorta "$work/winfo.out") || fail "--info --json differs from the Linux build's"
  sed -n '/"port": {/,/}/p' "$work/winfo.out" | tr -d ' \n' | grep -q '"port":{"device":"COM4","number":4}' ||
    fail "--info --json does not name COM4: $(sed -n '/"port": {/,/}/p' "$work/winfo.out")"
  cmp "$work/wsave.txt" "$work/lsave.txt" || fail "--save differs from the Linux build's"
  cmp "$work/wsave.txt" "$work/wfin/salvata.txt" || fail "--save differs from the window's save"
  diff <(inviate "$work/wsave.trace") <(ricevute com5) || fail "--trace: not the lines the island received"
  diff <(inviate "$work/wsave.trace") <(inviate "$work/lsave.trace") || fail "--trace: other lines than the Linux build's"
  [ ! -s "$work/wuguale.out" ] || fail "--verify of an equal island: $(cat "$work/wuguale.out")"
  diff "$work/lverify.out" "$work/wverify.out" || fail "--verify: other differences than the Linux build's"
  grep -q "slave address: island 5, file 7" "$work/wverify.out" || fail "--verify did not name the slave address"
  diff <(ricevute lload) <(ricevute com8) || fail "--load: other lines than the Linux build's"
  # The line lost in the start-up: as a time-out, and nothing saved.
  stato wpersa 3
  timeout_detto wpersa
  [ ! -e "$work/wpersa.txt" ] || fail "a start-up cut short was saved"
  for n in 4 5 6 7 8 9; do riaggancia com$n; done

  step "a lost line while idle, Ctrl-C on the console, a refused and an unreadable file, a bad port"
  isola com4
  isola com5
  isola com6
  corse=()
  (
    finestra_win widle --port COM4 --idle "$(winpath "$work/widle")" &
    for _ in $(seq 600); do grep -q '^caption:' "$work/widle.raw" 2>/dev/null && break; sleep 0.1; done
    riaggancia com4
    wait
  ) &
  corse+=($!)
  (
    # On a terminal Wine gives the program a console; ^C is typed there once
    # the start-up is over. The terminal also sends SIGINT to its foreground
    # group, so no shell stays in it (dash dies of it): script's own status
    # is the program's.
    mkfifo "$work/tasti"
    {
      s=0
      timeout 120 script -qec "exec wine '$dir/ondrix-configuratore.exe' --port COM5 --trace '$(winpath "$work/ctrlc.trace")'" \
        /dev/null <"$work/tasti" >"$work/ctrlc.out" 2>&1 || s=$?
      echo "status=$s" >>"$work/ctrlc.out"
    } &
    exec 5>"$work/tasti"
    for _ in $(seq 600); do grep -q '^< STATO TERMINAZIONE' "$work/com5.log" && break; sleep 0.1; done
    sleep 0.5
    printf '\003' >&5
    wait
  ) &
  corse+=($!)
  rotto=$work/rifiutato.txt
  sostituisci "$work/lsave.txt" "[NUMERO TOTALE BOBINE]" " 20 " >"$rotto"
  win wrifiutato --port COM6 --load "$(winpath "$rotto")" --quiet & corse+=($!)
  win willeggibile --port COM7 --load "$(winpath "$work/assente.txt")" --quiet & corse+=($!)
  win wuso --port 17 & corse+=($!)
  wait "${corse[@]}"
  stato widle 3
  timeout_detto widle
  grep -q 'status=0' "$work/ctrlc.out" || { cat "$work/ctrlc.out"; fail "Ctrl-C: not status 0"; }
  [ "$(ricevute com5 | tail -n 1)" = "EXIT SV" ] || fail "Ctrl-C: \"EXIT SV\" was not the last line"
  tail -n 1 "$work/ctrlc.trace" | grep -q '^# port 5 COM5 closed' || fail "Ctrl-C: the port was not closed last"
  stato wrifiutato 4
  ! ricevute com6 | grep -q -e '^SET ' -e '^DISABLE ' -e '^ENABLE ' || fail "a refused file was written"
  stato willeggibile 5
  stato wuso 2
  for n in 5 6; do riaggancia com$n; done

  step "the end of the session, idle and in the middle of the start-up"
  # One program at a time: Wine asks the processes in turn and stops at the
  # first that holds the session up, so a busy program asked first would leave
  # an idle one unasked.
  isola com4
  isola com5 --pace
  win wsessione --port COM4 --trace "$(winpath "$work/wsessione.trace")" &
  corsa=$!
  for _ in $(seq 600); do grep -q '^< STATO TERMINAZIONE' "$work/com4.log" && break; sleep 0.1; done
  sleep 0.5
  # Wine's own log-off: WM_QUERYENDSESSION, then WM_ENDSESSION, to every
  # window.
  wine wineboot --end-session >/dev/null 2>&1 || true
  wait "$corsa"
  win woccupata --port COM5 --trace "$(winpath "$work/woccupata.trace")" &
  corsa=$!
  for _ in $(seq 600); do grep -q '^< GET DIAGNOSI' "$work/com5.log" && break; sleep 0.1; done
  # The busy program holds the session up and ends once its exchange is over.
  wine wineboot --end-session >/dev/null 2>&1 || true
  wait "$corsa"
  for n in wsessione:4 woccupata:5; do
    stato "${n%:*}" 0
    [ "$(ricevute "com${n#*:}" | tail -n 1)" = "EXIT SV" ] || fail "${n%:*}: \"EXIT SV\" was not the last line"
    tail -n 1 "$work/${n%:*}.trace" | grep -q "^# port ${n#*:} COM${n#*:} closed" ||
      fail "${n%:*}: the port was not closed last"
  done
  ! ricevute com5 | grep -qx 'GET CONF' || fail "the session's end waited for the whole start-up"
  riaggancia com4
  riaggancia com5
  filo=fatto
fi

step "demo screenshot"
shot=$build/demo-screenshot-wine.png
rm -f "$shot"
# From the programs' folder: it also proves the folder holds all it needs.
(cd "$dir" && timeout 120 wine ondrix-configuratore-demo.exe --screenshot "$shot") ||
  fail "the demo ended with status $?"
[ -s "$shot" ] || fail "the demo saved no picture"
echo "demo under Wine: $shot"

step "MSI install"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
installed="$WINEPREFIX/drive_c/Program Files/Ondrix Configuratore"
# The product code the MSI registers the configurator under (a leftover of an
# earlier run is removed first).
registrato() {
  local k
  for k in $(wine reg query "$uninstall" 2>/dev/null | tr -d '\r' | grep -o '{[0-9A-F-]*}$'); do
    wine reg query "$uninstall\\$k" /v DisplayName 2>/dev/null | grep -q "Ondrix Configuratore" && echo "$k"
  done
  return 0
}
for code in $(registrato); do wine msiexec /x "$code" /qn >/dev/null 2>&1 || true; done
wine msiexec /i "$dir.msi" /qn || fail "msiexec /i ended with status $?"
(cd "$dir" && find . -type f | sort) >"$work/expected"
(cd "$installed" && find . -type f | sort) >"$work/got"
diff "$work/expected" "$work/got" || fail "installed files differ from the programs' folder"
cmp "$installed/Stringhe.txt" "$src/resources/Stringhe.txt" || fail "installed Stringhe.txt"
code=$(registrato)
[ -n "$code" ] || fail "the product is not registered"
wine reg query "$uninstall\\$code" /v DisplayVersion 2>/dev/null |
  grep -q "$(sed -n 's/^project([^ ]* VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")" ||
  fail "the product is registered with another version"
# Windows puts them in the common Start menu (ALLUSERS=1); Wine 8 in the user's.
for lnk in "Ondrix Configuratore" "Ondrix Configuratore (demo)" "Disinstalla Ondrix Configuratore"; do
  found=$(find "$WINEPREFIX/drive_c" -path "*Start Menu/Programs/Ondrix Configuratore/$lnk.lnk" | head -n 1)
  [ -n "$found" ] || fail "no Start-menu shortcut \"$lnk\""
done

step "Uninstall.exe"
WINEDEBUG=-all,+process wine 'C:\Program Files\Ondrix Configuratore\Uninstall.exe' \
  >"$work/uninstall.log" 2>&1 || fail "Uninstall.exe ended with status $?"
grep -q "cmdline L\"msiexec.exe /x $code\"" "$work/uninstall.log" ||
  fail "Uninstall.exe did not start msiexec.exe /x $code, the product the MSI registered"
# Windows' msiexec asks "Are you sure ...?" first; Wine 8's does not. Any
# question that shows up is answered as a user would: Enter on its default
# button ("Yes").
gone=0
for _ in $(seq 120); do
  if ! wine reg query "$uninstall\\$code" >/dev/null 2>&1 && [ ! -e "$installed/ondrix-configuratore.exe" ]; then
    gone=1
    break
  fi
  for w in $(xdotool search --onlyvisible --name 'Windows Installer|Ondrix' 2>/dev/null); do
    xdotool key --window "$w" Return 2>/dev/null || true
  done
  sleep 0.5
done
[ $gone = 1 ] || fail "the product is still installed after Uninstall.exe"
# An expansion that fails ends only the block it is in: the wire's checks
# must have run to their end.
[ -z "$linux" ] || [ "${filo:-}" = fatto ] || fail "the checks on the wire did not run to their end"
echo "Windows checks under Wine: ok"
