"""The example forest in a notebook's few lines: the inventory through its prescription, then the
forest's standing tons by product and its removals by year, drawn with matplotlib to a PNG.

    PYTHONPATH=build/python /usr/bin/python3 examples/forest_plot.py [forest.png]
"""

import pathlib
import sys

import matplotlib

matplotlib.use("Agg")  # a file, no window
import matplotlib.pyplot as plt  # noqa: E402

import keldovar  # noqa: E402

here = pathlib.Path(__file__).parent / "forest"
forest = keldovar.inventory(here / "stands.csv", regime=here / "prescription.kdr")
print(forest.messages, end="")  # the stands that failed, as keldovar-cli says it
by_year = forest.forest.set_index("year")
years = by_year.index

# Tons by product as the forest view's chart draws them: pulpwood (integrated-utilization
# pulpwood tons) and sawtimber.
products = {"Pulpwood": ("iu_pulp_tons", "#b5894d"), "Sawtimber": ("saw_tons", "#3f6e3a")}
fig, (standing, removed) = plt.subplots(2, 1, figsize=(8, 7), sharex=True)
bottom = [0.0] * len(years)
removed_bottom = [0.0] * len(years)
for label, (column, colour) in products.items():
    standing.bar(years, by_year[column], bottom=bottom, color=colour, label=label, width=0.8)
    removed.bar(years, by_year[f"removed_{column}"], bottom=removed_bottom, color=colour,
                label=label, width=0.8)
    bottom = [b + v for b, v in zip(bottom, by_year[column])]
    removed_bottom = [b + v for b, v in zip(removed_bottom, by_year[f"removed_{column}"])]

ran = forest.stands[forest.stands.status == "ok"]
standing.set_title(f"Example forest: {len(ran)} of {len(forest.stands)} stands run, "
                   f"{ran.acres.sum():.1f} acres")
standing.set_ylabel("Standing tons")
removed.set_ylabel("Removed tons")
removed.set_xlabel("Years from the inventory")
for axes in (standing, removed):
    axes.legend(loc="upper right")
    axes.grid(axis="y", alpha=0.3)
fig.tight_layout()
out = sys.argv[1] if len(sys.argv) > 1 else "forest.png"
fig.savefig(out, dpi=100)
print(f"wrote {out}")
