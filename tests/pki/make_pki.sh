#!/usr/bin/env bash
# The tests' own certificate authority and the signed copies of a test installer.
#
#   tests/pki/make_pki.sh OUTDIR INSTALLER_EXE
#
# OUTDIR receives:
#   root.pem root.der root.key          the test root, the one to trust (only in a Wine prefix)
#   stranger-root.pem stranger-root.key a root nobody trusts
#   signer.pem signer.key               CN "Karvell Test Signing", issued by the root
#   signer.sha256                       SHA-256 thumbprint of signer.pem (hex, upper case)
#   other-signer.pem other-signer.key   CN "Karvell Other Signing", issued by the root
#   stranger-signer.pem .key            CN "Karvell Test Signing", issued by the stranger root
#   revoked-signer.pem .key             CN "Karvell Test Signing", issued by the root, revoked
#   root.crl                            the root's revocation list (DER) naming revoked-signer
#   root.crl.url                        where revoked-signer's certificate says that list is (never served)
#   localhost.pem localhost.key         TLS server, DNS:localhost, issued by the root
#   wrongname.pem wrongname.key         TLS server, DNS:wrong.invalid, issued by the root
#   signed-good.exe                     INSTALLER_EXE signed by signer
#   signed-other.exe                    signed by other-signer
#   signed-stranger.exe                 signed by stranger-signer
#   signed-revoked.exe                  signed by revoked-signer
#   signed-altered.exe                  signed-good.exe with one byte of its code changed
#   unsigned.exe                        INSTALLER_EXE as it is
#
# Idempotent: the authority is made once (so a prefix that trusts its root keeps
# trusting it); the installers are signed again when INSTALLER_EXE is newer.
# Certificates are valid from ten days ago for ten years.
set -euo pipefail

out="${1:?usage: make_pki.sh OUTDIR INSTALLER_EXE}"
exe="${2:?usage: make_pki.sh OUTDIR INSTALLER_EXE}"
[ -f "$exe" ] || { echo "make_pki: installer '$exe' not found" >&2; exit 1; }
mkdir -p "$out"
out="$(cd "$out" && pwd)"

# Two builds or test runs may ask at once.
exec 9>"$out/.lock"
flock 9

# Where the revoked signer's certificate says its revocation list is. Nothing
# serves it: the tests put the list into the system's URL cache, the way a
# machine that fetched it earlier knows it.
KV_CRL_URL="http://127.0.0.1/karvell-test-root.crl"
start="$(date -u -d '10 days ago' +%Y%m%d%H%M%SZ)"
end="$(date -u -d '10 years' +%Y%m%d%H%M%SZ)"

write_config() { # folder
  cat >"$1/ca.cnf" <<'EOF'
[ca]
default_ca = kv
[kv]
dir = .
database = $dir/index.txt
new_certs_dir = $dir/issued
serial = $dir/serial
crlnumber = $dir/crlnumber
default_crl_days = 3650
default_md = sha256
policy = anything
unique_subject = no
preserve = yes
copy_extensions = none
[anything]
organizationName = optional
commonName = supplied
[root]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[codesign]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
[revocable]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
crlDistributionPoints = URI:$ENV::KV_CRL_URL
[crl]
authorityKeyIdentifier = keyid
[server]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
subjectAltName = $ENV::KV_SAN
EOF
}

# issue WORK NAME SUBJECT EXTENSIONS ISSUER: key and certificate NAME.{key,pem};
# ISSUER "self" makes a root.
issue() {
  local work="$1" name="$2" subject="$3" ext="$4" issuer="$5"
  openssl genrsa -out "$work/$name.key" 2048 2>/dev/null
  openssl req -new -key "$work/$name.key" -subj "$subject" -out "$work/$name.csr"
  local ca_opts=(-selfsign -keyfile "$work/$name.key")
  [ "$issuer" = self ] || ca_opts=(-cert "$work/$issuer.pem" -keyfile "$work/$issuer.key")
  (cd "$work" && openssl ca -batch -notext -config ca.cnf -extensions "$ext" \
      -startdate "$start" -enddate "$end" "${ca_opts[@]}" \
      -in "$name.csr" -out "$name.pem" 2>/dev/null)
  rm -f "$work/$name.csr"
}

make_authority() {
  local work
  work="$(mktemp -d "$out/.work.XXXXXX")"
  write_config "$work"
  mkdir "$work/issued"
  : >"$work/index.txt"
  echo 1000 >"$work/serial"
  echo 1000 >"$work/crlnumber"
  export KV_SAN=DNS:unused KV_CRL_URL
  issue "$work" root "/O=Karvell Test/CN=Karvell Test Root" root self
  issue "$work" stranger-root "/O=Stranger/CN=Stranger Root" root self
  issue "$work" signer "/O=Karvell Test/CN=Karvell Test Signing" codesign root
  issue "$work" other-signer "/O=Karvell Test/CN=Karvell Other Signing" codesign root
  issue "$work" stranger-signer "/O=Stranger/CN=Karvell Test Signing" codesign stranger-root
  issue "$work" revoked-signer "/O=Karvell Test/CN=Karvell Test Signing" revocable root
  (cd "$work" && openssl ca -config ca.cnf -cert root.pem -keyfile root.key -revoke revoked-signer.pem 2>/dev/null \
      && openssl ca -config ca.cnf -cert root.pem -keyfile root.key -gencrl -crlexts crl -out root.crl.pem 2>/dev/null)
  openssl crl -in "$work/root.crl.pem" -outform DER -out "$work/root.crl"
  KV_SAN=DNS:localhost issue "$work" localhost "/O=Karvell Test/CN=localhost" server root
  KV_SAN=DNS:wrong.invalid issue "$work" wrongname "/O=Karvell Test/CN=wrong.invalid" server root
  openssl x509 -in "$work/root.pem" -outform DER -out "$work/root.der"
  openssl x509 -in "$work/signer.pem" -noout -fingerprint -sha256 \
    | sed 's/.*=//; s/://g' | tr a-f A-F >"$work/signer.sha256"
  local f
  for f in root stranger-root signer other-signer stranger-signer revoked-signer localhost wrongname; do
    mv "$work/$f.pem" "$work/$f.key" "$out/"
  done
  printf '%s' "$KV_CRL_URL" >"$work/root.crl.url"
  mv "$work/root.der" "$work/root.crl" "$work/root.crl.url" "$work/signer.sha256" "$out/"
  rm -rf "$work"
}

# sign SIGNER TARGET
sign() {
  osslsigncode sign -certs "$out/$1.pem" -key "$out/$1.key" -h sha256 \
    -n "Karvell Test Installer" -in "$out/unsigned.exe" -out "$out/$2.tmp" >/dev/null
  mv "$out/$2.tmp" "$out/$2"
}

# Flips one byte halfway into the unsigned image: past the headers, before the
# signature, inside what the signature's hash covers.
alter() {
  local at byte
  at=$(( $(stat -c %s "$out/unsigned.exe") / 2 ))
  byte=$(od -An -tu1 -j "$at" -N1 "$out/signed-good.exe" | tr -d ' ')
  cp "$out/signed-good.exe" "$out/signed-altered.tmp"
  printf "\\$(printf '%03o' $(( byte ^ 0xFF )))" \
    | dd of="$out/signed-altered.tmp" bs=1 seek="$at" conv=notrunc status=none
  mv "$out/signed-altered.tmp" "$out/signed-altered.exe"
}

rm -rf "$out"/.work.*
[ -f "$out/signer.sha256" ] && [ -f "$out/root.crl" ] || make_authority

if [ ! -f "$out/installers.stamp" ] || [ "$exe" -nt "$out/installers.stamp" ] \
   || [ "$out/signer.pem" -nt "$out/installers.stamp" ]; then
  rm -f "$out/installers.stamp"
  cp "$exe" "$out/unsigned.exe.tmp" && mv "$out/unsigned.exe.tmp" "$out/unsigned.exe"
  sign signer signed-good.exe
  sign other-signer signed-other.exe
  sign stranger-signer signed-stranger.exe
  sign revoked-signer signed-revoked.exe
  alter
  touch "$out/installers.stamp"
fi
