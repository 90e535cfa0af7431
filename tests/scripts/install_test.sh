#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what lands there:
# the three programs (which run and name their version), lumscript's game
# mode helper where lumscript finds it, the desktop entry (valid, when
# desktop-file-validate is installed), the icon and a man page for each
# program.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
fail() { echo "install: $*" >&2; status=1; }

for program in lumrun lumf lumscript; do
  [[ -x "$prefix/bin/$program" ]] || { fail "no bin/$program"; continue; }
  "$prefix/bin/$program" --version | grep -qx "$program [0-9.]*" || fail "$program --version"
  page="$prefix/share/man/man1/$program.1"
  [[ -s "$page" ]] || { fail "no man page $page"; continue; }
  grep -q '@VERSION@' "$page" && fail "$page: version not filled in"
  if command -v man >/dev/null; then
    man -l "$page" 2>/dev/null | grep -q "^NAME" || fail "$page does not format"
  fi
done
# lumscript --game runs the helper: a missing game is reported by it.
[[ -x "$prefix/libexec/lumrun/lumscript-game" ]] || fail "no libexec/lumrun/lumscript-game"
echo "X := 1;" > "$prefix/probe.pas"
out=$("$prefix/bin/lumscript" --game "$prefix/none.lumf" "$prefix/probe.pas" 2>&1) && fail "lumscript --game ran without a game"
[[ "$out" == "lumscript: no such game file: $prefix/none.lumf" ]] || fail "lumscript --game: $out"
rm -f "$prefix/probe.pas"
desktop="$prefix/share/applications/lumrun.desktop"
[[ -s "$desktop" ]] || fail "no desktop entry"
[[ -s "$prefix/share/icons/hicolor/scalable/apps/lumrun.svg" ]] || fail "no icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop entry invalid"
else
  echo "install: desktop-file-validate not installed; entry not validated" >&2
fi
# Nothing else: no libraries or headers of the layers.
extra=$(cd "$prefix" && find . -type f | grep -v -E '^\./(bin|libexec/lumrun|share/(man|applications|icons))/' || true)
[[ -z "$extra" ]] || fail "unexpected files: $extra"
exit $status
