#!/usr/bin/env bash
# The start-up of the real configurator on the island simulator paced at
# 9600 baud, over a pseudo-terminal: the Linux build, and the Windows build
# under Wine on COM1 mapped to the same kind of line; then the Linux build
# with every reply held 16 ms, as a USB adapter holds received bytes for its
# latency timer (16 ms by default) unless the driver is told otherwise.
#   startup_paced_linux_s, startup_paced_wine_s    median of the runs
#   startup_paced_wine_ratio                       Wine against Linux
#   startup_paced_held16_s                         Linux, replies held 16 ms
#   startup_paced_held16_added_s                   what the holding adds
# The start-up is read from the program's own trace: from the port's opening
# to "EXIT SV", which --info sends as soon as the island is read.
#
# Usage: windows_startup.sh WINDOWS_BUILD_DIR PROGRAMS_FOLDER LINUX_BIN_DIR [RUNS]
# (scripts/windows --bench calls it).
set -euo pipefail
build=$1
dir=$2
linux=$3
runs=${4:-3}
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
sims=()
cleanup() {
  for p in "${sims[@]}"; do kill "$p" 2>/dev/null || true; done
  [ "${WINEPREFIX:-}" != "$build/wine" ] || wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
source "$src/tests/windows/wine-env.sh"
wine_setup "$build"

# One start-up: the island on a line of its own, the configurator on it
# (PROGRAM ARGS... with {LINE} and {TRACE} standing for the line and the
# trace file); prints the start-up's seconds.
avvio() {
  local isola=$1
  shift
  local linea=$lines/com1 traccia=$work/traccia.txt a args=()
  rm -f "$linea" "$traccia"
  # shellcheck disable=SC2086
  "$linux/ondrix-simulatore" --link "$linea" --pace $isola >/dev/null 2>&1 &
  sims+=($!)
  for _ in $(seq 100); do [ -L "$linea" ] && break; sleep 0.05; done
  for a in "$@"; do
    a=${a//\{LINE\}/$linea}
    args+=("${a//\{TRACE\}/$traccia}")
  done
  local rc=0
  timeout 120 "${args[@]}" >/dev/null 2>&1 || rc=$?
  kill "${sims[-1]}" 2>/dev/null || true
  wait "${sims[-1]}" 2>/dev/null || true
  [ "$rc" = 0 ] || { echo "a start-up ended with status $rc: ${args[*]}" >&2; exit 1; }
  awk '$2 == ">" && $3 == "EXIT" { printf "%.3f\n", $1 / 1000; exit }' "$traccia"
}
mediana() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
volte() { local i; for i in $(seq "$runs"); do "$@"; done; }

linux_s=$(volte avvio "" "$linux/ondrix-configuratore" --port "{LINE}" --info --quiet --trace "{TRACE}" | mediana)
wine_s=$(volte avvio "" wine "$dir/ondrix-configuratore.exe" --port COM1 --info --quiet --trace "Z:{TRACE}" | mediana)
held_s=$(volte avvio "--latency 16" "$linux/ondrix-configuratore" --port "{LINE}" --info --quiet --trace "{TRACE}" | mediana)
echo "startup_paced_linux_s: $linux_s"
echo "startup_paced_wine_s: $wine_s"
echo "startup_paced_wine_ratio: $(awk -v w="$wine_s" -v l="$linux_s" 'BEGIN { printf "%.3f", w / l }')"
echo "startup_paced_held16_s: $held_s"
echo "startup_paced_held16_added_s: $(awk -v h="$held_s" -v l="$linux_s" 'BEGIN { printf "%.3f", h - l }')"
