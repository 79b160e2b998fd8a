# Sourced by the Windows checks and benchmark: Wine with a prefix of its own
# in the build folder, its COM ports mapped, one server for the whole run.
#
#   wine_setup BUILD_DIR    sets WINEPREFIX and lines (the folder of the lines)
#
# COM1..COM9 lead to links in BUILD_DIR/wine-lines, each made by an island
# simulator when a line is needed; every other COM number leads nowhere
# (Wine gives the machine's /dev/ttyS* the free numbers, and on a legacy port
# with no UART behind it Wine's serial layer blocks an open). Wine reads the
# map when its server starts.
wine_setup() {
  export WINEPREFIX=$1/wine
  export WINEDEBUG=-all
  # No downloads of Wine's .NET and HTML engines: nothing here needs them.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  lines=$1/wine-lines
  mkdir -p "$lines"
  [ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1
  local n target
  for n in $(seq 1 16); do
    target=$lines/com$n
    [ "$n" -le 9 ] || target=$lines/none
    wine reg add 'HKLM\Software\Wine\Ports' /v "COM$n" /d "$target" /f >/dev/null 2>&1
  done
  wineserver -k 2>/dev/null || true
  # The runs start many short programs. Wine's own services start with the
  # first program and keep its descriptors: started here, they hold no pipe
  # that a caller waits on.
  wineserver -p >/dev/null 2>&1 || true  # its object dump on -k is of no use here
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}
