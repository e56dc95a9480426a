"""What the signing tests share: a work folder of their own, commands run, and rows that each
pass or fail, counted in the closing line ctest reads."""
import os
import shutil
import subprocess
import sys
import tempfile


def run(*args, check=True, **kwargs):
    done = subprocess.run(list(args), capture_output=True, text=True, **kwargs)
    if check and done.returncode != 0:
        raise RuntimeError(f"{args[0]} failed: {done.stdout}{done.stderr}")
    return done


class Rows:
    def __init__(self, prefix):
        self.work = tempfile.mkdtemp(prefix=prefix)
        self.failures = []
        self.passed = 0

    def path(self, name):
        return os.path.join(self.work, name)

    def row(self, name, ok, detail=""):
        if ok:
            self.passed += 1
        else:
            self.failures.append(f"{name}: {detail}")
            print(f"FAIL {name}: {detail}")

    def finish(self):
        """Removes the work folder, prints the count and exits 1 when a row failed."""
        shutil.rmtree(self.work, ignore_errors=True)
        print(f"{self.passed} passed, {len(self.failures)} failed")
        sys.exit(1 if self.failures else 0)
