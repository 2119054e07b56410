"""The keldovar module against keldovar-cli: the same JSON, the same messages, the same results."""

import concurrent.futures
import json
import random
import subprocess
import sys

import pandas
import pytest

import keldovar
from conftest import CLOCK, SOURCE, cli, cli_json

EXAMPLES = ["plantation-thin-harvest.kdr", "thinned-stand.kdr", "unthinned-thinomatic-fertilize.kdr"]


def generated_scripts(count, seed=25):
    """Seeded regimes of every start, some refused on the way (a thinning too heavy, a grow
    to an age already past), as scripts' text."""
    draw = random.Random(seed)
    starts = [
        lambda: f"plantation si={draw.randint(55, 80)} trees={draw.randint(400, 900)} "
        f"survival={draw.randint(70, 95)} control={draw.choice(['none', 'woody', 'herbwoody'])}",
        lambda: f"unthinned age={draw.randint(8, 20)} trees={draw.randint(300, 900)} "
        f"ba={draw.randint(60, 140)} si={draw.randint(55, 80)}",
        lambda: f"thinned age=20 ba={draw.randint(60, 110)} trees={draw.randint(200, 500)} "
        f"thinage={draw.randint(10, 15)} si={draw.randint(55, 80)} pcttrees=30",
    ]
    steps = [
        lambda: f"grow +{draw.randint(1, 12)}",
        lambda: f"thin {draw.choice(['row', 'thinomatic', 'low'])} ba={draw.randint(40, 120)}",
        lambda: "fertilize n=yes p=no",
        lambda: f"financial interest={draw.randint(3, 9)}",
        lambda: f"grow {draw.randint(10, 40)}",
    ]
    scripts = []
    for _ in range(count):
        lines = [draw.choice(starts)()] + [draw.choice(steps)() for _ in range(draw.randint(2, 6))]
        scripts.append("\n".join(lines + ["harvest"]) + "\n")
    return scripts


def optimized_scripts():
    best = keldovar.optimize(SOURCE / "examples/best-regime.space", jobs=1)
    return ["\n".join(regime["script"]) + "\n" for regime in best["best"]]


def assert_same_as_cli(script, tmp_path):
    """keldovar.run(script) is keldovar-cli run's JSON, or raises its messages and report."""
    path = tmp_path / "script.kdr"
    path.write_text(script)
    status, out, err = cli("run", path, "--format", "json", "--clock", CLOCK)
    if status == 0:
        assert keldovar.run(path, clock=CLOCK) == json.loads(out)
        assert keldovar.run(script, clock=CLOCK) == json.loads(out)
        return
    with pytest.raises(keldovar.Error) as raised:
        keldovar.run(path, clock=CLOCK)
    e = raised.value
    assert (str(e), e.status) == (err.strip(), status)
    assert e.result == (json.loads(out) if out else None)
    assert f"{path}:{e.line}: " in err
    if e.result is not None:  # the messages the report holds, the stopping one among them
        shown = e.result["messages"]
        assert [{k: m[k] for k in ("line", "caption", "text")} for m in e.messages][: len(shown)] == shown
        assert e.text in [m["text"] for m in shown]


def test_run_is_the_batch_runners_json(tmp_path):
    scripts = [(SOURCE / "examples" / name).read_text() for name in EXAMPLES]
    scripts += optimized_scripts() + generated_scripts(24)
    for script in scripts:
        assert_same_as_cli(script, tmp_path)


def test_report_and_optimize_are_the_batch_runners(tmp_path):
    stand = tmp_path / "stand.kdv"
    cli("run", SOURCE / "examples/thinned-stand.kdr", "--out", stand, "--clock", CLOCK)
    assert keldovar.report(stand) == cli_json("report", stand, "--format", "json")
    space = SOURCE / "examples/best-regime.space"
    for shard in ["1/2", (2, 2)]:
        text = shard if isinstance(shard, str) else "2/2"
        expected = cli_json("optimize", space, "--format", "json", "--shard", text, "--jobs", "1")
        assert keldovar.optimize(str(space), shard=shard, jobs=1) == expected


def test_metric_units_are_the_batch_runners(tmp_path):
    stand = tmp_path / "stand.kdv"
    script = SOURCE / "examples/thinned-stand.kdr"
    cli("run", script, "--out", stand, "--clock", CLOCK)
    assert keldovar.report(stand, units="metric") == cli_json(
        "report", stand, "--format", "json", "--units", "metric")
    metric = keldovar.run(str(script), clock=CLOCK, units="metric")
    imperial = keldovar.run(str(script), clock=CLOCK)
    assert metric["units"] == "metric" and "units" not in imperial
    assert metric["stand"]["trees"] == pytest.approx(imperial["stand"]["trees"] / 0.40468564224)
    for call in [lambda: keldovar.run(str(script), units="si"), lambda: keldovar.report(stand, units="SI")]:
        with pytest.raises(ValueError, match="imperial"):
            call()


def test_errors_carry_the_batch_runners_messages(tmp_path):
    cases = [  # script, status, line, caption, text, key
        ("plantation si=65 trees=50 survival=85\n", 1, 1, "", "Enter an integer between 100 and 1500.", "trees"),
        ("unthinned age=12 trees=500 ba=90 si=60\nfrobnicate\ngrow 9\n", 2, 2, "", "unknown command 'frobnicate'", ""),
        ("unthinned age=12 trees=500 ba=90 si=60\ngrow 30\nthin row ba=500\n", 1, 3, None, None, None),
    ]
    for script, status, line, caption, text, key in cases:
        with pytest.raises(keldovar.Error) as raised:
            keldovar.run(script)
        e = raised.value
        assert (e.status, e.line) == (status, line), str(e)
        if text is not None:
            assert (e.caption, e.text, e.key) == (caption, text, key)
        assert (e.result is None) == (status == 2)
    missing = tmp_path / "missing.kdv"
    for call in [lambda: keldovar.report(missing), lambda: keldovar.optimize(missing),
                 lambda: keldovar.run(missing)]:
        with pytest.raises(keldovar.Error, match="missing"):
            call()
    with pytest.raises(ValueError, match="--clock takes"):
        keldovar.run(SOURCE / "examples/thinned-stand.kdr", clock="yesterday")


def test_threads_run_alongside_each_other():
    scripts = generated_scripts(16, seed=7)

    def outcome(script):
        try:
            return keldovar.run(script, clock=CLOCK)
        except keldovar.Error as e:
            return str(e)

    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        assert list(pool.map(outcome, scripts)) == [outcome(s) for s in scripts]


def frames(forest):
    return [forest.stands, forest.tables, forest.forest, forest.cash_flows]


def test_inventory_from_a_file_or_a_data_frame(monkeypatch, tmp_path):
    folder = SOURCE / "examples/forest"
    from_file = keldovar.inventory(folder / "stands.csv", regime=folder / "prescription.kdr")
    assert "stand S-02: trees: Enter an integer between 100 and 1500." in from_file.messages
    assert list(from_file.stands.status).count("failed") == 1
    assert {"compartment", "owner"} <= set(from_file.tables.columns)
    monkeypatch.chdir(folder)  # a DataFrame's regime files are the current folder's
    frame = pandas.read_csv("stands.csv")
    from_frame = keldovar.inventory(frame, regime="prescription.kdr", jobs=2)
    for a, b in zip(frames(from_file), frames(from_frame)):
        pandas.testing.assert_frame_equal(a, b)
    space = tmp_path / "stands.space"  # the example's space, the stands giving the start
    lines = (SOURCE / "examples/best-regime.space").read_text().splitlines(keepends=True)
    space.write_text("".join(line for line in lines if not line.startswith("start")))
    searched = keldovar.inventory(frame.head(2), space=space)
    assert searched.stands.script.str.startswith("plantation").all()
    with pytest.raises(ValueError):
        keldovar.inventory(frame)
    with pytest.raises(keldovar.Error, match="nothere.kdr") as raised:
        keldovar.inventory(frame, regime="nothere.kdr")
    assert raised.value.status == 2
    with pytest.raises(keldovar.Error) as raised:  # a usage error, the usage after it
        keldovar.inventory(frame, regime="prescription.kdr", jobs=0)
    assert raised.value.text == "--jobs takes 1 to 256, not '0'"


def test_a_metric_inventory_names_its_columns_in_metric_units():
    folder = SOURCE / "examples/forest"
    imperial = keldovar.inventory(folder / "stands.csv", regime=folder / "prescription.kdr")
    metric = keldovar.inventory(folder / "stands.csv", regime=folder / "prescription.kdr", units="metric")
    assert metric.manifest["units"] == "metric" and "units" not in imperial.manifest
    for frame, imperial_name, metric_name, factor in [
        ("stands", "acres", "hectares", 0.40468564224),
        ("tables", "basal_area", "basal_area_m2_ha", 0.3048**2 / 0.40468564224),
        ("forest", "volume", "volume_m3", 0.3048**3),
    ]:
        a, b = getattr(imperial, frame), getattr(metric, frame)
        assert list(b[metric_name]) == pytest.approx(list(a[imperial_name] * factor), nan_ok=True)
    with pytest.raises(ValueError):
        keldovar.inventory(folder / "stands.csv", regime=folder / "prescription.kdr", units="si")


def test_the_plotting_example_draws_its_png(tmp_path):
    png = tmp_path / "forest.png"
    subprocess.run([sys.executable, SOURCE / "examples/forest_plot.py", png], check=True,
                   capture_output=True)
    assert png.read_bytes().startswith(b"\x89PNG")
