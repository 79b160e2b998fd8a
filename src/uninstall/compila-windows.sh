#!/bin/sh
# Cross-compiles Uninstall for Windows and checks the result: a 64-bit GUI
# executable that starts a process.
# Usage: compila-windows.sh SOURCE_DIR OUTPUT_DIR PRODUCT_CODE. Exit 77: no
# cross compiler.
set -eu
src=$1
out=$2
codice=$3
cxx=x86_64-w64-mingw32-g++
if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "skipped: $cxx not found (Debian package g++-mingw-w64-x86-64)"
  exit 77
fi
mkdir -p "$out"
exe=$out/Uninstall.exe
rm -f "$exe"
"$cxx" -std=c++20 -O2 -Wall -Wextra -Werror -mwindows -static \
  "-DONDRIX_CODICE_PRODOTTO=\"$codice\"" -o "$exe" "$src/main.cpp"
kind=$(file -b "$exe")
echo "$exe: $kind"
case $kind in
  *PE32+*"(GUI)"*) ;;
  *) echo "not a 64-bit Windows GUI executable"; exit 1 ;;
esac
if ! grep -aq CreateProcessA "$exe"; then
  echo "the executable does not import CreateProcessA"
  exit 1
fi
echo "ok"
