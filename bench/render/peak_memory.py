#!/usr/bin/env python3
"""Runs a command and prints its wall time and the peak of the summed
proportional set size (PSS) of the command and every process below it, read
from /proc every 50 ms; PSS splits shared pages between the processes that
map them, so a browser's many processes are not counted many times over.
   peak_memory.py OUT_FILE CMD...   (prints "WALL_S PEAK_MIB" to OUT_FILE)"""
import os
import subprocess
import sys
import time


def children_map():
    kids = {}
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % pid) as f:
                ppid = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        kids.setdefault(ppid, []).append(int(pid))
    return kids


def tree_pss_kib(root):
    kids = children_map()
    total, todo = 0, [root]
    while todo:
        pid = todo.pop()
        todo.extend(kids.get(pid, []))
        try:
            with open("/proc/%d/smaps_rollup" % pid) as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
                        break
        except OSError:
            pass
    return total


def main():
    out, cmd = sys.argv[1], sys.argv[2:]
    start = time.monotonic()
    proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    peak = 0
    while proc.poll() is None:
        peak = max(peak, tree_pss_kib(proc.pid))
        time.sleep(0.05)
    wall = time.monotonic() - start
    with open(out, "w") as f:
        f.write("%.2f %.1f\n" % (wall, peak / 1024.0))


if __name__ == "__main__":
    main()
