#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs of it, then
# packages it and lists the package: the programs, the menu entry, the icons, the metainfo.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/usr" >/dev/null
expected=(
    bin/koyomiplan
    bin/koyomiplan-render
    share/applications/org.koyomiplan.Koyomiplan.desktop
    share/metainfo/org.koyomiplan.Koyomiplan.metainfo.xml
    share/icons/hicolor/scalable/apps/koyomiplan.svg
    share/icons/hicolor/256x256/apps/koyomiplan.png
)
for f in "${expected[@]}"; do
    [ -e "$work/usr/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
[ -x "$work/usr/bin/koyomiplan" ] || { echo "koyomiplan is not executable" >&2; exit 1; }
file "$work/usr/share/icons/hicolor/256x256/apps/koyomiplan.png" | grep -q '256 x 256' ||
    { echo "the icon is not 256 x 256" >&2; exit 1; }
grep -q '^Icon=koyomiplan$' "$work/usr/share/applications/org.koyomiplan.Koyomiplan.desktop"
grep -q '^Categories=Education;Math;$' "$work/usr/share/applications/org.koyomiplan.Koyomiplan.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$work/usr/share/applications/org.koyomiplan.Koyomiplan.desktop"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$work/usr/share/metainfo/org.koyomiplan.Koyomiplan.metainfo.xml" >/dev/null
fi
echo "installed and valid: ${#expected[@]} files"

# The package of the same build lists the same files under /usr.
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null; then
    (cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB \
        -D CPACK_PACKAGING_INSTALL_PREFIX=/usr >/dev/null)
    deb="$(ls "$work"/koyomiplan_*.deb)"
    listing="$(dpkg-deb -c "$deb")"
    for f in "${expected[@]}"; do
        grep -q "./usr/$f\$" <<<"$listing" || { echo "not in the package: $f" >&2; exit 1; }
    done
    dpkg-deb -f "$deb" Depends | grep -q 'qt6-qpa-plugins' ||
        { echo "the package does not depend on the Qt platform plugins" >&2; exit 1; }
    echo "packaged: $(basename "$deb")"
fi
