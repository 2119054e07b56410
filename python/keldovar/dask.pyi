# Type stubs of keldovar.dask.
from typing import Optional, Union

import distributed
import pandas

from keldovar import Forest, PathLike

def inventory(stands: Union[PathLike, pandas.DataFrame], client: distributed.Client,
              regime: Optional[PathLike] = None, space: Optional[PathLike] = None,
              partitions: Optional[int] = None, jobs: int = 1, progress: bool = True) -> Forest:
    """Every stand of an inventory run on the cluster of client: equal to keldovar.inventory.

    partitions: shards of the inventory (default: the cluster's threads), each a task of
    jobs threads; a task lost with its worker runs again. progress: Dask's progress bar.
    """

def run_shard(stands: tuple, plan: tuple, option: str, shard: int, shards: int,
              jobs: int) -> bytes:
    """One shard's SQLite results: the task a partition runs on a worker."""
