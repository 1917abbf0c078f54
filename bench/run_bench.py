#!/usr/bin/env python3
"""Times grottoprint against a copy of its own output.

For each game size it measures, in the same folder:
  (a) the whole program converting a generated game, answers piped in, over
      the files of the run before, as (c) and (s) write over them;
  (c) the copying baseline: a separate process (copy_outputs, built beside the
      tool) that reads the finished pictures and page from files and writes
      them to fresh files, launched the same way; like the program it pays a
      process start and a memory copy;
  (s) the safe copying baseline: the same process with --safe, which writes
      each file as the program replaces one, under a temporary name renamed
      over the old file once closed;
  (b) the in-memory baseline: this script writes the same bytes, held in its
      memory, to fresh files with plain writes: no process start at all.
The headlines are the ratios a/c, whose target is 1.25 at most, and a/s,
whose target is 1.15 at most. It also prints a/b,
the program's CPU time per cave beyond (b)'s (the CPU time the writing itself
costs), the peak resident memory and, where valgrind is present, instructions
per cave. The runs of (a), (c) and (b) alternate so that a change in the
machine's load hits all alike. A first line gives the start-up floor: the same
launch of a program that only copies its input, which no conversion can beat.

The peak memory is the program's own high-water mark, read from
/proc/PID/status while it waits for the final ENTER. The figure that wait4
reports would not do: the kernel keeps the high-water mark of the forked
benchmark process, whose memory holds the baseline's bytes.

usage: run_bench.py --tool BUILD/grottoprint [--copier BUILD/bench/grottoprint_copy_outputs]
                    [--caves 2 60 200] [--runs 7] [--work DIR] [--no-callgrind] [--smoke]
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
EXIT_PROMPT = b"Press ENTER to exit."
PICTURE_BYTES = 54 + 648 * 360 * 3
FINISHED = "finished"  # the sub-folder that holds the outputs the copier reads
TARGET_RATIO = 1.25
SAFE_TARGET_RATIO = 1.15


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


def launch(command, folder, answers):
    """One run with the answers piped in; returns (wall seconds, user+sys seconds)."""
    start = time.perf_counter()
    child = subprocess.Popen(command, cwd=folder, stdin=subprocess.PIPE,
                             stdout=subprocess.DEVNULL)
    child.stdin.write(answers)
    child.stdin.close()
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.exit(f"{command[0]} ended with status {code} in {folder}")
    return wall, usage.ru_utime + usage.ru_stime


def run_tool(tool, folder):
    """Over the outputs of the run before, as a user converts a game again."""
    return launch([tool], folder, ANSWERS)


def run_copy(copier, folder, safe=False):
    """The copying baseline: the finished files written over the old ones, in its
    own process; safe: each under a temporary name renamed over the old file."""
    return launch([copier] + (["--safe"] if safe else []) + [FINISHED], folder, ANSWERS)


def cpu_seconds():
    times = os.times()
    return times.user + times.system


def run_baseline(folder, contents):
    """Plain writes of the same bytes; returns (wall seconds, user+sys seconds)."""
    remove_outputs(folder)
    start, cpu = time.perf_counter(), cpu_seconds()
    for name, data in contents.items():
        fd = os.open(os.path.join(folder, name), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        view = memoryview(data)
        while view:
            view = view[os.write(fd, view):]
        os.close(fd)
    return time.perf_counter() - start, cpu_seconds() - cpu


def peak_kilobytes(tool, folder):
    """The program's resident high-water mark, read while it waits for ENTER."""
    remove_outputs(folder)
    child = subprocess.Popen([tool], cwd=folder, stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    child.stdin.write(ANSWERS[:-1])  # all but the final ENTER
    child.stdin.flush()
    output = b""
    while EXIT_PROMPT not in output:
        chunk = child.stdout.read1(65536)
        if not chunk:
            break
        output += chunk
    peak = None
    try:
        with open(f"/proc/{child.pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    peak = int(line.split()[1])
    except OSError:
        pass
    child.communicate(b"\n")
    if child.returncode != 0:
        sys.exit(f"grottoprint ended with status {child.returncode} in {folder}")
    return peak


def instructions(tool, folder):
    if shutil.which("valgrind") is None:
        return None
    remove_outputs(folder)
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                             tool], cwd=folder, input=ANSWERS, capture_output=True)
    found = re.search(rb"Collected : (\d+)", result.stderr)
    return int(found.group(1)) if found and result.returncode == 0 else None


def check_outputs(folder, caves):
    """A conversion that dropped a cave or a page would time less than the whole job."""
    names = outputs(folder)
    pictures = [n for n in names if n.endswith(".bmp")]
    sizes = {os.path.getsize(os.path.join(folder, n)) for n in pictures}
    if len(pictures) != caves or sizes != {PICTURE_BYTES} or len(names) != caves + 1:
        sys.exit(f"expected {caves} pictures of {PICTURE_BYTES} bytes and one page in {folder}, "
                 f"found {len(pictures)} pictures of sizes {sorted(sizes)} among {len(names)} files")


def measure(tool, copier, work, caves, runs, callgrind):
    folder = os.path.join(work, f"game{caves}")
    prepare(folder, caves)
    run_tool(tool, folder)  # warms the page cache and yields the outputs
    check_outputs(folder, caves)
    finished = os.path.join(folder, FINISHED)
    os.makedirs(finished)
    contents = {}
    for name in outputs(folder):
        with open(os.path.join(folder, name), "rb") as source:
            contents[name] = source.read()
        shutil.copy(os.path.join(folder, name), finished)
    run_copy(copier, folder)
    check_outputs(folder, caves)
    tool_runs, copies, safe_copies, baseline = [], [], [], []
    for _ in range(runs):
        tool_runs.append(run_tool(tool, folder))
        copies.append(run_copy(copier, folder))
        safe_copies.append(run_copy(copier, folder, safe=True))
        baseline.append(run_baseline(folder, contents))
    a = statistics.median(r[0] for r in tool_runs)
    c = statistics.median(r[0] for r in copies)
    s = statistics.median(r[0] for r in safe_copies)
    b = statistics.median(r[0] for r in baseline)
    cpu = statistics.median(r[1] for r in tool_runs) - statistics.median(r[1] for r in baseline)
    peak = peak_kilobytes(tool, folder)
    count = instructions(tool, folder) if callgrind else None
    megabytes = sum(len(d) for d in contents.values()) / 1e6
    print(f"{caves:>4} caves  {megabytes:6.1f} MB  program {a * 1000:7.1f} ms  "
          f"copy {c * 1000:7.1f} ms  ratio {a / c:5.2f}"
          f"{'' if a / c <= TARGET_RATIO else ' (above target)'}  "
          f"safe copy {s * 1000:7.1f} ms  ratio {a / s:5.2f}"
          f"{'' if a / s <= SAFE_TARGET_RATIO else ' (above target)'}  "
          f"in-memory {b * 1000:7.1f} ms  ratio {a / b:5.2f}  "
          f"cpu/cave beyond writing {cpu / caves * 1000:5.2f} ms  "
          + (f"peak {peak / 1024:4.1f} MB" if peak else "peak unknown")
          + (f"  instr/cave {count / caves / 1e6:5.2f} M" if count else ""))
    return a / c, peak


def start_up_floor(work, runs):
    """The launch of a program that only copies its input, as the runs above."""
    cat = shutil.which("cat")
    if cat is None:
        return
    walls = [launch([cat], work, ANSWERS)[0] for _ in range(runs)]
    print(f"start-up floor (cat, answers piped in): {statistics.median(walls) * 1000:.1f} ms")


def cpu_model():
    try:
        with open("/proc/cpuinfo") as info:
            for line in info:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return os.uname().machine


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--copier", help="the copying baseline (default: bench/ beside the tool)")
    parser.add_argument("--caves", type=int, nargs="+", default=[2, 60, 200])
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--work", default=os.path.join(SOURCE, "build", "bench"))
    parser.add_argument("--no-callgrind", action="store_true")
    parser.add_argument("--smoke", action="store_true", help="one quick run of a tiny game")
    args = parser.parse_args()
    tool = os.path.abspath(args.tool)
    copier = os.path.abspath(args.copier or os.path.join(
        os.path.dirname(tool), "bench", "grottoprint_copy_outputs"))
    if not os.access(copier, os.X_OK):
        sys.exit(f"no copying baseline at {copier}: build the target grottoprint_copy_outputs "
                 "or name it with --copier")
    if args.smoke:
        args.caves, args.runs, args.no_callgrind = [2], 1, True
    print(f"machine: {cpu_model()}, {os.cpu_count()} cores, "
          f"{os.uname().sysname} {os.uname().release}; "
          f"folder: {args.work}; median of {args.runs} runs; "
          f"targets: program within {TARGET_RATIO} times the copy, "
          f"{SAFE_TARGET_RATIO} times the safe copy")
    os.makedirs(args.work, exist_ok=True)
    start_up_floor(args.work, args.runs)
    for caves in args.caves:
        measure(tool, copier, args.work, caves, args.runs, not args.no_callgrind)


if __name__ == "__main__":
    main()
