"""The system HTTP client (WinINet under Wine, of the run's bitness) against the peers' update
server and proxy: a file with its length, a missing document, an answer
without Content-Length (server-side includes) and a named proxy.

Runs the WinInternetPeers cases of win_tests.exe in a Wine prefix of its own
and ends that prefix's Wine processes however it ends."""
import os
import shutil
import subprocess
import sys
from pathlib import Path

from kvharness import DEADLINE_SCALE, programs

build = Path(os.environ["KV_BUILD_DIR"])
source = Path(os.environ.get("KV_SOURCE_DIR", Path(__file__).resolve().parents[3]))
documents = build / "e2e" / "www" / "kv-conformance"
shutil.rmtree(documents, ignore_errors=True)
shutil.copytree(source / "tests" / "fixtures" / "www" / "kv-conformance", documents)

wine = programs(build)[0]
env = dict(os.environ, WINEPREFIX=str(build / "e2e" / "wineprefix-wininet"), KV_WINE=str(wine))
try:
    run = subprocess.run(
        [str(source / "tests" / "wine" / "run.sh"), str(build), str(build / "tests" / "win_tests.exe"),
         "--gtest_filter=WinInternetPeers.*"],
        env=env, capture_output=True, text=True, timeout=240 * DEADLINE_SCALE)
finally:
    subprocess.run([str(wine.parent / "wineserver"), "-k"], env=env, check=False)

print(run.stdout)
print(run.stderr, file=sys.stderr)
if run.returncode != 0:
    sys.exit(f"win_tests failed with {run.returncode}")
if "[  SKIPPED ]" in run.stdout or "[  PASSED  ] 0 tests" in run.stdout:
    sys.exit("the conformance cases did not run: the update server does not serve their documents")
