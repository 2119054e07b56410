"""A seeded inventory for the Python tests and benchmark: stands of all three kinds, every
tenth row bad (a stand that fails its checks or its prescription), two carried columns."""

import random

PRESCRIPTION = "financial interest=6\ngrow +5\nthin thinomatic ba=55\ngrow +10\nharvest\n"

HEADER = "stand,acres,kind,age,trees,ba,si,thinage,pcttrees,survival,control,owner,note\n"


def _good(row, draw):
    acres = f"{draw.randint(5, 400)}.{draw.randint(0, 9)}"
    carried = f'owner{row % 7},"{row}, x"'
    kind = draw.randint(0, 2)
    if kind == 0:
        return (f"P{row},{acres},plantation,,{draw.randint(600, 900)},,{draw.randint(62, 80)},,,"
                f"{draw.randint(80, 95)},herbwoody,{carried}")
    if kind == 1:
        return (f"U{row},{acres},unthinned,{draw.randint(10, 18)},{draw.randint(450, 800)},"
                f"{draw.randint(85, 130)},{draw.randint(60, 75)},,,,,{carried}")
    age = draw.randint(16, 22)
    return (f"T{row},{acres},thinned,{age},{draw.randint(250, 400)},{draw.randint(75, 100)},"
            f"{draw.randint(62, 75)},{draw.randint(10, age - 4)},{draw.randint(25, 40)},,,"
            f"{carried}")


_BAD = ("plantation,,50,,65,,,85,none", "unthinned,38,500,80,60,,,,", "pine,,600,,65,,,85,none")


def make_inventory(path, stands, seed=25):
    """Writes the inventory's CSV to path."""
    draw = random.Random(seed)
    with open(path, "w", newline="") as f:
        f.write(HEADER)
        for row in range(1, stands + 1):
            if row % 10:
                f.write(_good(row, draw) + "\n")
            else:
                f.write(f"B{row},3,{_BAD[row // 10 % 3]},,\n")
