#!/usr/bin/env python3
"""Runs a console program as someone at a terminal would: in a pseudo-terminal,
typing each answer once the program waits for it (its prompt ">> " or
"Press ENTER to exit." is the last thing shown).

    console_run.py [--input-only] FOLDER TRANSCRIPT ANSWER... -- COMMAND...

Runs COMMAND in FOLDER and writes what the terminal showed to TRANSCRIPT as
plain text (cursor moves that stand for blanks become blanks, other control
sequences and carriage returns are dropped). With --input-only, only standard
input is the terminal and TRANSCRIPT holds the bytes the program wrote to its
standard output, unchanged. Ends with the program's exit status, or 124 when it
has not ended within two minutes.
"""
import os
import pty
import re
import select
import subprocess
import sys
import time
import tty


def shown(raw):
    """The text a terminal shows for the bytes written to it."""
    text = raw.decode("utf-8", "replace")
    text = re.sub(r"\x1b\[(\d*)C", lambda m: " " * int(m.group(1) or 1), text)
    text = re.sub(r"\x1b\][^\x07]*\x07", "", text)
    text = re.sub(r"\x1b\[[0-9;?]*[A-Za-z]", "", text)
    return text.replace("\r", "")


def main():
    args = sys.argv[1:]
    input_only = args[0] == "--input-only"
    if input_only:
        args = args[1:]
    split = args.index("--")
    folder, transcript, answers, command = args[0], args[1], args[2:split], args[split + 1:]

    terminal, other_end = pty.openpty()
    # Keys reach the program as typed (ENTER as a carriage return) even before
    # its console has set the terminal's modes.
    tty.setraw(other_end)
    if input_only:
        process = subprocess.Popen(command, cwd=folder, stdin=other_end, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT)
        source = process.stdout.fileno()
    else:
        process = subprocess.Popen(command, cwd=folder, stdin=other_end, stdout=other_end,
                                   stderr=other_end)
        source = terminal
    os.close(other_end)

    raw = b""
    answered_at = 0  # how much of the output had been seen at the last answer
    deadline = time.monotonic() + 120
    while time.monotonic() < deadline:
        ready, _, _ = select.select([source], [], [], 0.1)
        if not ready and process.poll() is not None:
            break  # ended, and all it wrote has been read
        if ready:
            try:
                data = os.read(source, 65536)
            except OSError:  # the terminal closes with the program
                data = b""
            if not data:
                break
            raw += data
        new = shown(raw[answered_at:])
        if answers and (new.rstrip(" ").endswith(">>") or "Press ENTER to exit." in new):
            os.write(terminal, answers.pop(0).encode() + b"\r")
            answered_at = len(raw)
    try:
        status = process.wait(timeout=max(1, deadline - time.monotonic()))
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        status = 124
    with open(transcript, "wb") as out:
        out.write(raw if input_only else shown(raw).encode())
    sys.exit(status)


if __name__ == "__main__":
    main()
