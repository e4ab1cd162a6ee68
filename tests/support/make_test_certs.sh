#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Test authorities and server certificates for the TLS tests, made in $1:
#   ca.pem          the test authority (the tests trust it as the holder would)
#   server.key      the key of every server certificate below
#   good.pem        127.0.0.1, valid, from the test authority
#   other-host.pem  mail.example.org, valid, from the test authority
#   expired.pem     127.0.0.1, expired, from the test authority
#   unknown.pem     127.0.0.1, valid, from an authority nobody trusts
set -eu
cd "$1"
umask 022
key() { openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$1" 2>/dev/null; }
authority() {
    key "$1.key"
    openssl req -x509 -new -key "$1.key" -subj "/CN=$2" -days 30 -out "$1.pem" \
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
    mkdir -p "$1.db" && : > "$1.db/index.txt" && echo 01 > "$1.db/serial"
}
cat > ca.cnf <<'CNF'
[ca]
default_ca = test
[test]
dir = $ENV::DB
database = $dir/index.txt
new_certs_dir = $dir
serial = $dir/serial
default_md = sha256
policy = any
unique_subject = no
[any]
commonName = supplied
[server]
basicConstraints = CA:FALSE
extendedKeyUsage = serverAuth
subjectAltName = $ENV::SAN
CNF
# $1 authority, $2 output, $3 host, then openssl ca's date options
server() {
    ca=$1 out=$2 host=$3
    shift 3
    case $host in [0-9]*) san="IP:$host" ;; *) san="DNS:$host" ;; esac
    openssl req -new -key server.key -subj "/CN=$host" -out "$out.csr"
    DB="$ca.db" SAN="$san" openssl ca -batch -config ca.cnf -cert "$ca.pem" -keyfile "$ca.key" \
        -in "$out.csr" -out "$out" -extensions server -notext "$@" 2>/dev/null
}
authority ca "QuarnelTit test authority"
authority stranger "Unknown test authority"
key server.key
server ca good.pem 127.0.0.1 -days 30
server ca other-host.pem mail.example.org -days 30
server ca expired.pem 127.0.0.1 -startdate 20200101000000Z -enddate 20200201000000Z
server stranger unknown.pem 127.0.0.1 -days 30
chmod 644 ./*.pem ./*.key
