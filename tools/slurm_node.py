"""A private single-node Slurm, to try examples/slurm/ and for its test: munged, slurmctld and
slurmd started as root in a folder of their own (own socket, ports, state and logs), stopped by
their process ids. Needs Debian's munge, slurmctld, slurmd and slurm-client.

    /usr/bin/python3 tools/slurm_node.py start FOLDER   # prints the SLURM_CONF to export
    /usr/bin/python3 tools/slurm_node.py stop FOLDER
"""

import os
import shutil
import signal
import socket
import subprocess
import time

DAEMONS = ("munged", "slurmctld", "slurmd")


def available():
    """Whether this machine can run one: root, and Debian's munge and slurm-wlm installed."""
    return os.geteuid() == 0 and all(shutil.which(d, path="/usr/sbin:/usr/bin") for d in
                                     (*DAEMONS, "sbatch", "mungekey"))


def _free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def _config(folder, host):
    ports = _free_port(), _free_port()
    return f"""ClusterName=keldovartest
SlurmctldHost={host}
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket={folder}/munge.socket
StateSaveLocation={folder}/state
SlurmdSpoolDir={folder}/spool
SlurmctldPidFile={folder}/slurmctld.pid
SlurmdPidFile={folder}/slurmd.pid
SlurmctldLogFile={folder}/slurmctld.log
SlurmdLogFile={folder}/slurmd.log
SlurmctldPort={ports[0]}
SlurmdPort={ports[1]}
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MpiDefault=none
NodeName={host} CPUs={os.cpu_count()} State=UNKNOWN
PartitionName=test Nodes={host} Default=YES MaxTime=INFINITE State=UP
"""


def start(folder):
    """Starts the node; the environment its clients need (SLURM_CONF)."""
    folder = str(folder)
    for sub in ("state", "spool"):
        os.makedirs(os.path.join(folder, sub))
    host = socket.gethostname().split(".")[0]
    conf = os.path.join(folder, "slurm.conf")
    with open(conf, "w") as f:
        f.write(_config(folder, host))
    key = os.path.join(folder, "munge.key")
    subprocess.run(["mungekey", "-c", "-k", key], check=True)
    subprocess.run(["munged", "--force", f"--socket={folder}/munge.socket", f"--key-file={key}",
                    f"--pid-file={folder}/munged.pid", f"--log-file={folder}/munged.log",
                    f"--seed-file={folder}/munged.seed"], check=True)
    subprocess.run(["slurmctld", "-f", conf], check=True)
    subprocess.run(["slurmd", "-f", conf], check=True)
    env = dict(os.environ, SLURM_CONF=conf)
    for _ in range(100):  # the node registers within seconds
        idle = subprocess.run(["sinfo", "-h", "-o", "%t"], env=env, capture_output=True, text=True)
        if idle.stdout.strip() == "idle":
            return env
        time.sleep(0.2)
    raise RuntimeError(f"the Slurm node did not come up: see {folder}")


def stop(folder):
    for daemon in reversed(DAEMONS):
        try:
            with open(os.path.join(str(folder), f"{daemon}.pid")) as f:
                os.kill(int(f.read().strip()), signal.SIGTERM)
        except (OSError, ValueError):
            pass


def wait_for_jobs(env, seconds=120):
    for _ in range(seconds * 5):
        if not subprocess.run(["squeue", "-h"], env=env, capture_output=True).stdout.strip():
            return
        time.sleep(0.2)
    raise RuntimeError("the Slurm jobs did not end")


if __name__ == "__main__":
    import sys

    if len(sys.argv) != 3 or sys.argv[1] not in ("start", "stop"):
        sys.exit("usage: slurm_node.py start|stop FOLDER")
    if sys.argv[1] == "start":
        print("export SLURM_CONF=" + start(os.path.abspath(sys.argv[2]))["SLURM_CONF"])
    else:
        stop(sys.argv[2])
