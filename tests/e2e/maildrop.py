# SPDX-License-Identifier: GPL-3.0-or-later
"""An aiosmtpd handler for the end-to-end road: each recipient's mail goes
into ROOT/<local part>/Maildir, the mailbox Dovecot serves to that user.
Recipients of another local part than the known mailboxes are refused, so
that a wrong address shows as a refusal rather than as lost mail."""

import os
import time
from pathlib import Path

# A message larger than this is refused (the road's largest is a few MiB).
MAX_MESSAGE_BYTES = 64 * 1024 * 1024


class Deliver:
    def __init__(self, root, users="titulaire,second"):
        self.root = Path(root)
        self.users = set(users.split(","))
        self.count = 0

    @classmethod
    def from_cli(cls, parser, *args):
        if not 1 <= len(args) <= 2:
            parser.error("maildrop.Deliver takes ROOT [USER,USER...]")
        return cls(*args)

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.split("@")[0] not in self.users:
            return "550 no such mailbox here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        data = envelope.original_content or envelope.content
        if isinstance(data, str):
            data = data.encode("utf-8", "surrogateescape")
        if len(data) > MAX_MESSAGE_BYTES:
            return "552 message too large"
        for rcpt in envelope.rcpt_tos:
            box = self.root / rcpt.split("@")[0] / "Maildir"
            for sub in ("tmp", "new", "cur"):
                (box / sub).mkdir(parents=True, exist_ok=True)
            self.count += 1
            name = "%d.%d_%d.e2e" % (time.time(), os.getpid(), self.count)
            tmp = box / "tmp" / name
            tmp.write_bytes(data)
            os.rename(tmp, box / "new" / name)
        return "250 Message accepted for delivery"
