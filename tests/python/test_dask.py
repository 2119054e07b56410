"""keldovar.dask on a real cluster over loopback: a scheduler and two worker processes give the
single process's results row for row, also when a worker is killed in the middle of the run."""

import concurrent.futures
import os
import signal
import time

import pandas
import pytest
from distributed import Client, LocalCluster

import keldovar
import keldovar.dask
from inventory_maker import PRESCRIPTION, make_inventory


@pytest.fixture(scope="module")
def client():
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                      dashboard_address=None) as cluster, Client(cluster) as c:
        yield c


@pytest.fixture(scope="module")
def forest(tmp_path_factory):
    folder = tmp_path_factory.mktemp("forest")
    make_inventory(folder / "stands.csv", 2000)
    (folder / "prescription.kdr").write_text(PRESCRIPTION)
    return folder / "stands.csv", folder / "prescription.kdr"


def assert_same(a, b, inputs=("sha256:inventory", "sha256:regime")):
    for name in ("stands", "tables", "forest", "cash_flows"):
        pandas.testing.assert_frame_equal(getattr(a, name), getattr(b, name), check_exact=True)
    for key in (*inputs, "plan", "stands", "failed"):
        assert a.manifest[key] == b.manifest[key], key


def test_partitions_on_workers_are_one_run(client, forest):
    stands, regime = forest
    single = keldovar.inventory(stands, regime=regime, jobs=1)
    assert len(single.stands) == 2000 and (single.stands.status == "failed").sum() == 200
    assert_same(keldovar.dask.inventory(stands, client, regime=regime, partitions=6,
                                        progress=False), single)

    def killed_midway():
        pids = client.run(os.getpid)
        while not any(client.processing().values()):
            time.sleep(0.01)
        busy = next(w for w, tasks in client.processing().items() if tasks)
        os.kill(pids[busy], signal.SIGKILL)
        return busy

    with concurrent.futures.ThreadPoolExecutor(1) as pool:
        killing = pool.submit(killed_midway)
        again = keldovar.dask.inventory(pandas.read_csv(stands), client, regime=regime,
                                        partitions=8, progress=False)
        killed = killing.result()
    assert killed not in client.scheduler_info()["workers"]
    assert_same(again, single, inputs=("sha256:regime",))  # a DataFrame: the CSV pandas wrote
