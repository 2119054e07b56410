"""KELDOVAR, the loblolly pine growth-and-yield simulator, in Python.

The functions run the batch runner's own code in this process: ``run``, ``report`` and
``optimize`` give what ``keldovar-cli ... --format json`` prints, as Python objects, and
``inventory`` runs a forest of stands into pandas DataFrames. ``keldovar.dask`` runs an
inventory on a Dask cluster. Failures raise :class:`keldovar.Error`.
"""

import os
import sqlite3
import tempfile
from typing import NamedTuple, Optional

from ._keldovar import Error, __version__, cli, failure, optimize, report, run

Error.__module__ = __name__  # shown as keldovar.Error

__all__ = ["Error", "Forest", "cli", "inventory", "optimize", "report", "results", "run"]

# Inventory columns the stands' dialogs read as numbers: pandas holds a column with a gap as
# floats, which must go back to the file as the integers they were.
_NUMBER_KEYS = ("age", "trees", "ba", "height", "si", "thinage", "pcttrees", "pctba", "survival")


class Forest(NamedTuple):
    """An inventory's results, as the SQLite results of ``keldovar-cli inventory`` hold them."""

    stands: "object"  # pandas.DataFrame: a row a stand, its figures and carried columns
    tables: "object"  # every stand's tables in long format, with the stand's carried columns
    forest: "object"  # the forest by year: acre-weighted totals and per-acre means
    cash_flows: "object"  # every stand's cash flows by year
    manifest: dict  # the run's program, inputs' SHA-256, options and times
    messages: str  # the failed stands' messages, as keldovar-cli writes them on standard error


def _frames(path):
    import pandas

    with sqlite3.connect(f"file:{path}?mode=ro", uri=True) as db:
        read = lambda sql: pandas.read_sql_query(sql, db)  # noqa: E731
        manifest = dict(db.execute("SELECT key, value FROM manifest ORDER BY rowid").fetchall())
        return (
            read("SELECT * FROM stands ORDER BY row"),
            read('SELECT * FROM stand_tables_carried ORDER BY row, "table"'),
            read("SELECT * FROM forest ORDER BY year"),
            read("SELECT * FROM cash_flows ORDER BY row, rowid"),
            manifest,
        )


def _csv_frames(path):
    """The frames of ``--out NAME.csv``'s five files, as _frames gives those of SQLite."""
    import pandas

    stem = path[: -len(".csv")]
    read = lambda suffix: pandas.read_csv(stem + suffix, keep_default_na=False, na_values=[""])  # noqa: E731
    manifest = dict(read(".manifest.csv").astype(str).itertuples(index=False, name=None))
    return read(".stands.csv"), read(".csv"), read(".forest.csv"), read(".flows.csv"), manifest


def results(path, messages=""):
    """The SQLite results of ``keldovar-cli inventory --out RESULT.sqlite`` as a Forest."""
    return Forest(*_frames(os.fspath(path)), messages)


def stands_file(stands, folder):
    """The inventory's file: a path as given, or a DataFrame written as CSV into ``folder``.

    A DataFrame's ``regime`` files are taken from the current folder, as a path is.
    """
    if isinstance(stands, (str, os.PathLike)):
        return os.fspath(stands)
    frame = stands.copy()
    for column in frame.columns:
        if column in _NUMBER_KEYS and frame[column].dtype.kind == "f":
            values = frame[column].dropna()
            if (values == values.round()).all():
                frame[column] = frame[column].astype("Int64")
    if "regime" in frame.columns:
        frame["regime"] = [
            os.path.abspath(r) if isinstance(r, str) and r else r for r in frame["regime"]
        ]
    path = os.path.join(folder, "stands.csv")
    frame.to_csv(path, index=False, lineterminator="\n")
    return path


def plan_args(regime, space):
    """The batch runner's option and file of the plan: ``--regime`` or ``--space``."""
    if (regime is None) == (space is None):
        raise ValueError("give either regime or space")
    return ["--regime", os.fspath(regime)] if regime is not None else ["--space", os.fspath(space)]


def inventory(stands, regime=None, space=None, jobs=None, shard=None, progress=False,
              units="imperial"):
    """Every stand of an inventory through a regime template or its best-regime search.

    ``stands`` is an inventory file (CSV, SQLite or GeoPackage, ``FILE:TABLE`` for a table)
    or a pandas DataFrame of its columns. Stands that fail are in the results with their
    status and messages; an inventory, regime or space that cannot be used raises Error.
    ``units="metric"`` gives the frames in metric units, their columns named so (hectares,
    trees_per_ha, basal_area_m2_ha, ...), as ``--units metric`` writes the CSV results.
    """
    if units not in ("imperial", "metric"):
        raise ValueError(f'units takes "imperial" or "metric", not "{units}"')
    metric = units == "metric"
    with tempfile.TemporaryDirectory(prefix="keldovar-") as folder:
        out = os.path.join(folder, "result.csv" if metric else "result.sqlite")
        args = ["inventory", stands_file(stands, folder), *plan_args(regime, space), "--out", out]
        if metric:
            args += ["--units", "metric"]
        if jobs is not None:
            args += ["--jobs", str(jobs)]
        if shard is not None:
            args += ["--shard", shard if isinstance(shard, str) else f"{shard[0]}/{shard[1]}"]
        status, _, err = cli(args, progress)
        messages = err.decode("latin-1")
        if status not in (0, 1) or not os.path.exists(out):
            raise failure(status, err)
        return Forest(*_csv_frames(out), messages) if metric else results(out, messages)
