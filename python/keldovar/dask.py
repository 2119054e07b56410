"""Inventories on a Dask cluster: shards of the stands run on the workers, merged as one run.

Each partition is one shard (``--shard K/N``) of the whole inventory, run through the keldovar
module on a worker; the shards' SQLite results come back and are merged by the batch runner's
own merge, so the results are those of one process: the same rows in the same order, the same
bytes of every number. A shard is a pure task: when a worker dies, Dask runs it again elsewhere.
"""

import os
import tempfile

import keldovar


def _file_input(path):
    """(file name, bytes, table suffix) of an input to ship to the workers."""
    path = os.fspath(path)
    table = ""
    if not os.path.exists(path) and ":" in path:
        path, table = path.rsplit(":", 1)
        table = ":" + table
    with open(path, "rb") as f:
        return os.path.basename(path), f.read(), table


def _write(folder, shipped):
    name, data, table = shipped
    path = os.path.join(folder, name)
    with open(path, "wb") as f:
        f.write(data)
    return path + table


def run_shard(stands, plan, option, shard, shards, jobs):
    """One shard's SQLite results (bytes): the task each partition runs on a worker."""
    with tempfile.TemporaryDirectory(prefix="keldovar-shard-") as folder:
        inputs = os.path.join(folder, "in")
        os.mkdir(inputs)
        out = os.path.join(folder, "shard.sqlite")
        args = ["inventory", _write(inputs, stands), option, _write(inputs, plan), "--out", out]
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
    the results are merged in the inventory's order. A DataFrame's or path's stands are sent
    to the workers with the regime or space; stands' own regime files must be readable by the
    workers at their absolute paths. ``progress`` shows Dask's progress bar.
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

