# Sourced by the scripts that run the Windows programs under Wine on a virtual X display, with
# $root set to the checkout: sets $wine and Wine's environment (the prefix in
# build/windows/wineprefix, no debug output, Mesa's software renderer), and defines start_wine and
# stop_wine, which run one Wine server for all of the script's runs.
# shellcheck shell=bash disable=SC2154  # $root is the sourcing script's
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wine_server="${wine%64}server64"
[ -x "$wine_server" ] || wine_server="${wine%64}server"
export WINEPREFIX="$root/build/windows/wineprefix" WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko installer prompts while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
export MESA_EXTENSION_OVERRIDE=-GL_ARB_texture_non_power_of_two LIBGL_ALWAYS_SOFTWARE=1

# The server is started without our output streams: Wine's helper processes would otherwise keep
# a pipe open after the programs end. The first start makes the prefix (~10 s).
start_wine() {
  "$wine_server" -p </dev/null >/dev/null 2>&1 || true  # already running: fine
  "$wine" wineboot --init </dev/null >/dev/null 2>&1 || true
}
stop_wine() {
  "$wine_server" -k 2>/dev/null || true
}
