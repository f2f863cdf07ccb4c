"""Checks the mail encoders against Python's own codecs.

Reads {"cases": [{"bytes": hex, "base64": ..., "qp": ..., "text": ..., "word": ...}]}
from standard input, where base64 and qp are our encodings of the bytes and word
is our encoded-word form of text. Writes {"failures": [...], "python": [...]},
the latter holding Python's base64 and quoted-printable of each case's bytes
(and what Python reads back from the latter), for our decoders to read.
"""
import base64
import json
import quopri
import sys
from email.header import decode_header, make_header


def check(case):
    data = bytes.fromhex(case["bytes"])
    problems = []
    ours_b64 = case["base64"].encode("ascii")
    if base64.b64decode(ours_b64) != data:
        problems.append("base64 decodes differently")
    if any(len(line) > 76 for line in ours_b64.split(b"\r\n")):
        problems.append("base64 line longer than 76")
    ours_qp = case["qp"].encode("ascii")
    expected = data if not data or data.endswith(b"\r\n") else data + b"\r\n"
    if quopri.decodestring(ours_qp) != expected:
        problems.append("quoted-printable decodes differently")
    if any(len(line) > 76 for line in ours_qp.split(b"\r\n")):
        problems.append("quoted-printable line longer than 76")
    if str(make_header(decode_header(case["word"]))) != case["text"]:
        problems.append("encoded word decodes differently")
    if any(len(word) > 75 for word in case["word"].split(" ") if word.startswith("=?")):
        problems.append("encoded word longer than 75")
    return problems


def main():
    cases = json.load(sys.stdin)["cases"]
    failures = []
    python = []
    for index, case in enumerate(cases):
        problems = check(case)
        if problems:
            failures.append({"case": index, "problems": problems, "input": case})
        data = bytes.fromhex(case["bytes"])
        # Python's quoted-printable turns CR LF into LF, so our decoder is
        # held to what Python's own decoder reads from it.
        theirs_qp = quopri.encodestring(data)
        python.append({"base64": base64.encodebytes(data).decode("ascii"),
                       "qp": theirs_qp.decode("ascii"),
                       "qp_decoded": quopri.decodestring(theirs_qp).hex()})
    json.dump({"failures": failures, "python": python}, sys.stdout)


if __name__ == "__main__":
    main()
