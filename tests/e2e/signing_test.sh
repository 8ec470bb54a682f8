#!/usr/bin/env bash
# Signed release files: with a throwaway self-signed code-signing
# certificate, scripts/package.sh signs the exe (also the copy inside the
# installer) and the installer, osslsigncode accepts each against that
# certificate, and one changed byte makes it refuse. A wrong password or a
# missing certificate fails with a clear message and leaves nothing in the
# output folder; without a certificate the files are unsigned and the
# script says so.
#
#   signing_test.sh BUILD_DIR   (a Windows build: kelvane.exe and the rest)
set -uo pipefail
# shellcheck source=tests/e2e/support/release_checks.sh
. "$(dirname "$0")/support/release_checks.sh" signing "$@"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kelvane throwaway signing" \
  -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=critical,digitalSignature" \
  -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1 || die "openssl could not make a certificate"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/sign.pfx" \
  -passout pass:throwaway-password >/dev/null 2>&1 || die "openssl could not make the PKCS#12 file"

package() {
  local out="$1"
  shift
  env "$@" "$root/scripts/package.sh" --build "$build" --out "$out" --version 1.0.0 >"$out.log" 2>&1
}
verifies_with() { osslsigncode verify -CAfile "$1" -in "$2" >/dev/null 2>&1; }
verifies() { verifies_with "$work/cert.pem" "$1"; }
refused() { ! verifies "$1"; }
# A copy with one byte in the middle changed.
tampered() {
  local copy="$work/tampered-$(basename "$1")" middle byte
  cp "$1" "$copy"
  middle=$(($(stat -c %s "$copy") / 2))
  byte=$(od -An -tu1 -j "$middle" -N1 "$copy" | tr -d ' ')
  printf "$(printf '\\%03o' $(((byte + 1) % 256)))" | dd of="$copy" bs=1 seek="$middle" conv=notrunc status=none
  echo "$copy"
}
empty_or_missing() { [ ! -e "$1" ] || [ -z "$(ls -A "$1")" ]; }
differs() { ! same_file "$1" "$2"; }
fails() { ! "$@"; }

echo "== signed"
package "$work/signed" KELVANE_SIGN_PFX="$work/sign.pfx" KELVANE_SIGN_PASSWORD=throwaway-password ||
  die "package.sh with a certificate: $(cat "$work/signed.log")"
msi="$work/signed/kelvane-1.0.0-x64.msi"
unzip -q "$work/signed/kelvane-1.0.0-x64-portable.zip" kelvane.exe -d "$work/zip" || die "unzip"
(cd "$work" && msiextract -C "$work/msi" "$msi" >/dev/null) || die "msiextract"
from_msi=$(find "$work/msi" -iname kelvane.exe | head -n 1)
check "it says the files are signed" grep -q "signed with sign.pfx" "$work/signed.log"
check "the installer's signature verifies" verifies "$msi"
check "the portable exe's signature verifies" verifies "$work/zip/kelvane.exe"
check "the exe inside the installer is the signed one" same_file "$from_msi" "$work/zip/kelvane.exe"
check "the exe differs from the unsigned build" differs "$work/zip/kelvane.exe" "$build/kelvane.exe"
check "one changed byte in the installer is refused" refused "$(tampered "$msi")"
check "one changed byte in the exe is refused" refused "$(tampered "$work/zip/kelvane.exe")"
check "without the certificate as the root it is refused" fails verifies_with /dev/null "$msi"

echo "== a wrong password"
check "fails" fails package "$work/wrong" KELVANE_SIGN_PFX="$work/sign.pfx" KELVANE_SIGN_PASSWORD=not-the-password
check "and says why" grep -q "signing kelvane.exe failed" "$work/wrong.log"
check "and leaves nothing in the output folder" empty_or_missing "$work/wrong"

echo "== a missing certificate"
check "fails" fails package "$work/missing" KELVANE_SIGN_PFX="$work/none.pfx" KELVANE_SIGN_PASSWORD=x
check "and says why" grep -q "none.pfx does not exist" "$work/missing.log"
check "and leaves nothing in the output folder" empty_or_missing "$work/missing"

echo "== without a certificate"
check "succeeds" package "$work/unsigned" KELVANE_SIGN_PFX= KELVANE_SIGN_PASSWORD=
check "and says the files are unsigned" grep -q "unsigned" "$work/unsigned.log"
check "and the installer carries no signature" refused "$work/unsigned/kelvane-1.0.0-x64.msi"
report
