#!/usr/bin/env bash
# Builds the release packages into dist/ (emptied first). NAME is the package's name, VERSION the
# project's version (CMakeLists.txt), as the programs' --version prints it with their commit:
#   NAME_VERSION_amd64.deb            the Debian 12 package: /usr/bin/NAME (the show) and
#                                     /usr/bin/NAME-xmrender, a menu entry, an icon cut from one of
#                                     the show's frames, manual pages made by help2man from --help,
#                                     the README and the licences; its Depends come from
#                                     dpkg-shlibdeps; lintian must find no error in it
#   NAME-VERSION-linux-x86_64.tar.gz  a folder that runs where it is unpacked: the same two
#                                     programs with the libraries they need in lib/ (found through
#                                     $ORIGIN), less those the system must provide
#                                     (packaging/system-libraries.txt)
#   NAME-VERSION-windows-x64.zip      scripts/build-windows.sh's zip (build/windows is reused)
#   NAME-VERSION-web.zip              scripts/build-web.sh's bundle, when that script exists
#   SHA256SUMS                        the checksums of all of them
# The programs are built with the dist preset (-O2, no sanitizers, no tests) in build/dist and
# stripped in the packages. Installs the packaging tools first if any is missing.
# scripts/test-packages.sh installs and runs each package as a user would.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ $# -gt 0 ]; then
  case $1 in
    -h | --help)
      sed -n '2,/^set -euo/{/^set -euo/d;s/^# \{0,1\}//;p}' "$0"
      exit 0
      ;;
    *)
      echo "release.sh: unknown argument '$1' (it takes none; see --help)" >&2
      exit 2
      ;;
  esac
fi

name=palevortex
title="Pale Vortex"
summary="real-time audiovisual demo with its own XM music player"
maintainer="Pale Vortex developers <maintainers@users.noreply.c-seed-aee9a381.example>"
build=$root/build/dist
dist=$root/dist
work=$root/build/package

die() {
  echo "release.sh: $*" >&2
  exit 1
}

# Runs a command with its output kept in a log, shown only when the command fails.
quietly() {  # description command...
  local what=$1 log=$work/last.log
  shift
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    die "$what failed (output above)"
  fi
}

"$root/scripts/setup-packages.sh" dpkg-dev lintian help2man desktop-file-utils patchelf netpbm

echo "== Building the programs (build/dist: -O2, no tests) =="
cmake --preset dist -S "$root" >/dev/null
cmake --build "$build" -j "$(nproc)" --target demo xmrender
version_text=$("$build/demo" --version) || die "build/dist/demo --version failed"
version_text=${version_text#demo }
version=${version_text%% *}
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || die "cannot read the version from '$version_text'"
[ "$("$build/xmrender" --version)" = "xmrender $version_text" ] ||
  die "demo and xmrender were built from different versions"
case $version_text in
  *modified*) echo "release.sh: warning: the tree has uncommitted changes: $version_text" >&2 ;;
esac
# Dates inside the packages (manual pages, changelog, archive entries) are the commit's.
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH
release_date=$(date -u -R -d "@$SOURCE_DATE_EPOCH")

rm -rf "$work" "$dist"
mkdir -p "$work" "$dist"

# Offscreen drawing on Mesa's software renderer, no sound card: the icon's frame needs no display.
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1
export MESA_EXTENSION_OVERRIDE=-GL_ARB_texture_non_power_of_two

echo "== Icon: the vortex of the opening scene =="
# Frame 8 at one frame per second: the noise ball in the middle of the wire vortex.
quietly "capturing the icon's frame" "$build/demo" --capture "$work/icon-frame" --fps 1 \
  --frames 8:8
pngtopam "$work/icon-frame/frame_000008.png" | pamcut -left 192 -top 112 -width 256 -height 256 \
  >"$work/icon-256.pam"
pnmtopng -compression 9 <"$work/icon-256.pam" >"$work/icon-256.png"
pamscale -xsize 48 -ysize 48 <"$work/icon-256.pam" | pnmtopng -compression 9 >"$work/icon-48.png"

# A manual page from a program's --help and --version, which help2man reads through a stand-in
# that gives the installed command's name and help2man's layout (packaging/help-for-man.awk).
man_page() {  # program description folder
  local program=$1 description=$2 command other
  command=$(installed_name "$program")
  other=$(installed_name "$([ "$program" = demo ] && echo xmrender || echo demo)")
  mkdir -p "$work/man-input"
  cat >"$work/man-input/$command" <<EOF
#!/bin/sh
"$build/$program" "\$@" | awk -v own=$program -v command=$command -f "$root/packaging/help-for-man.awk"
EOF
  chmod 755 "$work/man-input/$command"
  printf '[SEE ALSO]\n.BR %s (1)\n' "$other" >"$work/man-input/$command.h2m"
  quietly "help2man for $command" help2man --no-info --section=1 --source="$title $version" \
    --manual="User Commands" --name="$description" --include="$work/man-input/$command.h2m" \
    --output="$work/man-input/$command.1" "$work/man-input/$command"
  gzip -9 -n -c "$work/man-input/$command.1" >"$3/$command.1.gz"
}

# The two programs, stripped as Debian strips them, under their installed names.
install_programs() {  # folder
  local program
  for program in demo xmrender; do
    strip --strip-all --remove-section=.comment --remove-section=.note \
      -o "$1/$(installed_name "$program")" "$build/$program"
  done
  chmod 755 "$1/$name" "$1/$name-xmrender"
}
installed_name() {  # program
  if [ "$1" = demo ]; then echo "$name"; else echo "$name-$1"; fi
}

# The files both Linux packages carry beside the programs.
copy_docs() {  # folder
  install -m 644 "$root/README.md" "$root/LICENSE" "$root/THIRD-PARTY-NOTICES.md" \
    "$root/assets/fonts/LICENSE-OFL-Lato.txt" "$1/"
}

echo "== ${name}_${version}_amd64.deb =="
deb=$work/deb
share=$deb/usr/share
install -d "$deb/DEBIAN" "$deb/usr/bin" "$share/applications" "$share/man/man1" \
  "$share/icons/hicolor/256x256/apps" "$share/icons/hicolor/48x48/apps" "$share/doc/$name"
install_programs "$deb/usr/bin"
man_page demo "$summary" "$share/man/man1"
man_page xmrender "render an XM module to a WAV file" "$share/man/man1"
install -m 644 "$work/icon-256.png" "$share/icons/hicolor/256x256/apps/$name.png"
install -m 644 "$work/icon-48.png" "$share/icons/hicolor/48x48/apps/$name.png"
cat >"$share/applications/$name.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=$title
GenericName=Audiovisual demo
Comment=A real-time 3D show with its own tracked music; Escape quits
Exec=$name
Icon=$name
Terminal=false
Categories=AudioVideo;
Keywords=demo;demoscene;tracker;XM;module;OpenGL;
EOF
chmod 644 "$share/applications/$name.desktop"
copy_docs "$share/doc/$name"
rm "$share/doc/$name/LICENSE-OFL-Lato.txt"  # its text is in the copyright file
gzip -9 -n "$share/doc/$name/README.md"
{
  echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
  echo "Upstream-Name: $title"
  echo
  echo "Files: *"
  echo "Copyright: $(sed -n 's/^Copyright (c) //p' "$root/LICENSE")"
  echo "License: Expat"
  echo
  echo "Files: assets/fonts/*"
  echo "Copyright: 2010-2011 Łukasz Dziedzic"
  echo "License: OFL-1.1"
  echo
  echo "License: Expat"
  sed -n '/^Permission is hereby granted/,$p' "$root/LICENSE" | sed 's/^$/./; s/^/ /'
  echo
  echo "License: OFL-1.1"
  sed -n '/^License: OFL-1.1/,/^$/{/^License:/d;/^$/d;p}' "$root/assets/fonts/LICENSE-OFL-Lato.txt"
} >"$share/doc/$name/copyright"
commit=${version_text#* (commit }
printf '%s (%s) unstable; urgency=medium\n\n  * Release %s, built from commit %s.\n\n -- %s  %s\n' \
  "$name" "$version" "$version" "${commit%)}" "$maintainer" "$release_date" |
  gzip -9 -n >"$share/doc/$name/changelog.gz"
find "$deb" -type d -exec chmod 755 {} +

# Depends: the packages of the libraries the programs link, as dpkg-shlibdeps finds them.
mkdir -p "$work/shlibdeps/debian"
printf 'Source: %s\n\nPackage: %s\nArchitecture: amd64\n' "$name" "$name" \
  >"$work/shlibdeps/debian/control"
depends=$(cd "$work/shlibdeps" && dpkg-shlibdeps -O "$deb/usr/bin/$name" \
  "$deb/usr/bin/$name-xmrender" 2>"$work/shlibdeps.log") ||
  { cat "$work/shlibdeps.log" >&2; die "dpkg-shlibdeps failed"; }
depends=${depends#shlibs:Depends=}
[ -n "$depends" ] || die "dpkg-shlibdeps found no dependencies"
cat >"$deb/DEBIAN/control" <<EOF
Package: $name
Version: $version
Architecture: amd64
Maintainer: $maintainer
Installed-Size: $(du -k -s --exclude=DEBIAN "$deb" | cut -f1)
Depends: $depends
Section: graphics
Priority: optional
Description: $summary
 $title plays a tracked song through its own XM module player (loader,
 replay engine, software mixer and streaming thread) while it shows a timed
 sequence of procedurally generated 3D scenes drawn with OpenGL, full screen
 or in a window, for about two minutes and a quarter.
 .
 It can also capture the show to PNG frames and a WAV file, or export it as
 an MP4 video. $name-xmrender renders any XM module to a WAV file with the
 same player.
EOF
(cd "$deb" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)
chmod 644 "$deb/DEBIAN/control" "$deb/DEBIAN/md5sums"
deb_file=$dist/${name}_${version}_amd64.deb
quietly "dpkg-deb" dpkg-deb --root-owner-group -Zxz --build "$deb" "$deb_file"
echo "Depends: $depends"
echo "lintian:"
lintian_status=0
lintian --allow-root --fail-on error --display-info "$deb_file" || lintian_status=$?
[ "$lintian_status" -eq 0 ] || die "lintian found errors in $deb_file"

echo "== $name-$version-linux-x86_64.tar.gz =="
folder_name=$name-$version-linux-x86_64
folder=$work/portable/$folder_name
mkdir -p "$folder/lib" "$folder/licenses"
install_programs "$folder"
copy_docs "$folder"
mapfile -t system_patterns < <(grep -v -e '^#' -e '^$' "$root/packaging/system-libraries.txt")
left_to_system() {  # soname
  local pattern
  for pattern in "${system_patterns[@]}"; do
    # shellcheck disable=SC2053  # the pattern is a glob
    [[ $1 == $pattern ]] && return 0
  done
  return 1
}
# Where the loader finds each library of the build (soname -> path).
declare -A library_path
while read -r soname _ path _; do
  [ -n "$path" ] && library_path[$soname]=$path
done < <(ldd "$build/demo" "$build/xmrender" | grep ' => /')
# Every library the programs need, walked from their own needs down, bundled unless the system
# provides it; what a system library needs is the system's business.
declare -A bundled
queue=("$folder/$name" "$folder/$name-xmrender")
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  while read -r soname; do
    if left_to_system "$soname" || [ -n "${bundled[$soname]:-}" ]; then
      continue
    fi
    path=${library_path[$soname]:-}
    [ -n "$path" ] || die "ldd did not resolve $soname (needed by $(basename "$file"))"
    bundled[$soname]=$path
    install -m 644 "$path" "$folder/lib/$soname"
    queue+=("$folder/lib/$soname")
  done < <(objdump -p "$file" | awk '$1 == "NEEDED" {print $2}')
done
# shellcheck disable=SC2016  # $ORIGIN is the loader's
patchelf --set-rpath '$ORIGIN/lib' "$folder/$name" "$folder/$name-xmrender"
for soname in "${!bundled[@]}"; do
  # shellcheck disable=SC2016
  patchelf --set-rpath '$ORIGIN' "$folder/lib/$soname"
done
# Each bundled library's Debian package: its copyright file, and one line in LIBRARIES.txt.
# dpkg knows a library by the path its package installs, with or without the /usr that merged
# /lib into /usr/lib adds: ask for both.
declare -A owner_of packages
paths=()
for soname in "${!bundled[@]}"; do
  real=$(readlink -f "${bundled[$soname]}")
  paths+=("$real" "${real#/usr}")
done
while read -r line; do  # "libaom3:amd64: /usr/lib/x86_64-linux-gnu/libaom.so.3.6.0"
  owner=${line%%: /*}
  owner_of[/${line#*: /}]=${owner%%[:,]*}
done < <(dpkg -S "${paths[@]}" 2>/dev/null || true)
for soname in "${!bundled[@]}"; do
  real=$(readlink -f "${bundled[$soname]}")
  owner=${owner_of[$real]:-${owner_of[${real#/usr}]:-}}
  [ -n "$owner" ] || die "no Debian package owns $real"
  packages[$owner]+=" $soname"
done
# The newest C and C++ runtime versions any of them needs.
objdump -T "$folder/$name" "$folder/$name-xmrender" "$folder"/lib/* |
  grep -o 'GLIBC\(XX\)\{0,1\}_[0-9.]*' | sort -u -V >"$work/runtime-versions"
glibc=$(grep '^GLIBC_' "$work/runtime-versions" | tail -n 1)
glibcxx=$(grep '^GLIBCXX_' "$work/runtime-versions" | tail -n 1)
{
  echo "$title $version_text for x86-64 Linux"
  echo
  echo "./$name plays the show (--help lists its options); ./$name-xmrender renders an XM"
  echo "module to a WAV file. Start them from this folder, or by their path from anywhere."
  echo
  echo "The system provides:"
  echo "- glibc ${glibc#GLIBC_} or later, and the C++ runtime of GCC 12 or later ($glibcxx);"
  echo "- an OpenGL driver, reached through libOpenGL and libGLX (GLVND);"
  echo "- the X11, Wayland and sound client libraries that SDL uses;"
  echo "that is, these sonames, which lib/ leaves out:"
  grep -v -e '^#' -e '^$' "$root/packaging/system-libraries.txt" | sed 's/^/  /'
  echo
  echo "The libraries in lib/ are Debian 12's, from these packages (their copyright and"
  echo "licence texts are in licenses/; Debian's archive has their sources):"
  for owner in $(printf '%s\n' "${!packages[@]}" | sort); do
    echo "  $owner $(dpkg-query -W -f='${Version}' "$owner"):${packages[$owner]}"
    cp -L "/usr/share/doc/$owner/copyright" "$folder/licenses/$owner.txt"
  done
} >"$folder/LIBRARIES.txt"
chmod -R u+w,go-w,a+rX "$folder"
tarball=$dist/$folder_name.tar.gz
tar -C "$work/portable" --sort=name --owner=0 --group=0 --numeric-owner \
  --mtime="@$SOURCE_DATE_EPOCH" -cf - "$folder_name" | gzip -n >"$tarball"
echo "${#bundled[@]} libraries from ${#packages[@]} packages bundled; needs $glibc, $glibcxx"

echo "== $name-$version-windows-x64.zip =="
quietly "scripts/build-windows.sh" "$root/scripts/build-windows.sh"
cp "$root/build/windows/demo-windows.zip" "$dist/$name-$version-windows-x64.zip"

if [ -f "$root/scripts/build-web.sh" ]; then
  echo "== $name-$version-web.zip =="
  quietly "scripts/build-web.sh" bash "$root/scripts/build-web.sh"
  cp "$root/build/web/demo-web.zip" "$dist/$name-$version-web.zip"
else
  echo "release.sh: no scripts/build-web.sh in this tree; skipped the web bundle"
fi

(cd "$dist" && sha256sum -- * >SHA256SUMS)
echo "== dist/ =="
(cd "$dist" && stat -c '%12s  %n' -- *)
