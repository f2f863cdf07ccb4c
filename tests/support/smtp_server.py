"""SMTP server for the mail tests, on 127.0.0.1 and a free port.

Usage: smtp_server.py OUTPUT_FOLDER
Prints "PORT <n>" once it accepts connections and runs until its standard input
closes. Each received message becomes OUTPUT_FOLDER/<n>.json with the envelope,
the raw data and what Python's email package reads from it.
AUTH LOGIN accepts the user "user" with the password "secret". Recipients that
begin with "refuse" are refused with 550; a message for a recipient that begins
with "reject" is refused after DATA with 554; one for a recipient that begins
with "slow" is accepted only 2 s after its data ended.
"""
import asyncio
import json
import os
import socket
import sys
from email import policy
from email.parser import BytesParser

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword)
          and auth_data.login == b"user" and auth_data.password == b"secret")
    return AuthResult(success=ok, handled=False)


def describe(raw):
    message = BytesParser(policy=policy.default).parsebytes(raw)
    defects = [type(d).__name__ for d in message.defects]
    for name, value in message.items():
        defects += [f"{name}: {type(d).__name__}" for d in getattr(value, "defects", [])]
    texts = []
    for part in message.walk():
        if part.get_content_maintype() == "text":
            defects += [type(d).__name__ for d in part.defects]
            texts.append({"type": part.get_content_type(),
                          "charset": part.get_content_charset(),
                          "text": part.get_content().replace("\r\n", "\n")})
    return {
        "subject": str(message.get("subject", "")),
        "from": [[a.display_name, a.addr_spec] for a in message["from"].addresses] if message["from"] else [],
        "to": [[a.display_name, a.addr_spec] for a in message["to"].addresses] if message["to"] else [],
        "has_bcc": "bcc" in message,
        "message_id": str(message.get("message-id", "")),
        "date": message["date"].datetime.isoformat() if message["date"] and message["date"].datetime else "",
        "texts": texts,
        "defects": defects,
    }


class Handler:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("refuse"):
            return "550 5.1.1 Mailbox unavailable"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if any(address.startswith("reject") for address in envelope.rcpt_tos):
            return "554 5.6.0 Message rejected"
        if any(address.startswith("slow") for address in envelope.rcpt_tos):
            await asyncio.sleep(2)
        raw = envelope.original_content
        record = {"mail_from": envelope.mail_from, "rcpt_tos": envelope.rcpt_tos,
                  "raw": raw.decode("latin-1")}
        record.update(describe(raw))
        self.count += 1
        path = os.path.join(self.folder, f"{self.count}.json")
        with open(path + ".tmp", "w", encoding="utf-8") as out:
            json.dump(record, out, ensure_ascii=False)
        os.replace(path + ".tmp", path)
        return "250 OK"


def main():
    port = free_port()
    controller = Controller(Handler(sys.argv[1]), hostname="127.0.0.1", port=port,
                            authenticator=authenticate, auth_require_tls=False,
                            decode_data=False)
    controller.start()
    print(f"PORT {port}", flush=True)
    sys.stdin.read()
    controller.stop()


if __name__ == "__main__":
    main()
