#!/usr/bin/env bash
# Signs an installer as a vendor would and checks that it stays whole:
#   signing-test.sh WORK_DIR CARTON_PACK CARTON_EXE PROBE_EXE RUNNER...
# RUNNER... starts a Windows program (the build's Wine session). A throw-away
# certificate is made with openssl, the installer is signed and verified with
# osslsigncode, carton-pack verifies and lists it, and it runs: the probe
# packed in it writes its report. One changed byte of the archive must then
# break the signature.
set -u
work=$1 pack=$2 carton=$3 probe=$4
shift 4
run=("$@")
fail() { echo "signing-test: $*" >&2; exit 1; }
for tool in openssl osslsigncode; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-packages.sh)"
done
rm -rf "$work" && mkdir -p "$work/source" || fail "can not make $work"
cp "$probe" "$work/source/carton_probe.exe" && echo "signed payload" >"$work/source/readme.txt"

"${run[@]}" "$pack" create --stub "$carton" --run carton_probe.exe -o "$work/unsigned.exe" --no-check \
    --version 1.0.0.0 --product "Signed Probe" "$work/source" >/dev/null || fail "create failed"
# Ready for signing: a true checksum (osslsigncode names a wrong one).
osslsigncode verify -in "$work/unsigned.exe" 2>&1 | grep -q 'invalid PE checksum' \
    && fail "create left a wrong PE checksum"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Carton Test Vendor" \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null || fail "openssl could not make a certificate"
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -n "Signed Probe" \
    -in "$work/unsigned.exe" -out "$work/signed.exe" >/dev/null || fail "osslsigncode sign failed"
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/signed.exe" >"$work/verify.txt" 2>&1 \
    || { cat "$work/verify.txt"; fail "the signature of the signed installer does not verify"; }

"${run[@]}" "$pack" verify "$work/signed.exe" || fail "carton-pack verify refused the signed installer"
"${run[@]}" "$pack" list "$work/signed.exe" | grep -q 'readme.txt' || fail "carton-pack list misses an entry"

report="$work/report.txt"
winreport=$("${run[@]}" winepath -w "$report" 2>/dev/null | tr -d '\r')
CARTON_PROBE_REPORT=$winreport "${run[@]}" "$work/signed.exe" || fail "the signed installer failed"
grep -q 'readme.txt' "$report" 2>/dev/null || fail "the signed installer did not run its program"

# One byte inside the archive (just before the certificate table, in the
# trailing offset's neighbourhood) changed: the signature must fail. The
# byte is inverted, so it changes whatever value this build left there.
cp "$work/signed.exe" "$work/tampered.exe"
size=$(stat -c %s "$work/unsigned.exe")
at=$((size - 64))
old=$(od -An -tu1 -j "$at" -N1 "$work/signed.exe" | tr -d ' ')
printf "\\$(printf '%03o' $((255 - old)))" | dd of="$work/tampered.exe" bs=1 seek="$at" conv=notrunc status=none
cmp -s "$work/signed.exe" "$work/tampered.exe" && fail "the byte was not changed"
if osslsigncode verify -CAfile "$work/cert.pem" -in "$work/tampered.exe" >/dev/null 2>&1; then
    fail "a changed archive byte still verifies: the archive is not covered by the signature"
fi
# A vendor may sign Carton.exe itself: packing drops the stub's signature,
# so the installer is unsigned until it is signed as a whole.
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -in "$carton" \
    -out "$work/signed-stub.exe" >/dev/null || fail "could not sign the launcher"
"${run[@]}" "$pack" create --stub "$work/signed-stub.exe" --run carton_probe.exe \
    -o "$work/from-signed-stub.exe" --no-check "$work/source" >/dev/null || fail "create from a signed launcher failed"
osslsigncode extract-signature -in "$work/from-signed-stub.exe" -out "$work/none.sig" >/dev/null 2>&1 \
    && fail "an installer made from a signed launcher carries the launcher's signature"
"${run[@]}" "$pack" verify "$work/from-signed-stub.exe" >/dev/null || fail "installer from a signed launcher is damaged"
echo "signing-test: signed, verified, ran; a changed archive byte breaks the signature"
