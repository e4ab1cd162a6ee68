#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""An independent reading of one mail (on standard input) with Python's
email package and policy.default, printed as JSON: every defect found in the
message, its parts and its header fields, the decoded header texts, and each
part's type, file name, text (text parts) or SHA-256 (other parts)."""

import hashlib
import json
import sys
from email import policy
from email.parser import BytesParser


def main():
    msg = BytesParser(policy=policy.default).parse(sys.stdin.buffer)
    defects = []
    parts = []
    for part in msg.walk():
        defects += [type(d).__name__ for d in part.defects]
        for name, value in part.items():
            defects += [name + ": " + type(d).__name__ for d in getattr(value, "defects", ())]
        if part.is_multipart():
            continue
        entry = {"type": part.get_content_type(), "filename": part.get_filename()}
        content = part.get_content()
        if isinstance(content, str):
            entry["text"] = content
        else:
            entry["sha256"] = hashlib.sha256(content).hexdigest()
        parts.append(entry)
    sender = msg["From"].addresses[0] if msg["From"] else None
    print(json.dumps({
        "defects": defects,
        "subject": str(msg["Subject"]),
        "from_name": sender.display_name if sender else None,
        "from_address": sender.addr_spec if sender else None,
        "to": [a.addr_spec for a in msg["To"].addresses] if msg["To"] else [],
        "message_id": str(msg["Message-ID"]) if msg["Message-ID"] else None,
        "x_mailer": str(msg["X-Mailer"]) if msg["X-Mailer"] else None,
        "date": str(msg["Date"]) if msg["Date"] else None,
        "preamble": msg.preamble,
        "parts": parts,
    }))


main()
