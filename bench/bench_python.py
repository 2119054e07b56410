"""The keldovar Python module's overhead: a stand through the module against keldovar-cli, and
an inventory on a Dask cluster against one process. A timing script, not a test: its figures
depend on the machine (bench/README.md).

    PYTHONPATH=build/python /usr/bin/python3 bench/bench_python.py build/cli/keldovar-cli
"""

import os
import pathlib
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "tests/python"))
import keldovar  # noqa: E402
import keldovar.dask  # noqa: E402
from inventory_maker import PRESCRIPTION, make_inventory  # noqa: E402

REGIME = ("plantation si=65 trees=600 survival=85 control=herbwoody\nfinancial interest=6\n"
          "grow 15\nthin thinomatic ba=55\ngrow 25\nharvest\n")
STANDS = 2000
SCRIPTS = 300


def processor_seconds():
    """This process's processor time with its finished children's: on a busy machine the wall
    time says more about the other programs."""
    t = os.times()
    return t.user + t.system + t.children_user + t.children_system


def best_of(times, call):
    """(wall, processor) seconds of the fastest of `times` runs of call(): the least disturbed."""
    best = (float("inf"), float("inf"))
    for _ in range(times):
        wall, processor = time.perf_counter(), processor_seconds()
        call()
        best = min(best, (time.perf_counter() - wall, processor_seconds() - processor))
    return best


def line(what, seconds, count, unit):
    wall, processor = seconds
    print(f"{what:52s} {wall * 1e6 / count:8.1f} µs wall {processor * 1e6 / count:8.1f} µs "
          f"processor a {unit}")


def scripts(cli, folder):
    paths = []
    for i in range(SCRIPTS):
        paths.append(os.path.join(folder, f"r{i}.kdr"))
        with open(paths[-1], "w") as f:
            f.write(REGIME)
    line("keldovar.run, the script's text", best_of(3, lambda: [keldovar.run(REGIME) for _ in paths]),
         SCRIPTS, "regime")
    line("keldovar.run, a file", best_of(3, lambda: [keldovar.run(p) for p in paths]), SCRIPTS, "regime")
    with ThreadPoolExecutor(2) as pool:
        line("keldovar.run on two Python threads",
             best_of(3, lambda: list(pool.map(keldovar.run, paths))), SCRIPTS, "regime")
    run_all = [cli, "run", *paths, "--format", "json", "--jobs", "1"]
    line("keldovar-cli run of them all, one process --jobs 1",
         best_of(3, lambda: subprocess.run(run_all, stdout=subprocess.DEVNULL)), SCRIPTS, "regime")
    few = paths[:50]
    line("keldovar-cli run, a process a regime",
         best_of(3, lambda: [subprocess.run([cli, "run", p, "--format", "json"],
                                            stdout=subprocess.DEVNULL) for p in few]),
         len(few), "regime")


def inventories(cli, folder):
    stands = os.path.join(folder, "stands.csv")
    regime = os.path.join(folder, "prescription.kdr")
    make_inventory(stands, STANDS)
    with open(regime, "w") as f:
        f.write(PRESCRIPTION)
    out = os.path.join(folder, "cli.sqlite")
    for jobs in (1, 2):
        command = [cli, "inventory", stands, "--regime", regime, "--out", out, "--jobs", str(jobs)]
        line(f"keldovar-cli inventory --jobs {jobs}",
             best_of(3, lambda: (os.path.exists(out) and os.remove(out), subprocess.run(
                 command, stderr=subprocess.DEVNULL))), STANDS, "stand")
        line(f"keldovar.inventory jobs={jobs} (DataFrames read back)",
             best_of(3, lambda: keldovar.inventory(stands, regime=regime, jobs=jobs)), STANDS, "stand")
    # The workers' processor time is their own processes': only the wall time counts here.
    from distributed import Client, LocalCluster

    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                      dashboard_address=None, silence_logs=40) as cluster, Client(cluster) as client:
        for partitions in (2, 8, 32):
            line(f"keldovar.dask.inventory, 2 workers, {partitions} partitions",
                 best_of(3, lambda: keldovar.dask.inventory(
                     stands, client, regime=regime, partitions=partitions, progress=False)),
                 STANDS, "stand")


if __name__ == "__main__":
    cli = sys.argv[1] if len(sys.argv) > 1 else "build/cli/keldovar-cli"
    with tempfile.TemporaryDirectory() as folder:
        scripts(cli, folder)
        inventories(cli, folder)
