# SPDX-License-Identifier: GPL-3.0-or-later
"""SMTP server of the TLS tests: aiosmtpd delivering into a Maildir, with
STARTTLS or TLS from the start, and authentication required and checked
against one account (aiosmtpd's command line cannot set an authenticator).

  tls_smtpd.py --listen 127.0.0.1:PORT --maildir DIR --mode starttls|tls|clear
               [--cert PEM --key PEM] [--user U --password P] [--login-only]

Mode "clear" offers no STARTTLS at all. Stops on SIGTERM.
"""
import argparse
import asyncio
import signal
import ssl
import sys

from aiosmtpd.handlers import Mailbox
from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--listen", required=True)
    p.add_argument("--maildir", required=True)
    p.add_argument("--mode", choices=["starttls", "tls", "clear"], required=True)
    p.add_argument("--cert")
    p.add_argument("--key")
    p.add_argument("--user", default="")
    p.add_argument("--password", default="")
    p.add_argument("--login-only", action="store_true")
    a = p.parse_args()
    host, port = a.listen.rsplit(":", 1)

    context = None
    if a.mode != "clear":
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(a.cert, a.key)

    def authenticator(server, session, envelope, mechanism, data):
        ok = (isinstance(data, LoginPassword) and data.login == a.user.encode()
              and data.password == a.password.encode())
        print("AUTH", mechanism, "accepted" if ok else "refused", flush=True)
        return AuthResult(success=ok, handled=False)

    handler = Mailbox(a.maildir)

    def factory():
        return SMTP(handler,
                    hostname="test.example.org",
                    tls_context=context if a.mode == "starttls" else None,
                    require_starttls=a.mode == "starttls",
                    authenticator=authenticator if a.user else None,
                    auth_required=bool(a.user),
                    # Implicit TLS is not seen by aiosmtpd as TLS: AUTH must be allowed.
                    auth_require_tls=a.mode == "starttls",
                    auth_exclude_mechanism=["PLAIN"] if a.login_only else None)

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    server = loop.run_until_complete(
        loop.create_server(factory, host, int(port),
                           ssl=context if a.mode == "tls" else None))
    loop.add_signal_handler(signal.SIGTERM, loop.stop)
    print("listening", a.listen, a.mode, flush=True)
    try:
        loop.run_forever()
    finally:
        server.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
