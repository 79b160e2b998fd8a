#!/bin/sh
# Builds the Debian package from a finished build and checks it: its file
# list, its dependencies, its resource file, its desktop entries, and that the
# demo started through a link finds "Stringhe.txt" beside the real program.
# Usage: check-package.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/ondrix-configuratore_*_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no ondrix-configuratore_*.deb made"
echo "package: ${deb##*/}"

dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' >"$work/list"
for entry in \
    ./opt/ondrix-configuratore/ondrix-configuratore \
    ./opt/ondrix-configuratore/ondrix-configuratore-demo \
    ./opt/ondrix-configuratore/Uninstall \
    ./opt/ondrix-configuratore/Stringhe.txt \
    ./opt/ondrix-configuratore/Stringhe-en.txt \
    "./usr/bin/ondrix-configuratore -> /opt/ondrix-configuratore/ondrix-configuratore" \
    "./usr/bin/ondrix-configuratore-demo -> /opt/ondrix-configuratore/ondrix-configuratore-demo" \
    ./usr/share/applications/ondrix-configuratore.desktop \
    ./usr/share/icons/hicolor/scalable/apps/ondrix-configuratore.svg \
    ./usr/share/icons/hicolor/48x48/apps/ondrix-configuratore.png; do
  grep -qxF "$entry" "$work/list" || { cat "$work/list"; fail "missing: $entry"; }
done
# Nothing of the build (tests, benchmarks, the pty simulator) goes in.
if grep -v -e '^\./opt/ondrix-configuratore/' -e '^\./usr/bin/ondrix-configuratore' \
        -e '^\./usr/share/' -e '/$' "$work/list"; then
  fail "unexpected files in the package"
fi
if grep -e 'test_' -e '_bench' -e 'simulatore' "$work/list"; then
  fail "build-only programs in the package"
fi

[ "$(dpkg-deb -f "$deb" Package)" = ondrix-configuratore ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6core6 libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
  case ", $depends" in *", $dep"*) ;; *) fail "Depends lacks $dep: $depends" ;; esac
done

root=$work/root
dpkg-deb -x "$deb" "$root"
cmp "$root/opt/ondrix-configuratore/Stringhe.txt" "$src/resources/Stringhe.txt" ||
  fail "packaged Stringhe.txt differs from resources/Stringhe.txt"
for desktop in "$root"/usr/share/applications/*.desktop; do
  exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  target=$exe
  [ -L "$root$exe" ] && target=$(readlink "$root$exe")
  [ -x "$root$target" ] || fail "${desktop##*/}: Exec $exe is not a program of the package"
done

# Started through a link from elsewhere, the demo must find its resources
# (the message about a missing file would wait for a click: the time-out
# below only guards against that hang).
mkdir "$work/links" "$work/cwd"
ln -s "$root/opt/ondrix-configuratore/ondrix-configuratore-demo" "$work/links/ondrix-configuratore-demo"
status=0
(cd "$work/cwd" && QT_QPA_PLATFORM=offscreen timeout 300 \
   "$work/links/ondrix-configuratore-demo" --screenshot "$work/shot.png") >"$work/demo.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/demo.log"; fail "demo through a link ended with status $status"; }
[ -s "$work/shot.png" ] || fail "demo through a link saved no picture"
echo "ok"
