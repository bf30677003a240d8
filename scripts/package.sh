#!/usr/bin/env bash
# Builds the Debian package of the program (a Release build of the programs, the menu entry,
# the icon and the software-centre description) and prints the path of the .deb.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages
build_tree "$ROOT/build-package" Release -DKOYOMIPLAN_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
say "packaging"
(cd "$ROOT/build-package" && cpack -G DEB >/dev/null)
ls -1 "$ROOT"/build-package/koyomiplan_*.deb | tail -n 1
