#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The configuration of the test POP3 server (Dovecot, with a configuration
of its own: no conf.d), for the C++ tests (tests/support/mail_servers.cpp
runs this file) and the end-to-end driver and the demo (tests/e2e/run
imports it).

    dovecot_conf.py DIR --port N --mail-location LOCATION
                    --user NAME --password SECRET [--user ... --password ...]
                    [--tls starttls|tls|clear --cert FILE --key FILE]

writes DIR/dovecot.conf and DIR/passwd; the server keeps its run and state
folders, its home and its log (dovecot.log) in DIR. DIR and every folder
down to it must be open to the user `dovecot` (its auth process reads the
passwd file)."""

import argparse
import os
import sys

MAIL_USER = 65534


def write(folder, port, mail_location, accounts, tls=None, cert=None, key=None):
    """`accounts`: {user: password}. `tls`: None or "clear" (no TLS offered),
    "starttls" (STLS on the pop3 listener) or "tls" (pop3s only), with the
    server's certificate and key files."""
    folder = str(folder)
    root = os.geteuid() == 0
    uid, gid = (MAIL_USER, MAIL_USER) if root else (os.geteuid(), os.getegid())
    for sub in ("run", "state", "home"):
        path = os.path.join(folder, sub)
        os.makedirs(path, exist_ok=True)
        os.chmod(path, 0o755)
    if root:
        os.chown(os.path.join(folder, "home"), uid, gid)
    passwd = os.path.join(folder, "passwd")
    with open(passwd, "w") as f:
        for user, password in accounts.items():
            f.write("%s:{PLAIN}%s\n" % (user, password))
    os.chmod(passwd, 0o644)
    implicit = tls == "tls"
    conf = [
        "protocols = pop3",
        "listen = 127.0.0.1",
        "base_dir = " + os.path.join(folder, "run"),
        "state_dir = " + os.path.join(folder, "state"),
        "log_path = " + os.path.join(folder, "dovecot.log"),
        "auth_mechanisms = plain login",
        "mail_location = " + mail_location,
        "pop3_uidl_format = %08Xu%08Xv",
    ]
    if tls and tls != "clear":
        conf += ["ssl = required", "disable_plaintext_auth = yes",
                 "ssl_cert = <" + cert, "ssl_key = <" + key]
    else:
        conf += ["ssl = no", "disable_plaintext_auth = no"]
    conf += [
        "service pop3-login {\n  inet_listener pop3 {\n    address = 127.0.0.1\n"
        "    port = %d\n  }\n  inet_listener pop3s {\n    address = 127.0.0.1\n"
        "    port = %d\n  }\n}" % (0 if implicit else port, port if implicit else 0),
        "service imap-login {\n  inet_listener imap {\n    port = 0\n  }\n"
        "  inet_listener imaps {\n    port = 0\n  }\n}",
        "passdb {\n  driver = passwd-file\n  args = %s\n}" % passwd,
        "userdb {\n  driver = static\n  args = uid=%d gid=%d home=%s\n}" % (
            uid, gid, os.path.join(folder, "home")),
    ]
    if not root:
        # Everything as the user running the tests, without chroots.
        import grp
        import pwd
        user = pwd.getpwuid(uid).pw_name
        group = grp.getgrgid(gid).gr_name
        conf += ["default_internal_user = " + user, "default_internal_group = " + group,
                 "default_login_user = " + user, "service anvil {\n  chroot =\n}",
                 "service pop3-login {\n  chroot =\n}", "service imap-login {\n  chroot =\n}"]
    path = os.path.join(folder, "dovecot.conf")
    with open(path, "w") as f:
        f.write("\n".join(conf) + "\n")
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("dir")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--mail-location", required=True)
    parser.add_argument("--user", action="append", required=True)
    parser.add_argument("--password", action="append", required=True)
    parser.add_argument("--tls", choices=("clear", "starttls", "tls"))
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()
    if len(args.user) != len(args.password):
        parser.error("one --password for each --user")
    if args.tls in ("starttls", "tls") and not (args.cert and args.key):
        parser.error("--tls %s needs --cert and --key" % args.tls)
    write(args.dir, args.port, args.mail_location, dict(zip(args.user, args.password)),
          args.tls, args.cert, args.key)
    return 0


if __name__ == "__main__":
    sys.exit(main())
