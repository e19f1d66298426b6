#!/usr/bin/env bash
# Checks a built package as a user's machine would see it: its contents, the
# programs run from an unpacked copy, the desktop entry and the MIME types.
# Usage: packaging/test-package.sh orla_<version>_amd64.deb
set -euo pipefail
deb=${1:?usage: test-package.sh PACKAGE.deb}
top=$(cd "$(dirname "$0")/.." && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "test-package: $*" >&2; exit 1; }

echo "== contents of $deb"
contents=$(dpkg-deb -c "$deb")
echo "$contents"
for f in ./usr/bin/orla ./usr/bin/orla-cli ./usr/share/applications/orla.desktop \
         ./usr/share/mime/packages/orla.xml ./usr/share/icons/hicolor/48x48/apps/orla.png \
         ./usr/share/icons/hicolor/256x256/apps/orla.png ./usr/share/doc/orla/help/en/index.html; do
    grep -q " $f\$" <<<"$contents" || fail "$f is missing from the package"
done
grep -q ' ./usr/lib/\(.*/\)\?orla/orla-cli-pdf.so$' <<<"$contents" || fail "orla-cli's PDF output is missing from the package"

echo "== control"
control=$(dpkg-deb -f "$deb")
echo "$control"
version=$(dpkg-deb -f "$deb" Version)
grep -q '^Depends:.*libqt6widgets6' <<<"$control" || fail "the package does not depend on the Qt runtime"
grep -q '^Depends:.*libdds0' <<<"$control" || fail "the package does not depend on the double-dummy solver"

echo "== unpacked into $root"
dpkg -x "$deb" "$root"
cli="$root/usr/bin/orla-cli"
got=$("$cli" --version)
[ "$got" = "orla-cli $version" ] || fail "orla-cli --version says '$got', the package is $version"
work=$(mktemp -d)
trap 'rm -rf "$root" "$work"' EXIT
"$cli" new "$work/club.otr" --movement mitchell --pairs 10 --boards-per-round 3 --name "Ponedeljak" >/dev/null
"$cli" dump "$work/club.otr" >"$work/dump.json"
grep -q '"NumPairs": *10' "$work/dump.json" || fail "orla-cli dump of a new tournament does not show its 10 pairs"
# The PDF output is a library of its own, found from the installed orla-cli.
"$cli" export "$work/club.otr" --format pdf -o "$work/club.pdf" || fail "orla-cli could not write a PDF"
[ "$(head -c 5 "$work/club.pdf")" = "%PDF-" ] || fail "orla-cli's PDF output wrote no PDF"

echo "== desktop entry and MIME types"
desktop-file-validate "$root/usr/share/applications/orla.desktop"
grep -q '^Exec=orla %f$' "$root/usr/share/applications/orla.desktop" || fail "the desktop entry does not pass the file"
mkdir -p "$work/mime/packages"
cp "$root/usr/share/mime/packages/orla.xml" "$work/mime/packages/"
XDG_DATA_HOME="$work" update-mime-database "$work/mime"
grep -q 'application/x-orla-tournament' "$work/mime/globs2" || fail "the .otr type did not register"
grep -q '\*\.otr' "$work/mime/globs2" || fail "*.otr is not matched"
grep -q '\*\.ocm' "$work/mime/globs2" || fail "*.ocm is not matched"
echo "test-package: $deb is good"
