#!/bin/sh
# Builds the Debian package from a finished build and checks it: its file
# list, conffiles, dependencies, lintian's verdict, its resource file, its
# desktop entries, and that the demo started through a link finds
# "Stringhe.txt" beside the real program.
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
lib=./usr/lib/ondrix-configuratore
for entry in \
    $lib/ondrix-configuratore \
    $lib/ondrix-configuratore-demo \
    $lib/Uninstall \
    "$lib/Stringhe.txt -> /etc/ondrix-configuratore/Stringhe.txt" \
    "$lib/Stringhe-en.txt -> /etc/ondrix-configuratore/Stringhe-en.txt" \
    ./etc/ondrix-configuratore/Stringhe.txt \
    ./etc/ondrix-configuratore/Stringhe-en.txt \
    "./usr/bin/ondrix-configuratore -> ../lib/ondrix-configuratore/ondrix-configuratore" \
    "./usr/bin/ondrix-configuratore-demo -> ../lib/ondrix-configuratore/ondrix-configuratore-demo" \
    ./usr/bin/ondrix-simulatore \
    ./usr/share/applications/ondrix-configuratore.desktop \
    ./usr/share/icons/hicolor/scalable/apps/ondrix-configuratore.svg \
    ./usr/share/icons/hicolor/48x48/apps/ondrix-configuratore.png \
    ./usr/share/man/man1/ondrix-configuratore.1.gz \
    ./usr/share/doc/ondrix-configuratore/copyright \
    ./usr/share/doc/ondrix-configuratore/changelog.gz; do
  grep -qxF "$entry" "$work/list" || { cat "$work/list"; fail "missing: $entry"; }
done
# Nothing of the build (tests, benchmarks) goes in.
if grep -v -e '^\./usr/lib/ondrix-configuratore/' -e '^\./usr/bin/ondrix-' -e '^\./etc/ondrix-configuratore/' \
        -e '^\./usr/share/' -e '/$' "$work/list"; then
  fail "unexpected files in the package"
fi
if grep -e 'test_' -e '_bench' "$work/list"; then
  fail "build-only programs in the package"
fi

# The texts are the technician's to edit: kept across upgrades.
dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./conffiles >"$work/conffiles"
printf '%s\n' /etc/ondrix-configuratore/Stringhe.txt /etc/ondrix-configuratore/Stringhe-en.txt |
  cmp -s - "$work/conffiles" || { cat "$work/conffiles"; fail "conffiles"; }
case ", $(dpkg-deb -f "$deb" Recommends)," in
  *", qt6-translations-l10n,"*) ;;
  *) fail "Recommends lacks qt6-translations-l10n" ;;
esac

# No errors by the distribution's rules.
if command -v lintian >/dev/null 2>&1; then
  lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
  cat "$work/lintian"
  if grep -q '^E: ' "$work/lintian"; then
    fail "lintian reports errors"
  fi
else
  echo "lintian not installed: the distribution's rules not checked"
fi

[ "$(dpkg-deb -f "$deb" Package)" = ondrix-configuratore ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6core6 libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
  case ", $depends" in *", $dep"*) ;; *) fail "Depends lacks $dep: $depends" ;; esac
done

root=$work/root
dpkg-deb -x "$deb" "$root"
cmp "$root/etc/ondrix-configuratore/Stringhe.txt" "$src/resources/Stringhe.txt" ||
  fail "packaged Stringhe.txt differs from resources/Stringhe.txt"
for desktop in "$root"/usr/share/applications/*.desktop; do
  exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  target=$root$exe
  [ -L "$target" ] && target=$(dirname "$target")/$(readlink "$target")
  [ -x "$target" ] || fail "${desktop##*/}: Exec $exe is not a program of the package"
done

# The programs' folder reaches the texts in /etc: here the unpacked /etc
# stands in, as installing the package would make it.
for testi in Stringhe.txt Stringhe-en.txt; do
  ln -sfn "$root/etc/ondrix-configuratore/$testi" "$root/usr/lib/ondrix-configuratore/$testi"
done

# Started through a link from elsewhere, the demo must find its resources
# (the message about a missing file would wait for a click: the time-out
# below only guards against that hang).
mkdir "$work/links" "$work/cwd"
ln -s "$root/usr/lib/ondrix-configuratore/ondrix-configuratore-demo" "$work/links/ondrix-configuratore-demo"
status=0
(cd "$work/cwd" && QT_QPA_PLATFORM=offscreen timeout 300 \
   "$work/links/ondrix-configuratore-demo" --screenshot "$work/shot.png") >"$work/demo.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/demo.log"; fail "demo through a link ended with status $status"; }
[ -s "$work/shot.png" ] || fail "demo through a link saved no picture"
echo "ok"
