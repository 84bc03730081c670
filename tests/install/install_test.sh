#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR with prefix /usr and runs the
# installed programs from there: a conversion, a thumbnail, the install
# folder they find, and the desktop files' syntax.
set -euo pipefail
build="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
usr="$root/dest/usr"
for program in pagewick pagewick-convert pagewick-capture pagewick-reg emfplay pagewick-thumbnailer; do
  [ -x "$usr/bin/$program" ] || fail "bin/$program missing"
  [ -s "$usr/share/man/man1/$program.1" ] || fail "man page of $program missing"
  # Every shared library a program links must be installed beside it.
  "$usr/bin/$program" --help >/dev/null || fail "installed $program does not start"
done
[ -f "$usr/lib/pagewick/libpwHtmlHelp.so" ] || fail "help component missing"
[ -f "$usr/share/pagewick/Snaplet.chm" ] || fail "help file missing"
[ -f "$usr/share/pagewick/emf/00001.emf" ] || fail "sample pages missing"
# The About library is looked up in the install folder; the link must resolve.
[ -e "$usr/share/pagewick/libpwAbout.so" ] || fail "About library link does not resolve"
for size in 16 32 48 256; do
  [ "$(identify -format '%w %h' "$usr/share/icons/hicolor/${size}x${size}/apps/pagewick.png")" = "$size $size" ] ||
    fail "icon $size"
done

export PAGEWICK_HOME="$root/home" TMPDIR="$root/tmp" QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR"
"$usr/bin/pagewick-convert" --format png --dpi 50 -o "$root/out/page" "$usr/share/pagewick/emf/00001.emf" >/dev/null
[ "$(identify -format '%m' "$root/out/page0001.png")" = PNG ] || fail "installed converter wrote no PNG"
# The first start seeds the install folder: the installed share folder.
"$usr/bin/pagewick-reg" query 'HKLM\Software\Tavrin\Pagewick' InstallPath | grep -q "$usr/share/pagewick" ||
  fail "InstallPath is not the installed share folder"
"$usr/bin/pagewick-thumbnailer" -s 64 "$usr/share/pagewick/emf/00002.emf" "$root/thumb.png"
identify -format '%w %h' "$root/thumb.png" | grep -Eq '^(64 [0-9]+|[0-9]+ 64)$' || fail "installed thumbnailer"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$usr/share/applications/pagewick.desktop" || fail "desktop entry"
fi
# A double click on an EMF page or spool file opens it in the program.
grep -q '^Exec=pagewick %F$' "$usr/share/applications/pagewick.desktop" || fail "desktop entry opens no files"
grep -q '^MimeType=image/emf;image/x-emf;application/x-emf-spool;$' "$usr/share/applications/pagewick.desktop" ||
  fail "desktop entry names no MIME types"
if command -v xmllint >/dev/null; then
  xmllint --noout "$usr/share/mime/packages/pagewick.xml" || fail "MIME file"
fi
echo "installed and ran from $usr"
