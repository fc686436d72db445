#!/usr/bin/env bash
# Installs and runs each package in dist/ as a user would. scripts/release.sh makes them; build/dist
# (its programs) and build/windows (the Windows build and its Wine prefix) must be there too.
#  - SHA256SUMS lists every package and every checksum verifies.
#  - The .deb: apt-get installs it with its dependencies; the installed programs print the build's
#    --version, capture three frames and their music byte for byte as build/dist's demo does, and
#    render songs/show.xm as build/dist's xmrender does; `man NAME` finds its page, the menu entry
#    passes desktop-file-validate and its icon is there. apt-get then removes it, and nothing it
#    installed may be left.
#  - The portable archive: unpacked into an empty folder and run from another one with a bare
#    environment (env -i, PATH=/usr/bin:/bin and the headless display's settings): --version, the
#    same three frames and music, xmrender. ldd finds every library of every program and library
#    in it, each bundled one in the archive's lib/, and it bundles nothing the system must provide
#    (packaging/system-libraries.txt).
#  - The Windows zip, unpacked, under Wine on a virtual X display: demo.exe --version, and the
#    three frames as the Windows build's demo.exe captures them, with Linux's music.
# Installing needs root, or sudo; the check refuses to run where the package is installed already.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=$root/dist
build=$root/build/dist
checks=0

die() {
  echo "test-packages.sh: $*" >&2
  exit 1
}
pass() {
  checks=$((checks + 1))
  echo "ok: $*"
}

case ${1:-} in
  -h | --help)
    sed -n '2,/^set -euo/{/^set -euo/d;s/^# \{0,1\}//;p}' "$0"
    exit 0
    ;;
  --under-x) ;;
  "")
    "$root/scripts/setup-packages.sh" xvfb xauth wine64 unzip man-db desktop-file-utils file
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --under-x
    ;;
  *)
    echo "test-packages.sh: unknown argument '$1' (it takes none; see --help)" >&2
    exit 2
    ;;
esac

debs=("$dist"/*_amd64.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  die "expected one .deb in $dist; run scripts/release.sh first"
fi
deb=${debs[0]}
name=$(dpkg-deb -f "$deb" Package)
version=$(dpkg-deb -f "$deb" Version)
if [ ! -x "$build/demo" ] || [ ! -x "$build/xmrender" ]; then
  die "build/dist has no demo or xmrender; run scripts/release.sh first"
fi
version_text=$("$build/demo" --version)
case $version_text in
  "demo $version (commit "*) ;;
  *) die "build/dist/demo --version says '$version_text', the .deb $version" ;;
esac

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q ' installed$'; then
  die "$name is installed on this machine; remove it first (apt-get remove $name), as this check installs and removes it"
fi

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
tmp=$(mktemp -d)
installed=0
cleanup() {
  if [ "$installed" -eq 1 ]; then
    "${sudo[@]}" apt-get remove -y -q "$name" >/dev/null 2>&1 || true
  fi
  stop_wine
  rm -rf "$tmp"
}
trap cleanup EXIT

# Offscreen drawing on Mesa's software renderer, no sound card.
headless=(SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1
  MESA_EXTENSION_OVERRIDE=-GL_ARB_texture_non_power_of_two)
export "${headless[@]}"
capture=(--capture frames --fps 20 --frames 41:43)
captured=(audio.wav frame_000041.png frame_000042.png frame_000043.png)

# The capture in DIR/frames has the same files with the same bytes as REFERENCE's.
expect_capture() {  # dir reference what
  local file
  [ "$(ls "$1/frames")" = "$(printf '%s\n' "${captured[@]}")" ] ||
    die "$3: the capture holds $(cd "$1/frames" && echo *)"
  for file in "${captured[@]}"; do
    cmp -s "$1/frames/$file" "$2/frames/$file" || die "$3: $file differs from $2's"
  done
  pass "$3: three frames and their music, the same bytes"
}
run_in() {  # dir what command...
  local dir=$1 what=$2
  shift 2
  mkdir -p "$dir"
  (cd "$dir" && "$@") </dev/null >"$tmp/out.log" 2>&1 || { cat "$tmp/out.log" >&2; die "$what failed"; }
}

echo "== SHA256SUMS =="
(cd "$dist" && sha256sum --check --strict --quiet SHA256SUMS) || die "a checksum in SHA256SUMS does not verify"
listed=$(awk '{print $2}' "$dist/SHA256SUMS" | sort)
present=$(find "$dist" -maxdepth 1 -type f ! -name SHA256SUMS -printf '%f\n' | sort)
[ "$listed" = "$present" ] ||
  die "SHA256SUMS lists $(tr '\n' ' ' <<<"$listed")but dist/ holds $(tr '\n' ' ' <<<"$present")"
pass "SHA256SUMS: $(echo "$listed" | wc -l) files, every checksum verifies"

run_in "$tmp/reference" "build/dist/demo ${capture[*]}" "$build/demo" "${capture[@]}"
"$build/xmrender" "$root/songs/show.xm" "$tmp/reference/show.wav" >/dev/null

echo "== $(basename "$deb") =="
installed=1
"${sudo[@]}" apt-get install -y -q --no-install-recommends "$deb" >"$tmp/apt.log" 2>&1 ||
  { cat "$tmp/apt.log" >&2; die "apt-get could not install $deb"; }
dpkg -L "$name" | grep -vx '/\.' | sort >"$tmp/deb-files"
pass "apt-get installed $name $version"
[ "$(command -v "$name")" = "/usr/bin/$name" ] || die "$name is not the installed /usr/bin/$name"
[ "$("$name" --version)" = "$version_text" ] || die "$name --version says '$("$name" --version)'"
[ "$("$name-xmrender" --version)" = "xmrender ${version_text#demo }" ] ||
  die "$name-xmrender --version says '$("$name-xmrender" --version)'"
pass "$name and $name-xmrender --version: $version_text"
run_in "$tmp/deb" "the installed $name ${capture[*]}" "$name" "${capture[@]}"
expect_capture "$tmp/deb" "$tmp/reference" "the installed $name"
run_in "$tmp/deb" "the installed $name-xmrender" "$name-xmrender" "$root/songs/show.xm" show.wav
cmp -s "$tmp/deb/show.wav" "$tmp/reference/show.wav" ||
  die "$name-xmrender songs/show.xm differs from build/dist's xmrender"
pass "$name-xmrender songs/show.xm: the same bytes as build/dist's"
for page in "$name" "$name-xmrender"; do
  [ "$(man -w "$page")" = "/usr/share/man/man1/$page.1.gz" ] || die "man finds no page $page"
  LC_ALL=C MANWIDTH=100 man -P cat "$page" 2>/dev/null | grep -q "^ *$page - " ||
    die "man $page shows no NAME line"
done
pass "man $name and man $name-xmrender"
desktop=/usr/share/applications/$name.desktop
desktop-file-validate "$desktop" || die "desktop-file-validate refuses $desktop"
if ! grep -qx "Exec=$name" "$desktop" || ! grep -qx "Icon=$name" "$desktop"; then
  die "$desktop does not start $name with its icon"
fi
for size in 48 256; do
  icon=/usr/share/icons/hicolor/${size}x$size/apps/$name.png
  file -b "$icon" | grep -q "^PNG image data, $size x $size," || die "$icon is no $size x $size PNG"
done
pass "$desktop passes desktop-file-validate; icons 48 and 256"
for doc in README.md.gz LICENSE THIRD-PARTY-NOTICES.md copyright changelog.gz; do
  [ -s "/usr/share/doc/$name/$doc" ] || die "/usr/share/doc/$name/$doc is missing"
done
pass "/usr/share/doc/$name: README, licence, third-party notices, copyright, changelog"
"${sudo[@]}" apt-get remove -y -q "$name" >"$tmp/apt.log" 2>&1 ||
  { cat "$tmp/apt.log" >&2; die "apt-get could not remove $name"; }
installed=0
if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -qv 'not-installed'; then
  die "dpkg still knows $name after its removal: $(dpkg-query -W -f='${Status}' "$name")"
fi
# What is left of the package's paths must be folders that other packages own.
left=()
while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then
    if [ ! -d "$path" ] || [ -L "$path" ]; then
      die "$path is left after removing $name"
    fi
    left+=("$path")
  fi
done <"$tmp/deb-files"
if [ ${#left[@]} -gt 0 ]; then
  owned=$( (dpkg -S "${left[@]}" 2>/dev/null || true) | sed 's/.*: //' | sort -u)
  for path in "${left[@]}"; do
    grep -qxF "$path" <<<"$owned" || die "$path is left after removing $name, and no package owns it"
  done
fi
pass "apt-get removed $name; nothing of it is left"

echo "== $name-$version-linux-x86_64.tar.gz =="
folder_name=$name-$version-linux-x86_64
mkdir "$tmp/unpacked"
tar -C "$tmp/unpacked" -xzf "$dist/$folder_name.tar.gz"
[ "$(ls -A "$tmp/unpacked")" = "$folder_name" ] || die "the archive does not hold one folder $folder_name"
folder=$tmp/unpacked/$folder_name
mapfile -t system_patterns < <(grep -v -e '^#' -e '^$' "$root/packaging/system-libraries.txt")
elf_files=0
while read -r file; do
  [ "$(head -c 4 "$file")" = $'\x7fELF' ] || continue
  elf_files=$((elf_files + 1))
  ldd "$file" >"$tmp/ldd.log" 2>&1 || { cat "$tmp/ldd.log" >&2; die "ldd fails on $file"; }
  ! grep -q 'not found' "$tmp/ldd.log" || die "ldd: $(grep 'not found' "$tmp/ldd.log" | head -n 1) for $file"
done < <(find "$folder" -type f)
# The programs find what they need in lib/ first. (A library that a system library needs too
# may come from the system: the loader uses the first one it loads for both.)
for program in "$name" "$name-xmrender"; do
  needed=$(objdump -p "$folder/$program" | awk '$1 == "NEEDED" {print $2}')
  while read -r soname _ path _; do
    if [ -e "$folder/lib/$soname" ] && [ "$path" != "$folder/lib/$soname" ] &&
      grep -qxF "$soname" <<<"$needed"; then
      die "$program loads $soname from $path, not from the archive's lib/"
    fi
  done < <(ldd "$folder/$program" | grep ' => ')
done
for library in "$folder"/lib/*; do
  for pattern in "${system_patterns[@]}"; do
    # shellcheck disable=SC2053  # the pattern is a glob
    [[ $(basename "$library") != $pattern ]] || die "the archive bundles $(basename "$library"), which is the system's"
  done
done
pass "ldd: $elf_files programs and libraries, every library found; the programs' own from lib/"
bare=(env -i PATH=/usr/bin:/bin "${headless[@]}")
[ "$(cd "$tmp" && "${bare[@]}" "$folder/$name" --version)" = "$version_text" ] ||
  die "the archive's $name --version differs from build/dist's"
run_in "$tmp/portable" "the archive's $name ${capture[*]}" "${bare[@]}" "$folder/$name" "${capture[@]}"
expect_capture "$tmp/portable" "$tmp/reference" "the archive's $name, env -i"
run_in "$tmp/portable" "the archive's $name-xmrender" "${bare[@]}" "$folder/$name-xmrender" \
  "$root/songs/show.xm" show.wav
cmp -s "$tmp/portable/show.wav" "$tmp/reference/show.wav" ||
  die "the archive's $name-xmrender songs/show.xm differs from build/dist's xmrender"
pass "the archive's $name-xmrender songs/show.xm, env -i: the same bytes"

echo "== $name-$version-windows-x64.zip =="
windows=$tmp/windows-zip
mkdir "$windows"
unzip -q "$dist/$name-$version-windows-x64.zip" -d "$windows"
for file in demo.exe xmrender.exe README.md LICENSE THIRD-PARTY-NOTICES.md LICENSE-OFL-Lato.txt; do
  [ -f "$windows/$file" ] || die "the Windows zip has no $file"
done
[ -x "$root/build/windows/demo.exe" ] || die "build/windows has no demo.exe; run scripts/build-windows.sh"
start_wine
windows_version=$("$wine" "$windows/demo.exe" --version </dev/null 2>&1 | tr -d '\r')
[ "$windows_version" = "$version_text" ] || die "the zip's demo.exe --version says '$windows_version'"
pass "the zip's demo.exe --version under Wine: $windows_version"
run_in "$tmp/windows-build" "build/windows/demo.exe ${capture[*]}" \
  "$wine" "$root/build/windows/demo.exe" "${capture[@]}"
run_in "$tmp/windows" "the zip's demo.exe ${capture[*]}" "$wine" "$windows/demo.exe" "${capture[@]}"
expect_capture "$tmp/windows" "$tmp/windows-build" "the zip's demo.exe under Wine"
cmp -s "$tmp/windows/frames/audio.wav" "$tmp/reference/frames/audio.wav" ||
  die "the zip's demo.exe music differs from Linux's"
pass "the zip's demo.exe music: the same bytes as Linux's"

echo "Packages: $checks checks passed, 0 failed"
