"""examples/slurm/inventory.sbatch without the scheduler (its array tasks run with Slurm's
variables set, its merge job as submitted) and, where one can be started, on a single-node
Slurm: the merged results are one process's."""

import os
import shlex
import subprocess
import sys

import pandas
import pytest

import keldovar
from conftest import SOURCE

sys.path.insert(0, str(SOURCE / "tools"))
import slurm_node  # noqa: E402

SBATCH = SOURCE / "examples/slurm/inventory.sbatch"


def test_array_tasks_and_their_merge_are_one_run(tmp_path):
    stands, regime = SOURCE / "examples/forest/stands.csv", SOURCE / "examples/forest/prescription.kdr"
    submitted = tmp_path / "submitted"
    fake_sbatch = tmp_path / "sbatch"  # records the merge job's options and command
    fake_sbatch.write_text(f'#!/bin/sh\nprintf "%s\\n" "$@" > {submitted}\n')
    fake_sbatch.chmod(0o755)
    out = tmp_path / "forest.sqlite"
    shards = 3
    for task in range(1, shards + 1):
        env = dict(os.environ, SBATCH=str(fake_sbatch), SLURM_ARRAY_JOB_ID="77",
                   SLURM_ARRAY_TASK_ID=str(task), SLURM_ARRAY_TASK_MIN="1",
                   SLURM_ARRAY_TASK_COUNT=str(shards), SLURM_ARRAY_TASK_STEP="1")
        done = subprocess.run([SBATCH, stands, "--regime", regime, out], env=env, cwd=tmp_path)
        assert done.returncode == (1 if task == 2 else 0)  # stand S-02 fails, row 8 of shard 2
    options = submitted.read_text().splitlines()
    assert options[0] == "--dependency=afterany:77"
    merging = subprocess.run(["sh", "-c", options[options.index("--wrap") + 1]], cwd=tmp_path)
    assert merging.returncode == 1  # as one run's: a stand failed
    merged = keldovar.results(out)
    single = keldovar.inventory(stands, regime=regime)
    assert merged.manifest["sha256:inventory"] == single.manifest["sha256:inventory"]
    for name in ("stands", "tables", "forest", "cash_flows"):
        pandas.testing.assert_frame_equal(getattr(merged, name), getattr(single, name))
    assert shlex.split(options[-1])[-2:] == ["--out", str(out)]


@pytest.mark.skipif(not slurm_node.available(), reason="needs root, munge and slurm-wlm")
def test_the_array_on_a_single_node_slurm(tmp_path):
    stands, regime = SOURCE / "examples/forest/stands.csv", SOURCE / "examples/forest/prescription.kdr"
    node = tmp_path / "node"
    try:
        env = slurm_node.start(node)
    except (OSError, RuntimeError, subprocess.CalledProcessError) as failure:
        # A machine that has the daemons but cannot run them (a container without cgroups)
        # says so and moves on: what is tested is our script, not the scheduler's install.
        slurm_node.stop(node)
        pytest.skip(f"a single-node Slurm could not be started here: {failure}")
    try:
        out = tmp_path / "forest.sqlite"
        subprocess.run(["sbatch", "--array=1-3", "--cpus-per-task=1", SBATCH, stands, "--regime",
                        regime, out], env=env, cwd=tmp_path, check=True, capture_output=True)
        slurm_node.wait_for_jobs(env)
    finally:
        slurm_node.stop(node)
    merged, single = keldovar.results(out), keldovar.inventory(stands, regime=regime)
    for name in ("stands", "tables", "forest", "cash_flows"):
        pandas.testing.assert_frame_equal(getattr(merged, name), getattr(single, name))
