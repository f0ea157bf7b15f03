#!/usr/bin/env python3
"""Runs a benchmark program and prints each operation's time beside its floor (the benchmark of the
same name with a _Bare, _Floor or _Bare suffix) and their ratio.

    bench/ratios.py build/bench/bench_data
"""
import json
import subprocess
import sys

SUFFIXES = ("_Bare", "_Floor")


def main():
    out = subprocess.run([sys.argv[1], "--benchmark_format=json", *sys.argv[2:]],
                         check=True, capture_output=True, text=True).stdout
    # "Name/iterations:10/manual_time" is reported as "Name".
    results = {b["name"].split("/")[0]: b for b in json.loads(out)["benchmarks"]}
    print(f"{'operation':34} {'time':>12} {'floor':>12} {'ratio':>7}")
    for name, b in results.items():
        if name.endswith(SUFFIXES):
            continue
        floor = next((results[name + s] for s in SUFFIXES if name + s in results), None)
        t = b["real_time"]
        unit = b["time_unit"]
        if b.get("error_occurred"):
            print(f"{name:34} {'failed:':>12} {b.get('error_message', '')}")
        elif floor and floor.get("error_occurred"):
            print(f"{name:34} {t:10.1f}{unit} {'failed:':>12} {floor.get('error_message', '')}")
        elif floor:
            print(f"{name:34} {t:10.1f}{unit} {floor['real_time']:10.1f}{unit} {t / floor['real_time']:7.2f}")
        else:
            print(f"{name:34} {t:10.1f}{unit}")


if __name__ == "__main__":
    main()
