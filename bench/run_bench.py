#!/usr/bin/env python3
"""Times grottoprint against the disk's own speed.

For each game size it measures, in the same folder type:
  (a) the whole program converting a generated game, answers piped in;
  (b) a baseline that writes the very same output bytes (the pictures and the
      page, read into memory first) to fresh files with plain writes.
It prints the medians, the ratio a/b, CPU time per cave, peak resident memory
and, where valgrind is present, instructions per cave.

usage: run_bench.py --tool BUILD/grottoprint [--caves 2 60 200] [--runs 7]
                    [--work DIR] [--no-callgrind] [--smoke]
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(HERE)
ANSWERS = b"game.bd\n1\nb\n\n"


def prepare(folder, caves):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name in os.listdir(os.path.join(SOURCE, "data")):
        shutil.copy(os.path.join(SOURCE, "data", name), folder)
    subprocess.run([sys.executable, os.path.join(HERE, "generate_game.py"), str(caves),
                    os.path.join(folder, "game.bd")], check=True)


def outputs(folder):
    return sorted(n for n in os.listdir(folder) if n.endswith((".bmp", ".html")))


def remove_outputs(folder):
    for name in outputs(folder):
        os.remove(os.path.join(folder, name))


def run_tool(tool, folder):
    """One conversion; returns (wall seconds, user+sys seconds, peak RSS in kB)."""
    remove_outputs(folder)
    start = time.perf_counter()
    child = subprocess.Popen([tool], cwd=folder, stdin=subprocess.PIPE,
                             stdout=subprocess.DEVNULL)
    child.stdin.write(ANSWERS)
    child.stdin.close()
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"grottoprint ended with status {child.returncode} in {folder}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def run_baseline(folder, contents):
    remove_outputs(folder)
    start = time.perf_counter()
    for name, data in contents.items():
        fd = os.open(os.path.join(folder, name), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        view = memoryview(data)
        while view:
            view = view[os.write(fd, view):]
        os.close(fd)
    return time.perf_counter() - start


def instructions(tool, folder):
    if shutil.which("valgrind") is None:
        return None
    remove_outputs(folder)
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                             tool], cwd=folder, input=ANSWERS, capture_output=True)
    found = re.search(rb"Collected : (\d+)", result.stderr)
    return int(found.group(1)) if found else None


def measure(tool, work, caves, runs, callgrind):
    folder = os.path.join(work, f"game{caves}")
    prepare(folder, caves)
    run_tool(tool, folder)  # warms the page cache and yields the outputs
    contents = {}
    for name in outputs(folder):
        with open(os.path.join(folder, name), "rb") as source:
            contents[name] = source.read()
    tool_runs = [run_tool(tool, folder) for _ in range(runs)]
    baseline = [run_baseline(folder, contents) for _ in range(runs)]
    a = statistics.median(r[0] for r in tool_runs)
    b = statistics.median(baseline)
    cpu = statistics.median(r[1] for r in tool_runs)
    peak = max(r[2] for r in tool_runs)
    count = instructions(tool, folder) if callgrind else None
    megabytes = sum(len(d) for d in contents.values()) / 1e6
    print(f"{caves:>4} caves  {megabytes:7.1f} MB  program {a * 1000:8.1f} ms  "
          f"baseline {b * 1000:8.1f} ms  ratio {a / b:5.2f}  "
          f"cpu/cave {cpu / caves * 1000:6.2f} ms  peak {peak / 1024:5.1f} MB"
          + (f"  instr/cave {count / caves / 1e6:6.2f} M" if count else ""))
    return a / b, peak


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--caves", type=int, nargs="+", default=[2, 60, 200])
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--work", default=os.path.join(SOURCE, "build", "bench"))
    parser.add_argument("--no-callgrind", action="store_true")
    parser.add_argument("--smoke", action="store_true", help="one quick run of a tiny game")
    args = parser.parse_args()
    tool = os.path.abspath(args.tool)
    if args.smoke:
        args.caves, args.runs, args.no_callgrind = [2], 1, True
    print(f"machine: {os.cpu_count()} cores, {os.uname().sysname} {os.uname().release}; "
          f"folder: {args.work}; median of {args.runs} runs")
    for caves in args.caves:
        measure(tool, args.work, caves, args.runs, not args.no_callgrind)


if __name__ == "__main__":
    main()
