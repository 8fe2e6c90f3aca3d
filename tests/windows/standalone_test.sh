#!/usr/bin/env bash
# The programs need nothing beside them: each imports only DLLs that every
# Windows has (no MinGW runtime DLLs), and each runs from a folder that holds
# nothing else, reading a file named in another script.
#   standalone_test.sh TIFFWALKER_EXE FRAMETALLY_EXE DIALOG_GUI_TEST_EXE SAMPLE_NEF
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a "$0" "$@"
fi
tiffwalker=$(realpath "$1")
frametally=$(realpath "$2")
probe=$(realpath "$3")
sample=$(realpath "$4")
fail() {
  echo "standalone_test: $*" >&2
  exit 1
}
system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll "
for exe in "$tiffwalker" "$frametally"; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z'); do
    case "$system_dlls" in *" $dll "*) ;; *) fail "$(basename "$exe") needs $dll" ;; esac
  done
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/alone" "$scratch/Фото"
cp "$tiffwalker" "$frametally" "$scratch/alone/"
cp "$sample" "$scratch/Фото/Café_ü.NEF"
winpath() { echo "Z:${1//\//\\}"; }
file=$(winpath "$scratch/Фото/Café_ü.NEF")
expected=$(wine "$tiffwalker" "$file" | tr -d '\r')
[ -n "$expected" ] || fail "no count from $file"
(cd "$scratch/alone" && [ "$(wine ./tiffwalker.exe "$file" | tr -d '\r')" = "$expected" ]) ||
  fail "tiffwalker.exe alone in a folder does not read $file"
shown=$(wine "$probe" --probe "$(winpath "$scratch/alone/Frametally.exe")" "$file" | tr -d '\r' | sed -n 's/^result: //p')
[ "$shown" = "$expected" ] || fail "Frametally.exe alone in a folder showed '$shown', not '$expected'"
echo "standalone_test: both programs run alone in a folder and read $file: $expected"
