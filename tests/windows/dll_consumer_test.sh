#!/usr/bin/env bash
# The engine as a DLL, as another Windows program uses it: the DLL exports the
# public API and none of the reader's insides, needs no MinGW runtime DLL, and
# a program built against the installed files alone (tests/install/consumer,
# linked to the DLL's import library) reads the sample's count with nothing
# but the DLL beside it.
#   dll_consumer_test.sh PREFIX CONSUMER_EXE SAMPLE_NEF
set -euo pipefail
prefix=$(realpath "$1")
consumer=$(realpath "$2")
sample=$(realpath "$3")
fail() {
  echo "dll_consumer_test: $*" >&2
  exit 1
}
dll=$prefix/bin/libtiffwalker.dll
[ -f "$dll" ] || fail "no DLL installed in $prefix/bin"
[ -f "$prefix/lib/libtiffwalker.dll.a" ] || fail "no import library installed in $prefix/lib"

imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z'; }
system_dlls=" kernel32.dll msvcrt.dll "
for name in $(imports "$dll"); do
  case "$system_dlls" in *" $name "*) ;; *) fail "the DLL needs $name" ;; esac
done
imports "$consumer" | grep -qx libtiffwalker.dll || fail "the consumer does not use the DLL (static engine linked in?)"

# The export table's names, demangled: the lines after its heading up to the
# next blank line.
exports=$(x86_64-w64-mingw32-objdump -p "$dll" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] //p' | x86_64-w64-mingw32-c++filt)
for wanted in 'tiffwalker::ReadingContext::read(char const*' 'tiffwalker::ReadingContext::read(tiffwalker::ByteSource&' \
  'tiffwalker::getImageShutterCount' 'tiffwalker::MemorySource::readAt(' \
  'vtable for tiffwalker::MemorySource' 'typeinfo for tiffwalker::CTiffwalkerException'; do
  grep -qF "$wanted" <<<"$exports" || fail "the DLL does not export $wanted"
done
# A DLL exports every member of a class it exports (Windows has no hidden
# members): a class with members for the engine alone exports its public
# members one by one instead, and none of the engine's insides goes out.
leaked=$(grep -E 'makernote::|FileStream|ReadingState|ReadingBudget|dumpImageFileDirectory|setData|findFirstIFD|readImage\(|lensDescription|engineState' <<<"$exports" || true)
[ -z "$leaked" ] || fail "the DLL exports internals:
$leaked"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$consumer" "$dll" "$scratch/"
cp "$sample" "$scratch/DSC_0001.NEF"
got=$(cd "$scratch" && wine ./"$(basename "$consumer")" DSC_0001.NEF | tr -d '\r')
[ "$got" = 4242 ] || fail "the consumer linked to the DLL printed '$got', not 4242"
echo "dll_consumer_test: $(wc -l <<<"$exports") names exported; the consumer read 4242 through the DLL"
