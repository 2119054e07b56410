#!/usr/bin/env bash
# Unpacks the Debian package into a scratch folder, checks that every installed file is in its
# place, and runs lintian on it (errors fail, warnings are listed).
#   tools/check-package.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
deb=$(ls "$build"/keldovar_*.deb | tail -n 1)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg -x "$deb" "$tmp"
expected=(
  usr/bin/keldovar
  usr/bin/keldovar-cli
  usr/bin/keldovar-pdf
  "usr/share/keldovar/Keldovar.chm"
  "usr/share/keldovar/KELDOVAR 3.0 Documentation and User's Manual.pdf"
  usr/share/applications/com.brakkelforestry.keldovar.desktop
  usr/share/metainfo/com.brakkelforestry.keldovar.metainfo.xml
  usr/share/mime/packages/keldovar.xml
  usr/share/icons/hicolor/16x16/apps/keldovar.png
  usr/share/icons/hicolor/32x32/apps/keldovar.png
  usr/share/icons/hicolor/48x48/apps/keldovar.png
  usr/share/icons/hicolor/128x128/apps/keldovar.png
  usr/share/icons/hicolor/scalable/apps/keldovar.svg
  usr/share/man/man1/keldovar.1.gz
  usr/share/man/man1/keldovar-cli.1.gz
  usr/share/man/man1/keldovar-pdf.1.gz
  usr/share/doc/keldovar/copyright
  usr/lib/python3/dist-packages/keldovar/__init__.py
  usr/lib/python3/dist-packages/keldovar/dask.py
  usr/share/doc/keldovar/changelog.gz
)
status=0
for file in "${expected[@]}"; do
  if [ -s "$tmp/$file" ]; then echo "ok      /$file"; else echo "MISSING /$file"; status=1; fi
done
grep -qx 'Path=/usr/share/keldovar' "$tmp/usr/share/applications/com.brakkelforestry.keldovar.desktop" ||
  { echo "the menu entry's Path= is not /usr/share/keldovar"; status=1; }
if command -v lintian >/dev/null 2>&1; then
  report=$(lintian "$deb" 2>/dev/null || true)
  [ -n "$report" ] && echo "$report"
  grep -q '^E:' <<<"$report" && status=1
else
  echo "lintian is not installed: the package was not linted"
fi
[ $status -eq 0 ] && echo "package ok: $(basename "$deb")"
exit $status
