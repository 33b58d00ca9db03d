#!/usr/bin/env python3
"""Start-up time of the game against a bare SDL2 window, measured side by side.

Runs under one X display (start it with xvfb-run): each round launches
`startup_probe bare` and `startup_probe game` from the given bin folder and
times each from launch until it reports its first presented frame. Prints the
median of each and their ratio.

    xvfb-run -a python3 bench/startup.py build/release/bin [rounds]
"""
import statistics
import subprocess
import sys
import time


def first_frame_ms(probe, mode):
    started = time.perf_counter()
    child = subprocess.Popen([probe, mode], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = child.stdout.readline()
    elapsed = (time.perf_counter() - started) * 1000
    child.wait()
    if line.strip() != "first frame":
        sys.exit(f"startup_probe {mode} did not draw a frame")
    return elapsed


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    probe = sys.argv[1].rstrip("/") + "/startup_probe"
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    times = {"bare": [], "game": []}
    # The first launch of each warms the disk cache; it is not counted.
    first_frame_ms(probe, "bare")
    first_frame_ms(probe, "game")
    for _ in range(rounds):
        for mode in times:
            times[mode].append(first_frame_ms(probe, mode))
    bare = statistics.median(times["bare"])
    game = statistics.median(times["game"])
    print(f"bare SDL2 window: {bare:.0f} ms to its first frame (median of {rounds})")
    print(f"game title:       {game:.0f} ms to its first frame (median of {rounds})")
    print(f"ratio:            {game / bare:.2f}")


if __name__ == "__main__":
    main()
