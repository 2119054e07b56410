"""Inventories on a Dask cluster: shards of the stands run on the workers, merged as one run.

Each partition is one shard (``--shard K/N``) of the whole inventory, run through the keldovar
module on a worker; the shards' SQLite results come back and are merged by the batch runner's
own merge, so the results are those of one process: the same rows in the same order, the same
bytes of every number. A shard is a pure task: when a worker dies, Dask runs it again elsewhere.
"""

import hashlib
import os
import tempfile

import keldovar


def _file_input(path):
    """(path, bytes, table suffix) of an input to ship to the workers."""
    path = os.path.abspath(os.fspath(path))
    table = ""
    if not os.path.exists(path) and ":" in os.path.basename(path):
        path, table = path.rsplit(":", 1)
        table = ":" + table
    with open(path, "rb") as f:
        return path, f.read(), table


def _readable(shipped, folder):
    """The input's own path where the worker reads the same bytes there (the messages and the
    stands' own regime files then are the single run's), else a copy of it in ``folder``."""
    path, data, table = shipped
    try:
        with open(path, "rb") as f:
            if hashlib.sha256(f.read()).digest() == hashlib.sha256(data).digest():
                return path + table
    except OSError:
        pass
    copy = os.path.join(folder, os.path.basename(path))
    with open(copy, "wb") as f:
        f.write(data)
    return copy + table


def _subfolder(folder, name):
    path = os.path.join(folder, name)
    os.mkdir(path)
    return path


def run_shard(stands, plan, option, shard, shards, jobs):
    """One shard's SQLite results (bytes): the task each partition runs on a worker."""
    with tempfile.TemporaryDirectory(prefix="keldovar-shard-") as folder:
        stands_path, plan_path = (_readable(shipped, _subfolder(folder, name))
                                  for shipped, name in ((stands, "stands"), (plan, "plan")))
        out = os.path.join(folder, "shard.sqlite")
        args = ["inventory", stands_path, option, plan_path, "--out", out]
        args += ["--shard", f"{shard}/{shards}", "--jobs", str(jobs)]
        status, _, err = keldovar.cli(args)
        if status not in (0, 1) or not os.path.exists(out):
            raise keldovar.failure(status, err)
        with open(out, "rb") as f:
            return f.read()


def _worker_threads(client):
    return sum(w.get("nthreads", 1) for w in client.scheduler_info()["workers"].values()) or 1


def inventory(stands, client, regime=None, space=None, partitions=None, jobs=1, progress=True):
    """Every stand of an inventory run on the Dask cluster of ``client``, as keldovar.inventory.

    ``partitions`` shards (default: the cluster's threads) each run ``jobs`` threads on a worker;
    the results are merged in the inventory's order. The stands (a DataFrame as CSV) and the regime
    or space are sent to the workers, which read the files themselves where they hold the
    same bytes at the same paths (a shared file system): the stands' own regime files must be
    readable there. ``progress`` shows Dask's progress bar.
    """
    option, plan = keldovar.plan_args(regime, space)
    shards = partitions or _worker_threads(client)
    with tempfile.TemporaryDirectory(prefix="keldovar-") as folder:
        shipped_stands = _file_input(keldovar.stands_file(stands, folder))
        shipped_plan = _file_input(plan)
        futures = [
            client.submit(run_shard, shipped_stands, shipped_plan, option, k, shards, jobs,
                          pure=False, retries=1)
            for k in range(1, shards + 1)
        ]
        if progress:
            from distributed import progress as progress_bar

            progress_bar(futures)
        parts = []
        for k, data in enumerate(client.gather(futures), start=1):
            parts.append(os.path.join(folder, f"shard-{k}.sqlite"))
            with open(parts[-1], "wb") as f:
                f.write(data)
        out = os.path.join(folder, "result.sqlite")
        status, _, err = keldovar.cli(["inventory", "--merge", *parts, "--out", out])
        if status not in (0, 1) or not os.path.exists(out):
            raise keldovar.failure(status, err)
        # The failed stands' messages are in the stands' table: the shards' standard errors
        # stayed on the workers.
        return keldovar.results(out)

