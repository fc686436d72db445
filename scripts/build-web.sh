#!/usr/bin/env bash
# Builds the show for web browsers with Emscripten (Release) and leaves the site in build/web/:
# index.html, audio-output.js (the sound worklet), demo.js and demo.wasm, beside xmrender.js and
# xmrender.wasm for node; and build/web/demo-web.zip with the site, the licences and this README.
# Installs Emscripten and zip first if either is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-packages.sh" emscripten zip
# Debian's emcc finds its JavaScript tools' modules through NODE_PATH.
export NODE_PATH=/usr/share/nodejs

cmake --preset web -S "$root" >/dev/null
cmake --build "$root/build/web" -j "$(nproc)" --target demo xmrender

out="$root/build/web"
site=(index.html audio-output.js demo.js demo.wasm)
package="$out/demo-web.zip"
rm -f "$package"
(cd "$out" && zip -q -X "$package" "${site[@]}")
(cd "$root" && zip -q -X -j "$package" README.md LICENSE THIRD-PARTY-NOTICES.md \
  assets/fonts/LICENSE-OFL-Lato.txt)
total=0
for file in "${site[@]}"; do
  total=$((total + $(gzip -9 -c "$out/$file" | wc -c)))
done
echo "Built $out (${site[*]}; $total bytes gzip-compressed) and $package"
