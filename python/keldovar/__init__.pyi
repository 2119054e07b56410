# Type stubs of the keldovar package, so that editors complete its functions and show their help.
import os
from typing import Any, Literal, NamedTuple, Optional, Sequence, Tuple, Union

import pandas

PathLike = Union[str, os.PathLike]
Shard = Union[str, Tuple[int, int]]

__version__: str

class Error(Exception):
    """A run the batch runner refused or stopped: str() is its standard error's text."""

    line: int
    """The script line of the message that stopped the run; 0 where it has none."""
    caption: str
    """That message's caption (the dialog's title); "" for read and syntax errors."""
    text: str
    """That message's text."""
    messages: list[dict[str, Any]]
    """Every message of the run: {"line", "caption", "text"}, the last one the stopping one."""
    status: int
    """keldovar-cli's exit status: 1 a failed step or file, 2 a read, syntax or usage error."""
    result: Optional[dict[str, Any]]
    """The report up to a failed step, as run gives it; None when nothing ran."""

class Forest(NamedTuple):
    """An inventory's results, as the SQLite results of keldovar-cli inventory hold them."""

    stands: pandas.DataFrame
    """A row a stand: status, messages, NPV, LEV, IRR, the best regime's script, carried columns."""
    tables: pandas.DataFrame
    """Every stand's tables in long format (stand, table, age, label, ...), carried columns last."""
    forest: pandas.DataFrame
    """The forest by year: acre-weighted totals, per-acre means, cash flows and their value."""
    cash_flows: pandas.DataFrame
    """Every stand's cash flows by year."""
    manifest: dict[str, str]
    """The run's program, inputs' SHA-256, options, start and end time."""
    messages: str
    """The failed stands' messages as keldovar-cli writes them on standard error."""

def run(script: PathLike, clock: Optional[str] = None,
        units: Literal["imperial", "metric"] = "imperial") -> dict[str, Any]:
    """A regime script's run, as `keldovar-cli run SCRIPT --format json` prints it.

    script: a script file, or the script's text (a str holding a line end).
    clock: "YYYY-MM-DD HH:MM:SS" fixes the report time; the system clock otherwise.
    units: "metric" converts every number (per hectare, m, cm, m2, m3, tonnes), as --units.
    Raises Error for a script that cannot be read, has syntax errors or a failed step.
    """

def report(path: PathLike,
           units: Literal["imperial", "metric"] = "imperial") -> dict[str, Any]:
    """A stand file's report, as `keldovar-cli report FILE.kdv --format json` prints it.

    units: "metric" converts every number, as --units metric does.
    """

def optimize(space: PathLike, shard: Optional[Shard] = None,
             jobs: Optional[int] = None) -> dict[str, Any]:
    """The best regimes of a search space, as `keldovar-cli optimize SPACE --format json`.

    shard: "K/N" or (K, N) searches every Nth regime from the Kth, as --shard does.
    """

def inventory(stands: Union[PathLike, pandas.DataFrame], regime: Optional[PathLike] = None,
              space: Optional[PathLike] = None, jobs: Optional[int] = None,
              shard: Optional[Shard] = None, progress: bool = False,
              units: Literal["imperial", "metric"] = "imperial") -> Forest:
    """Every stand of an inventory through a regime template (regime) or its best regime (space).

    stands: a CSV, SQLite or GeoPackage inventory ("FILE:TABLE" for a table), or a DataFrame
    of its columns. Failed stands are in the results; an unusable input raises Error.
    units: "metric" gives the frames in metric units, their columns named so (hectares,
    trees_per_ha, basal_area_m2_ha, ...), as --units metric writes the CSV results.
    """

def results(path: PathLike, messages: str = "") -> Forest:
    """The SQLite results of `keldovar-cli inventory --out RESULT.sqlite` as a Forest."""

def stands_file(stands: Union[PathLike, pandas.DataFrame], folder: str) -> str:
    """The inventory's file: a path as given, or a DataFrame written as CSV into folder."""

def plan_args(regime: Optional[PathLike], space: Optional[PathLike]) -> list[str]:
    """["--regime", FILE] or ["--space", FILE]; ValueError unless exactly one is given."""

def cli(args: Sequence[str], progress: bool = False) -> Tuple[int, bytes, bytes]:
    """keldovar-cli with these arguments, in this process: (status, stdout, stderr)."""

def failure(status: int, stderr: Union[str, bytes]) -> Error:
    """The Error of a command line that ended with this status and standard error."""
