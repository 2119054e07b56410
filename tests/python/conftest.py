"""What the Python tests share: the batch runner's own output to compare the module with."""

import json
import os
import pathlib
import subprocess

import pytest

SOURCE = pathlib.Path(__file__).resolve().parents[2]
CLOCK = "2021-06-01 08:00:00"


def cli(*args, cwd=None):
    """keldovar-cli's (status, stdout bytes, stderr text)."""
    done = subprocess.run([os.environ["KELDOVAR_CLI"], *map(str, args)], capture_output=True,
                          cwd=cwd)
    return done.returncode, done.stdout, done.stderr.decode("latin-1")


def cli_json(*args):
    status, out, err = cli(*args)
    assert status == 0, err
    return json.loads(out)


@pytest.fixture
def source():
    return SOURCE
