#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a temporary root and runs the unpacked
# programs from there, as an installation would run them.
set -euo pipefail

build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/grovex_*.deb)
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6printsupport6 libsqlite3-0 fonts-dejavu-core; do
    [[ $depends == *"$library"* ]] || { echo "the package does not depend on $library"; exit 1; }
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/grovex usr/bin/grovex-cli usr/share/applications/grovex.desktop \
            usr/share/mime/packages/grovex.xml usr/share/icons/hicolor/scalable/apps/grovex.svg \
            usr/share/icons/hicolor/48x48/apps/grovex.png usr/share/icons/hicolor/256x256/apps/grovex.png \
            usr/share/man/man1/grovex-cli.1.gz usr/share/doc/grovex/README.md; do
    [ -e "$root/$file" ] || { echo "the package lacks /$file"; exit 1; }
done
desktop-file-validate "$root/usr/share/applications/grovex.desktop"
zcat "$root/usr/share/man/man1/grovex-cli.1.gz" | grep -q '^\.SH' || { echo "the manual page has no sections"; exit 1; }

"$root/usr/bin/grovex-cli" project | tr -d '\r' | grep -q 'Growing Seasons Completed =   25.00' ||
    { echo "the unpacked grovex-cli did not project the default stand"; exit 1; }
shown=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/grovex" --version)
[ "$shown" = "grovex $version" ] || { echo "grovex --version printed '$shown'"; exit 1; }
echo "the unpacked programs run"
