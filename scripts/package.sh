#!/usr/bin/env bash
# Builds the release files into out/: the per-user MSI installer, the
# portable zip and the exe's symbol file, and prints their sizes and SHA-256
# sums (also written to out/SHA256SUMS).
#
#   scripts/package.sh [--release] [--version X.Y.Z] [--help-file FILE]
#                      [--build DIR] [--out DIR]
#
#   --release      a full release: fails unless the help document exists and
#                  the work tree has no uncommitted changes
#   --version      the installer's product version (default: the project's,
#                  from CMakeLists.txt); the exe keeps the project's version
#   --help-file    the help document to package (default: kelvane.pdf of the build)
#   --build DIR    package this Windows build as it is, without building
#   --out DIR      where the files go (default: out/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

release=0
version=""
help=""
build=""
out="$root/out"
while [ $# -gt 0 ]; do
  case "$1" in
    --release)   release=1 ;;
    --version)   version="$2"; shift ;;
    --help-file) help="$2"; shift ;;
    --build)     build="$2"; shift ;;
    --out)       out="$2"; shift ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
  shift
done

fail() { echo "package: $*" >&2; exit 1; }

for tool in wixl zip sha256sum; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done

if [ "$release" -eq 1 ] && [ -n "$(git -C "$root" status --porcelain)" ]; then
  fail "a release is made from a committed tree; commit or stash the changes first"
fi
if [ -z "$build" ]; then
  build="$root/build/windows"
  "$root/scripts/build.sh" windows >/dev/null
fi
build=$(cd "$build" && pwd)
exe="$build/kelvane.exe"
for file in "$exe" "$build/kelvane.debug" "$build/kelvane-setup-actions.dll" "$build/generated/kelvane.ico"; do
  [ -f "$file" ] || fail "$file is missing: is $build a Windows build?"
done

# Windows shows 512 KB for any size up to 512 KiB.
limit=$((512 * 1024))
exe_size=$(stat -c %s "$exe")
[ "$exe_size" -le "$limit" ] || fail "kelvane.exe is $exe_size bytes, more than the $limit allowed"

project_version=$(sed -nE 's/^#define KELVANE_VERSION_TEXT "(.*)"$/\1/p' "$build/generated/version.h")
version="${version:-$project_version}"
# Windows Installer compares major.minor.build, at most 255.255.65535.
if ! [[ "$version" =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]] ||
   [ "${BASH_REMATCH[1]}" -gt 255 ] || [ "${BASH_REMATCH[2]}" -gt 255 ] || [ "${BASH_REMATCH[3]}" -ge 65535 ]; then
  fail "version '$version' is not major.minor.build within 255.255.65534"
fi
if [ "$release" -eq 1 ] && [ "$version" != "$project_version" ]; then
  fail "a release has the project's version $project_version; change it in CMakeLists.txt"
fi
next_version="${BASH_REMATCH[1]}.${BASH_REMATCH[2]}.$((BASH_REMATCH[3] + 1))"

help="${help:-$build/kelvane.pdf}"
if [ ! -f "$help" ]; then
  [ "$release" -eq 0 ] || fail "the help document $help is missing; a release needs it"
  echo "package: no help document at $help; the packages are made without it" >&2
  help=""
fi

stage=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/kelvane.exe"
cp "$build/kelvane-setup-actions.dll" "$build/generated/kelvane.ico" "$stage/"
[ -z "$help" ] || cp "$help" "$stage/kelvane.pdf"
# Notepad and every Windows editor read CRLF.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$root/packaging/portable-readme.txt" >"$stage/README.txt"

mkdir -p "$out"
name="kelvane-$version-x64"
msi="$out/$name.msi"
zip="$out/$name-portable.zip"
symbols="$out/$name.debug"
rm -f "$msi" "$zip" "$symbols"

# wixl finds source files relative to the current folder only.
defines=(-D "Version=$version" -D "UpgradeCeiling=$next_version" -D ExeFile=kelvane.exe
         -D IconFile=kelvane.ico -D ActionsDll=kelvane-setup-actions.dll)
[ -z "$help" ] || defines+=(-D HelpFile=kelvane.pdf)
(cd "$stage" && wixl -a x64 "${defines[@]}" -o "$msi" "$root/packaging/kelvane.wxs") ||
  fail "wixl could not build the installer"

zip_files=(kelvane.exe README.txt)
[ -z "$help" ] || zip_files+=(kelvane.pdf)
(cd "$stage" && zip -q -X -9 "$zip" "${zip_files[@]}") || fail "zip could not build the portable archive"
cp "$build/kelvane.debug" "$symbols"

(cd "$out" && sha256sum "$(basename "$msi")" "$(basename "$zip")" "$(basename "$symbols")" >SHA256SUMS)
echo "Kelvane $version packages in $out:"
printf '  %-40s %9s bytes\n' "kelvane.exe (inside both)" "$exe_size"
for file in "$msi" "$zip" "$symbols"; do
  printf '  %-40s %9s bytes  sha256 %s\n' "$(basename "$file")" "$(stat -c %s "$file")" \
    "$(sha256sum "$file" | cut -d' ' -f1)"
done
