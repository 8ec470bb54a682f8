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
#
# Signing: with KELVANE_SIGN_PFX (a PKCS#12 file with the code-signing
# certificate and its key) and KELVANE_SIGN_PASSWORD set, the exe (before it
# goes into the installer and the zip) and the installer are signed with
# Authenticode, SHA-256; KELVANE_SIGN_TIMESTAMP may name an RFC 3161
# timestamp server. Without them the files are unsigned, and the script
# says so.
#
# The same commit packaged from any folder gives the same exe and zip, and
# the same installer: every time in them is the commit's (SOURCE_DATE_EPOCH,
# unless already set).
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

for tool in wixl msibuild faketime zip sha256sum; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done

signing=0
if [ -n "${KELVANE_SIGN_PFX:-}${KELVANE_SIGN_PASSWORD:-}" ]; then
  [ -n "${KELVANE_SIGN_PFX:-}" ] && [ -n "${KELVANE_SIGN_PASSWORD+set}" ] ||
    fail "signing needs both KELVANE_SIGN_PFX and KELVANE_SIGN_PASSWORD"
  [ -f "$KELVANE_SIGN_PFX" ] || fail "the signing certificate $KELVANE_SIGN_PFX does not exist"
  command -v osslsigncode >/dev/null || fail "osslsigncode is missing (scripts/deps.sh installs it)"
  signing=1
fi

if [ "$release" -eq 1 ] && [ -n "$(git -C "$root" status --porcelain)" ]; then
  fail "a release is made from a committed tree; commit or stash the changes first"
fi
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) ||
    fail "not a git checkout: set SOURCE_DATE_EPOCH to the release's time"
fi
export SOURCE_DATE_EPOCH
if [ -z "$build" ]; then
  build="$root/build/windows"
  KELVANE_TARGETS="kelvane kelvane_setup_actions" "$root/scripts/build.sh" windows >/dev/null
fi
build=$(cd "$build" && pwd)
# The output folder as given, relative to where the script was started; the
# steps below change folders.
mkdir -p "$out"
out=$(cd "$out" && pwd)
exe="$build/kelvane.exe"
for file in "$exe" "$build/kelvane.debug" "$build/kelvane-setup-actions.dll" "$build/generated/kelvane.ico"; do
  [ -f "$file" ] || fail "$file is missing: is $build a Windows build?"
done

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

# Everything is made in the stage and moves to the output folder only when
# all of it, signatures included, has succeeded.
stage=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
files="$stage/files"
mkdir "$files"
cp "$exe" "$files/kelvane.exe"
cp "$build/kelvane-setup-actions.dll" "$build/generated/kelvane.ico" "$files/"
[ -z "$help" ] || cp "$help" "$files/kelvane.pdf"
# Notepad and every Windows editor read CRLF.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$root/packaging/portable-readme.txt" >"$files/README.txt"

# Signs a file in place with the certificate, or fails without leaving it half-signed.
sign() {
  local file="$1" signed="$1.signed" timestamp=()
  [ -z "${KELVANE_SIGN_TIMESTAMP:-}" ] || timestamp=(-ts "$KELVANE_SIGN_TIMESTAMP")
  # The password goes through a pipe, never on a command line.
  if ! osslsigncode sign -pkcs12 "$KELVANE_SIGN_PFX" -readpass <(printf '%s' "$KELVANE_SIGN_PASSWORD") \
        -h sha256 -n Kelvane "${timestamp[@]}" -in "$file" -out "$signed" >"$stage/sign.log" 2>&1; then
    rm -f "$signed"
    fail "signing $(basename "$file") failed (a wrong password, or not a PKCS#12 file with a key?):
$(sed 's/^/  /' "$stage/sign.log")"
  fi
  mv "$signed" "$file"
}
[ "$signing" -eq 0 ] || sign "$files/kelvane.exe"
# Windows shows 512 KB for any size up to 512 KiB.
limit=$((512 * 1024))
exe_size=$(stat -c %s "$files/kelvane.exe")
[ "$exe_size" -le "$limit" ] || fail "kelvane.exe is $exe_size bytes, more than the $limit allowed"

# Fixed times, modes and order make the archives depend on the contents only.
chmod 0644 "$files"/*
touch -d "@$SOURCE_DATE_EPOCH" "$files"/*

name="kelvane-$version-x64"
msi="$stage/$name.msi"
zip="$stage/$name-portable.zip"

# The product and package codes follow from the version and the packaged
# files: a rebuild of the same commit is the same product and package, and
# anything else is another one, which replaces it as an upgrade.
inputs=$( (echo "$version"; sha256sum <"$root/packaging/kelvane.wxs"; cd "$files" && sha256sum ./* | LC_ALL=C sort -k2) |
          sha256sum | cut -c1-64)
code_of() {
  local hex
  hex=$(printf '%s %s' "$1" "$inputs" | sha256sum | cut -c1-32 | tr 'a-f' 'A-F')
  # A name-based GUID: version nibble 8, variant 10.
  printf '%s-%s-8%s-%X%s-%s' "${hex:0:8}" "${hex:8:4}" "${hex:13:3}" $(( (0x${hex:16:1} & 3) | 8 )) "${hex:17:3}" "${hex:20:12}"
}
product_code=$(code_of product)
package_code=$(code_of package)

# wixl finds source files relative to the current folder only. It stamps the
# package with the time it runs and a random package code; the time is the
# commit's, and msibuild puts the package code in.
defines=(-D "Version=$version" -D "UpgradeCeiling=$next_version" -D "ProductCode=$product_code"
         -D ExeFile=kelvane.exe -D IconFile=kelvane.ico -D ActionsDll=kelvane-setup-actions.dll)
[ -z "$help" ] || defines+=(-D HelpFile=kelvane.pdf)
commit_time=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')
(cd "$files" && TZ=UTC faketime -f "$commit_time" wixl -a x64 "${defines[@]}" -o "$msi" "$root/packaging/kelvane.wxs") ||
  fail "wixl could not build the installer"
TZ=UTC faketime -f "$commit_time" msibuild "$msi" -s "Kelvane $version" Kelvane "x64;1033" "{$package_code}" ||
  fail "msibuild could not set the installer's package code"
[ "$signing" -eq 0 ] || sign "$msi"

zip_files=(README.txt kelvane.exe)
[ -z "$help" ] || zip_files+=(kelvane.pdf)
(cd "$files" && TZ=UTC zip -q -X -9 "$zip" "${zip_files[@]}") || fail "zip could not build the portable archive"
cp "$build/kelvane.debug" "$stage/$name.debug"

mkdir -p "$out"
(cd "$stage" && sha256sum "$name.msi" "$name-portable.zip" "$name.debug" >SHA256SUMS)
rm -f "$out/$name.msi" "$out/$name-portable.zip" "$out/$name.debug"
mv "$stage/$name.msi" "$stage/$name-portable.zip" "$stage/$name.debug" "$stage/SHA256SUMS" "$out/"

echo "Kelvane $version packages in $out:"
if [ "$signing" -eq 1 ]; then
  echo "  signed with $(basename "$KELVANE_SIGN_PFX")${KELVANE_SIGN_TIMESTAMP:+, timestamped by $KELVANE_SIGN_TIMESTAMP}"
else
  echo "  unsigned (set KELVANE_SIGN_PFX and KELVANE_SIGN_PASSWORD to sign)"
fi
printf '  %-40s %9s bytes  sha256 %s\n' "kelvane.exe (inside both)" "$exe_size" \
  "$(sha256sum "$files/kelvane.exe" | cut -d' ' -f1)"
for file in "$out/$name.msi" "$out/$name-portable.zip" "$out/$name.debug"; do
  printf '  %-40s %9s bytes  sha256 %s\n' "$(basename "$file")" "$(stat -c %s "$file")" \
    "$(sha256sum "$file" | cut -d' ' -f1)"
done
