#!/usr/bin/env bash
# The installer in a fresh Wine prefix, silently, both ways: per user (then
# removed by the quiet uninstall command it registers in Apps & features,
# waited for until every Wine process has ended) and for all users (removed
# by the uninstaller's waiting form, _?=). Each time the installed
# tiffwalker.exe and Frametally.exe read a file, the Start-menu shortcut and
# the "Open with" entries are there (without becoming the default program),
# and after the uninstall nothing is left: no folder, shortcut or registry key.
#   installer_test.sh SETUP_EXE DIALOG_GUI_TEST_EXE SAMPLE_NEF
set -euo pipefail
setup=$(realpath "$1")
probe=$(realpath "$2")
sample=$(realpath "$3")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a "$0" "$@"
fi
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
wineserver -w

winpath() { echo "Z:${1//\//\\}"; }
unixpath() { winepath -u "$1" 2>/dev/null; }
fail() {
  echo "installer_test: $*" >&2
  exit 1
}
has_key() { wine reg query "$1" >/dev/null 2>&1; }
value_of() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p" || true; }
default_of() {
  wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p' | sed 's/^(value not set)$//'  || true
}

check_installed() {
  local root=$1 shortcut=$2
  local folder
  folder=$(value_of "$root\\Software\\Imagewright\\Frametally" InstallLocation)
  [ -n "$folder" ] || fail "no install location in $root"
  local unix_folder
  unix_folder=$(unixpath "$folder")
  for file in Frametally.exe tiffwalker.exe uninstall.exe; do
    [ -f "$unix_folder/$file" ] || fail "$file missing from $folder"
  done
  [ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"
  has_key "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Frametally" ||
    fail "not listed in Apps & features ($root)"
  [ "$(value_of "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Frametally" DisplayName)" = Frametally ] ||
    fail "the Apps & features entry has no name"
  for type in .nef .jpg .jpeg .arw .cr3 .hif; do
    has_key "$root\\Software\\Classes\\$type\\OpenWithList\\Frametally.exe" || fail "no Open with for $type"
    [ "$(default_of "$root\\Software\\Classes\\$type")" = "${defaults_before[$root$type]}" ] ||
      fail "$type was made Frametally's: $(default_of "$root\\Software\\Classes\\$type")"
  done
  local count
  count=$(wine "$unix_folder/tiffwalker.exe" "$(winpath "$sample")" | tr -d '\r')
  [ "$count" = "$expected" ] || fail "the installed tiffwalker.exe read '$count', not '$expected'"
  local shown
  shown=$(wine "$probe" --probe "$folder\\Frametally.exe" "$(winpath "$sample")" | tr -d '\r' | sed -n 's/^result: //p')
  [ "$shown" = "$expected" ] || fail "the installed Frametally.exe showed '$shown', not '$expected'"
  echo "$folder"
}

check_removed() {
  local root=$1 folder=$2 shortcut=$3
  [ ! -e "$(unixpath "$folder")" ] || fail "$folder is left after the uninstall: $(ls "$(unixpath "$folder")")"
  [ ! -e "$shortcut" ] || fail "the shortcut is left after the uninstall"
  for key in "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Frametally" "Software\\Imagewright" \
    "Software\\Classes\\Applications\\Frametally.exe" "Software\\Classes\\.nef\\OpenWithList\\Frametally.exe"; do
    ! has_key "$root\\$key" || fail "$root\\$key is left after the uninstall"
  done
}

expected=$(wine "$(dirname "$probe")/../cli/tiffwalker.exe" "$(winpath "$sample")" 2>/dev/null | tr -d '\r' || true)
[ -n "$expected" ] || expected=$(cat "$sample.count" 2>/dev/null || true)
[ -n "$expected" ] || fail "no count known for $sample"

user_menu="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Frametally.lnk"
all_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Frametally.lnk"

# Which program each type opens with before: the installer must not change it.
declare -A defaults_before
for root in HKCU HKLM; do
  for type in .nef .jpg .jpeg .arw .cr3 .hif; do
    defaults_before[$root$type]=$(default_of "$root\\Software\\Classes\\$type")
  done
done

# Per user (the default: plain /S), removed as Apps & features removes it.
wine "$setup" /S
folder=$(check_installed HKCU "$user_menu")
quiet=$(value_of 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Frametally' QuietUninstallString)
[ -n "$quiet" ] || fail "no quiet uninstall command"
eval "wine $quiet"
wineserver -w  # the uninstaller goes on in a copy of itself
check_removed HKCU "$folder" "$user_menu"
echo "installer_test: per-user install, run and uninstall: nothing left ($folder)"

# For all users, removed by the uninstaller's waiting form.
wineboot >/dev/null 2>&1
wine "$setup" /S /AllUsers
folder=$(check_installed HKLM "$all_menu")
wine "$(unixpath "$folder")/uninstall.exe" /S /AllUsers "_?=$folder"
wineserver -w
# On Windows the waiting form leaves the uninstaller itself, and so its
# folder (Wine lets a running program's file be deleted).
if [ -d "$(unixpath "$folder")" ]; then
  rm -f "$(unixpath "$folder")/uninstall.exe"
  rmdir "$(unixpath "$folder")"
fi
check_removed HKLM "$folder" "$all_menu"
echo "installer_test: all-users install, run and uninstall: nothing left ($folder)"
