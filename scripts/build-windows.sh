#!/usr/bin/env bash
# Cross-builds the 64-bit Windows programs with MinGW-w64 (Release, statically linked, so they
# run from any folder with nothing installed) and packs build/windows/demo-windows.zip with
# demo.exe, xmrender.exe, the README and the licences. Installs the cross compiler, MinGW zlib
# and zip first if any is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-packages.sh" g++-mingw-w64-x86-64-posix libz-mingw-w64-dev zip

cmake --preset windows -S "$root" >/dev/null
cmake --build "$root/build/windows" -j "$(nproc)" --target demo xmrender

out="$root/build/windows"
package="$out/demo-windows.zip"
rm -f "$package"
# -X: no extra file attributes, -j: flat, so the archive holds just these files.
(cd "$root" && zip -q -X -j "$package" "$out/demo.exe" "$out/xmrender.exe" README.md LICENSE \
  THIRD-PARTY-NOTICES.md assets/fonts/LICENSE-OFL-Lato.txt)
echo "Built $out/demo.exe, $out/xmrender.exe and $package"
