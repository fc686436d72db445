#!/usr/bin/env bash
# The web pass: builds the page and xmrender for node (scripts/build-web.sh), then runs the
# browser tests (tests/web/web_test.py) in headless Chromium against the native Release build
# in build/release, which must be built first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
started=$(date +%s)
"$root/scripts/setup-packages.sh" chromium nodejs
"$root/scripts/build-web.sh"
built=$(date +%s)
python3 "$root/tests/web/web_test.py" "$root/build/web" "$root/build/release"
echo "Web pass: $(( $(date +%s) - started )) s (build $(( built - started )) s)"
