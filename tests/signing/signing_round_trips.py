#!/usr/bin/python3
"""Signed launchers read by launcher-stamp and by osslsigncode alike, and make --sign against
signers that misbehave.

    signing_round_trips.py LAUNCHER_STAMP LAUNCHER_X64 LAUNCHER_X86

A throwaway certificate is made by openssl; timestamps come from a time-stamp authority
answering on 127.0.0.1 (openssl ts behind a small HTTP server), so nothing leaves the machine.
Only options that osslsigncode 2.5 has are used.
"""
import http.server
import json
import os
import pty
import select
import shutil
import struct
import subprocess
import sys
import threading
import time

import pefile

from rows import Rows, run

stamp, launcher_x64, launcher_x86 = sys.argv[1:4]
checks = Rows("launcher-signing.")
work, path, row = checks.work, checks.path, checks.row


# The signer's certificate, and a time-stamp authority's.
run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("key.pem"), "-out", path("cert.pem"),
    "-days", "30", "-subj", "/CN=Borvi Test Signer")
with open(path("tsa.ext"), "w") as ext:
    ext.write("extendedKeyUsage=critical,timeStamping\n")
run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("tsa-key.pem"), "-out", path("tsa.pem"),
    "-days", "30", "-subj", "/CN=Local Time Stamps", "-addext", "extendedKeyUsage=critical,timeStamping")
with open(path("tsa.cnf"), "w") as cnf:
    cnf.write(f"""[ tsa ]
default_tsa = local
[ local ]
dir = {work}
serial = {work}/tsa-serial
signer_cert = {work}/tsa.pem
signer_key = {work}/tsa-key.pem
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha1, sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
""")
with open(path("tsa-serial"), "w") as serial:
    serial.write("01\n")


class TimeStamps(http.server.BaseHTTPRequestHandler):
    lock = threading.Lock()

    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        with self.lock:
            with open(path("ts.req"), "wb") as request:
                request.write(query)
            done = subprocess.run(["openssl", "ts", "-reply", "-config", path("tsa.cnf"), "-queryfile", path("ts.req"),
                                   "-out", path("ts.rep")], capture_output=True)
            reply = open(path("ts.rep"), "rb").read() if done.returncode == 0 else b""
        self.send_response(200 if reply else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), TimeStamps)
threading.Thread(target=server.serve_forever, daemon=True).start()
tsa_url = f"http://127.0.0.1:{server.server_address[1]}/"


def sign(source, target, digest="sha256", nest=False, timestamp=False):
    args = ["osslsigncode", "sign", "-certs", path("cert.pem"), "-key", path("key.pem"), "-h", digest]
    if nest:
        args.append("-nest")
    if timestamp:
        args += ["-ts", tsa_url]
    run(*args, "-in", source, "-out", target)


def ours(file):
    """launcher-stamp's word on the launcher at file: its signature element."""
    done = run(stamp, "check", "--json", file, check=False)
    try:
        return json.loads(done.stdout)[0]
    except (ValueError, IndexError, KeyError):
        return {"signature": {"state": "unreadable: " + done.stderr}, "signed": None}


def theirs(file):
    done = run("osslsigncode", "verify", "-CAfile", path("cert.pem"), "-TSA-CAfile", path("tsa.pem"), "-in", file,
               check=False)
    return done.returncode == 0 and "Signature verification: ok" in done.stdout


# The launchers: both shipped, one stamped by set, and one make wrote.
medium = path("medium")
os.makedirs(os.path.join(medium, "Disc"))
shutil.copy(launcher_x64, os.path.join(medium, "Disc", "setup.exe"))
run(stamp, "make", medium, "Disc/setup.exe", "--arch", "x64", "--no-autorun", check=False)
launchers = {"shipped-x64": launcher_x64, "shipped-x86": launcher_x86,
             "made-x64": os.path.join(medium, "setup.exe")}
run(stamp, "set", launcher_x86, "Disc", "--output", path("stamped-x86.exe"))
launchers["stamped-x86"] = path("stamped-x86.exe")

# Every algorithm, nested, timestamped or not: whole for both readers.
for name, launcher in launchers.items():
    signed = {}
    for digest, timestamp in [("sha1", False), ("sha256", False), ("sha384", False), ("sha512", False),
                              ("sha256", True)]:
        target = path(f"{name}-{digest}{'-ts' if timestamp else ''}.exe")
        sign(launcher, target, digest, timestamp=timestamp)
        signed[(digest, timestamp)] = target
    nested = path(f"{name}-nested.exe")
    sign(signed[("sha1", False)], nested, "sha256", nest=True)
    for (digest, timestamp), target in list(signed.items()) + [(("sha1+sha256", False), nested)]:
        said = ours(target)
        signature = said["signature"]
        expected = {"sha1": "SHA-1", "sha256": "SHA-256", "sha384": "SHA-384", "sha512": "SHA-512",
                    "sha1+sha256": "SHA-1"}[digest]
        row(f"{name} {digest}{' timestamped' if timestamp else ''} is whole",
            signature["state"] == "signed" and said["signed"] is True and signature["algorithm"] == expected and
            signature["signer"] == "Borvi Test Signer" and signature["timestamped"] == timestamp and theirs(target),
            f"ours {signature}, osslsigncode {'ok' if theirs(target) else 'failed'}")

    # One byte changed in each part: broken for both; CheckSum alone: whole for both.
    base = signed[("sha256", True)]
    shown = json.loads(run(stamp, "show", "--json", base).stdout)
    row(f"{name}: show --json says whole and by whom",
        (shown["signed"], shown["signature"]["state"], shown["signature"]["signer"], shown["signature"]["timestamped"])
        == (True, "signed", "Borvi Test Signer", True), str(shown.get("signature")))
    data = bytearray(open(base, "rb").read())
    pe = pefile.PE(data=bytes(data), fast_load=True)
    by_name = {s.Name.rstrip(b"\0").decode(): s for s in pe.sections}
    text = by_name[".text"]
    field = by_name[".rdata"] if ".rdata" in by_name else by_name[".launch"]
    resources = by_name[".rsrc"]
    checksum = pe.OPTIONAL_HEADER.get_file_offset() + 64
    changes = {
        "headers (TimeDateStamp)": pe.FILE_HEADER.get_file_offset() + 4,
        "a section (.text)": text.PointerToRawData + 16,
        "the launch directory": next(o for o in range(field.PointerToRawData, field.PointerToRawData + 1024)
                                     if data[o] == ord("D")) if name != "shipped-x64" and name != "shipped-x86"
        else field.PointerToRawData,
        "the resources": resources.PointerToRawData + resources.SizeOfRawData // 2,
    }
    for part, offset in changes.items():
        changed = bytearray(data)
        changed[offset] ^= 0x20
        target = path(f"{name}-changed.exe")
        open(target, "wb").write(changed)
        state = ours(target)["signature"]["state"]
        row(f"{name}: one byte changed in {part} breaks it", state == "broken" and not theirs(target),
            f"ours {state}, osslsigncode {'ok' if theirs(target) else 'failed'}")
        if part == "the resources":
            shown = json.loads(run(stamp, "show", "--json", target).stdout)
            row(f"{name}: show --json says broken", (shown["signed"], shown["signature"]["state"]) == (False, "broken"),
                str(shown.get("signature")))
    target = path(f"{name}-appended.exe")
    open(target, "wb").write(bytes(data) + b"\0")
    state = ours(target)["signature"]["state"]
    row(f"{name}: one byte past the table breaks it", state == "broken" and not theirs(target),
        f"ours {state}, osslsigncode {'ok' if theirs(target) else 'failed'}")
    changed = bytearray(data)
    struct.pack_into("<I", changed, checksum, struct.unpack_from("<I", changed, checksum)[0] ^ 0x5A5A)
    target = path(f"{name}-checksum.exe")
    open(target, "wb").write(changed)
    state = ours(target)["signature"]["state"]
    row(f"{name}: the CheckSum alone changed stays whole", state == "signed" and theirs(target),
        f"ours {state}, osslsigncode {'ok' if theirs(target) else 'failed'}")

# make --sign against signers that misbehave. Each row: the signer's way, make's options, and
# whether make takes the signature.
signer = path("signer.py")
with open(signer, "w") as script:
    script.write(f"""import os, subprocess, sys, time
mode, file = sys.argv[1], sys.argv[2]
out = sys.argv[3] if len(sys.argv) > 3 else None
def sign(source, target, *extra):
    subprocess.run(["osslsigncode", "sign", "-certs", {path("cert.pem")!r}, "-key", {path("key.pem")!r}, "-h", "sha256",
                    *extra, "-in", source, "-out", target], check=True, capture_output=True)
    os.replace(target, source) if target == source + ".signed" else None
print("signer here: " + mode)
if mode == "nothing":
    sys.exit(0)
if mode == "fails":
    print("token not found"); sys.exit(1)
if mode == "hangs":
    child = subprocess.Popen(["sleep", "300"])
    open({path("child.pid")!r}, "w").write(str(child.pid))
    time.sleep(300)
if mode == "out":
    sign(file, out); sys.exit(0)
if mode == "pin":
    tty, pin = os.open("/dev/tty", os.O_RDWR), b""
    os.write(tty, b"PIN: ")
    while not pin.endswith(b"\\n"):
        pin += os.read(tty, 1)
    if pin.strip() != b"2468":
        print("wrong PIN"); sys.exit(4)
    sign(file, file + ".signed"); sys.exit(0)
if mode == "stops":
    import signal
    os.kill(os.getpid(), signal.SIGTTIN)
    sign(file, file + ".signed"); sys.exit(0)
if mode in ("waits", "waits-out"):
    if out:
        sign(file, out)
    open({path("flag")!r} + ".waiting", "w").close()
    while not os.path.exists({path("flag")!r}):
        time.sleep(0.05)
    if not out:
        sign(file, file + ".signed")
    sys.exit(0)
if mode == "flaky":
    count = {path("count")!r}
    n = int(open(count).read()) if os.path.exists(count) else 0
    open(count, "w").write(str(n + 1))
    if n < 2:
        print(f"token busy, attempt {{n + 1}}"); sys.exit(1)
    sign(file, file + ".signed"); sys.exit(0)
if mode == "ok":
    sign(file, file + ".signed"); sys.exit(0)
if mode == "timestamped":
    sign(file, file + ".signed", "-ts", {tsa_url!r}); sys.exit(0)
if mode == "byte":
    sign(file, file + ".signed")
    data = bytearray(open(file, "rb").read()); data[0x200] ^= 1; open(file, "wb").write(data); sys.exit(0)
if mode == "wrong-digest":
    # The table of another file's signature (one byte differs), added as signing adds it.
    original = open(file, "rb").read()
    data = bytearray(original); data[0x200] ^= 1
    open(file + ".other", "wb").write(data)
    sign(file + ".other", file + ".other.signed")
    signed = bytearray(open(file + ".other", "rb").read())
    os.remove(file + ".other")
    signed[0x200] ^= 1
    open(file, "wb").write(signed)
    sys.exit(0)
sys.exit(3)
""")

python = sys.executable
rows = [
    # name, signer's way, extra options, taken, words the refusal holds
    ("exits 0 and signs nothing", "nothing", [], False, "signed nothing"),
    ("changes a byte and adds a table", "byte", [], False, "changed the launcher's bytes"),
    ("adds a table with a wrong digest", "wrong-digest", [], False, "does not verify"),
    ("no timestamp with --require-timestamp", "ok", ["--require-timestamp"], False, "no timestamp"),
    ("hangs past the timeout", "hangs", ["--sign-timeout", "3"], False, "did not end within 3 seconds"),
    ("exits 1", "fails", [], False, "exit status 1"),
    ("writes {out}", "out", [], True, ""),
    ("signs in place", "ok", [], True, ""),
    ("timestamped with --require-timestamp", "timestamped", ["--require-timestamp"], True, ""),
]
for name, mode, extra, taken, words in rows:
    root = path(f"make-{mode}")
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(os.path.join(root, "Disc"))
    shutil.copy(launcher_x64, os.path.join(root, "Disc", "setup.exe"))
    secret = "pass-Wd-1234"
    command = f'"{python}" "{signer}" {mode} {{file}}' + (" {out}" if mode == "out" else "") + f" /p {secret}"
    done = run(stamp, "make", root, "Disc/setup.exe", "--arch", "x64", "--sign", command, *extra, check=False)
    made = os.path.join(root, "setup.exe")
    said = done.stdout + done.stderr
    leftovers = [n for n in os.listdir(root) if n.startswith(".launcher-stamp-")]
    if taken:
        whole = os.path.exists(made) and ours(made)["signature"]["state"] == "signed" and theirs(made)
        row(f"make --sign, signer {name}: taken", done.returncode == 0 and whole and not leftovers and secret not in said,
            f"exit {done.returncode}, whole {whole}, leftovers {leftovers}: {said[-600:]}")
    else:
        nothing = sorted(os.listdir(root)) == ["Disc"]
        row(f"make --sign, signer {name}: refused, nothing written",
            done.returncode == 1 and nothing and words in said and "signing command (" in said and secret not in said,
            f"exit {done.returncode}, root holds {sorted(os.listdir(root))}: {said[-600:]}")
    if mode == "hangs":
        pid = int(open(path("child.pid")).read()) if os.path.exists(path("child.pid")) else 0
        alive = pid != 0 and os.path.exists(f"/proc/{pid}") and "Z" not in open(f"/proc/{pid}/stat").read().split()[2]
        row("make --sign, signer hangs: the process it started is ended too", pid != 0 and not alive, f"pid {pid}")
    if mode == "fails":
        row("make --sign, signer exits 1: its own output is shown", "token not found" in said, said[-300:])



def fresh_root(name, *programs):
    root = path(name)
    shutil.rmtree(root, ignore_errors=True)
    for program in programs:
        os.makedirs(os.path.join(root, os.path.dirname(program)), exist_ok=True)
        shutil.copy(launcher_x64, os.path.join(root, program))
    return root


def signer_command(mode):
    return f'"{python}" "{signer}" {mode} {{file}}'


def on_terminal(args, answer=None, limit=60):
    """Runs args on a pseudo-terminal of its own, typing answer after "PIN: ". (status, said, ended by us)."""
    pid, fd = pty.fork()
    if pid == 0:
        os.execv(args[0], args)
    said, answered, deadline = b"", False, time.time() + limit
    while time.time() < deadline:
        if select.select([fd], [], [], 0.2)[0]:
            try:
                chunk = os.read(fd, 4096)
            except OSError:
                break
            if not chunk:
                break
            said += chunk
            if answer and not answered and b"PIN: " in said:
                os.write(fd, (answer + "\n").encode())
                answered = True
    hung = time.time() >= deadline
    if hung:
        os.kill(pid, 9)
    _, status = os.waitpid(pid, 0)
    os.close(fd)
    return os.waitstatus_to_exitcode(status), said.decode(errors="replace"), hung


def signed_whole(root):
    made = os.path.join(root, "setup.exe")
    return os.path.exists(made) and ours(made)["signature"]["state"] == "signed" and theirs(made)


def leftovers(root):
    return [n for n in os.listdir(root) if n.startswith(".launcher-stamp-")]


# On a terminal: the signer is given it before it runs and may prompt for a PIN on /dev/tty;
# one that stops is ended, on a terminal or without one, never waited on for ever.
terminal_rows = [
    # name, signer's way, answer, on a terminal, make's status, words said
    ("reads a PIN from /dev/tty", "pin", "2468", True, 0, "signed by"),
    ("stops itself (SIGTTIN) holding the terminal", "stops", None, True, 1, "stopped (SIGTTIN) while it held the terminal"),
    ("stops itself (SIGTTIN) with no terminal", "stops", None, False, 1, "the terminal cannot be given to it"),
]
for name, mode, answer, terminal, status, words in terminal_rows:
    root = fresh_root(f"terminal-{mode}-{terminal}", "Disc/setup.exe")
    args = [stamp, "make", root, "Disc/setup.exe", "--arch", "x64", "--sign", signer_command(mode)]
    if terminal:
        code, said, hung = on_terminal(args, answer)
    else:
        try:
            done = subprocess.run(args, capture_output=True, text=True, start_new_session=True, timeout=60)
            code, said, hung = done.returncode, done.stdout + done.stderr, False
        except subprocess.TimeoutExpired:
            code, said, hung = -1, "", True
    written = signed_whole(root) if status == 0 else sorted(os.listdir(root)) == ["Disc"]
    row(f"make --sign on a terminal, signer {name}", not hung and code == status and words in said and written and
        not leftovers(root), f"exit {code}, hung {hung}, root {sorted(os.listdir(root))}: {said[-600:]}")

# A second make in the same root while the first signs leaves the file being signed (and the
# {out} its signer has written), and check says it is being written, not left behind.
for mode, placeholders in (("waits", "{file}"), ("waits-out", "{file} {out}")):
    root = fresh_root(f"second-make-{mode}", "Disc/setup.exe", "Tools/tool.exe")
    for flag in (path("flag"), path("flag") + ".waiting"):
        if os.path.exists(flag):
            os.remove(flag)
    first = subprocess.Popen([stamp, "make", root, "Disc/setup.exe", "--arch", "x64", "--sign",
                              f'"{python}" "{signer}" {mode} {placeholders}'],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    deadline = time.time() + 60
    while not os.path.exists(path("flag") + ".waiting") and time.time() < deadline:
        time.sleep(0.05)
    staged = leftovers(root)
    second = run(stamp, "make", root, "Tools/tool.exe", "--arch", "x64", "--no-autorun", check=False)
    checked = run(stamp, "check", root, check=False)
    kept = len(staged) == (2 if mode == "waits-out" else 1) and all(os.path.exists(os.path.join(root, n)) for n in staged)
    open(path("flag"), "w").close()
    said = "".join(first.communicate(timeout=120))
    # Its check finds the file being written, so it says the medium is not ready yet (exit 1).
    row(f"a second make while the first signs ({mode}): it leaves the files being signed",
        os.path.exists(os.path.join(root, "tool.exe")) and kept and "removed (left by" not in second.stdout,
        f"staged {staged}, kept {kept}, exit {second.returncode}: {second.stdout[-400:]}{second.stderr[-300:]}")
    row(f"check while make signs ({mode}): the files being signed are being written, not left behind",
        "writing it now" in checked.stdout and "Left by an interrupted" not in checked.stdout, checked.stdout[-600:])
    row(f"a second make while the first signs ({mode}): the first signs and succeeds",
        first.returncode == 0 and signed_whole(root) and not leftovers(root), f"exit {first.returncode}: {said[-600:]}")

# --sign-retries: a signer that fails twice, then signs.
retry_rows = [
    # name, options, make's status, tries marked, words never said
    ("passes with --sign-retries 2", ["--sign-retries", "2"], 0, ["try 1 of 3, tried again in 2 seconds: ", "try 2 of 3, tried again in 4 seconds: "],
     "try 3 of 3: "),
    ("is refused with --sign-retries 1", ["--sign-retries", "1"], 1, ["try 1 of 2, tried again in 2 seconds: ", "try 2 of 2: "],
     "signed by"),
    ("is refused without retries, said as before", [], 1, [], "try 1"),
]
for name, extra, status, marks, never in retry_rows:
    root = fresh_root("retries", "Disc/setup.exe")
    if os.path.exists(path("count")):
        os.remove(path("count"))
    done = run(stamp, "make", root, "Disc/setup.exe", "--arch", "x64", "--sign", signer_command("flaky"), *extra,
               check=False)
    said = done.stdout + done.stderr
    outputs = [f"token busy, attempt {n}" for n in range(1, len(marks) + 1)] or ["token busy, attempt 1"]
    written = signed_whole(root) if status == 0 else sorted(os.listdir(root)) == ["Disc"]
    row(f"make --sign, a signer that fails twice, then signs, {name}",
        done.returncode == status and written and not leftovers(root) and all(m in said for m in marks + outputs) and
        never not in said, f"exit {done.returncode}, root {sorted(os.listdir(root))}: {said[-900:]}")

# make --json of a refused signing lists the files and their fates.
root = fresh_root("json-refused", "Disc/setup.exe")
done = run(stamp, "make", root, "Disc/setup.exe", "--arch", "x64", "--json", "--sign", signer_command("fails"),
           check=False)
try:
    answer = json.loads(done.stdout)
except ValueError:
    answer = {}
fates = [(os.path.basename(f["path"]), f["fate"], (f["reason"] or "")[:40]) for f in answer.get("files", [])]
row("make --json, signing refused: the files and their fates",
    done.returncode == 1 and answer.get("refused") is True and
    fates == [("setup.exe", "refused", "setup.exe not signed: the signing comman"), ("autorun.inf", "not-written", "")],
    f"exit {done.returncode}: {fates} {done.stdout[-400:]}")

# Made again with the same signer and nothing to change: left as it is, not signed again.
root = path("make-ok")
before = open(os.path.join(root, "setup.exe"), "rb").read()
command = f'"{python}" "{signer}" byte {{file}}'
done = run(stamp, "make", root, "Disc/setup.exe", "--arch", "x64", "--sign", command, check=False)
row("make --sign again, signed and nothing to change: left as it is",
    done.returncode == 0 and open(os.path.join(root, "setup.exe"), "rb").read() == before and "left as it is" in done.stdout,
    f"exit {done.returncode}: {done.stdout[-300:]}{done.stderr[-300:]}")
done = run(stamp, "make", root, "Disc/setup.exe", "--arch", "x64", check=False)
row("make again without --sign, signed and nothing to change: unchanged",
    done.returncode == 0 and open(os.path.join(root, "setup.exe"), "rb").read() == before and "setup.exe: unchanged" in done.stdout,
    f"exit {done.returncode}: {done.stdout[-300:]}{done.stderr[-300:]}")
# A command without {file} is refused before anything is done.
done = run(stamp, "make", root, "Disc/setup.exe", "--sign", "signtool sign /fd SHA256", check=False)
row("make --sign without {file} is refused", done.returncode == 1 and "{file}" in done.stderr, done.stderr)

# --iso: the signed launcher is what goes into the image; the image's check names the program's
# missing signature and the mark of the web; without --sign, the launcher's too.
for signing in (True, False):
    root = path(f"image-{signing}")
    os.makedirs(os.path.join(root, "Disc"))
    shutil.copy(launcher_x64, os.path.join(root, "Disc", "setup.exe"))
    image = path(f"image-{signing}.iso")
    extra = ["--sign", f'"{python}" "{signer}" timestamped {{file}}'] if signing else []
    done = run(stamp, "make", root, "Disc/setup.exe", "--arch", "x64", "--iso", image, *extra, check=False)
    inside = path(f"image-{signing}-setup.exe")
    run("xorriso", "-osirrox", "on", "-indev", image, "-extract", "/setup.exe", inside, check=False)
    said = done.stdout
    if signing:
        row("make --sign --iso: the launcher in the image is whole and signed",
            os.path.exists(inside) and theirs(inside) and ours(inside)["signature"]["timestamped"] and
            'signed by "Borvi Test Signer" (SHA-256, timestamped)' in said, said[-800:] + done.stderr[-300:])
        row("make --sign --iso: the unsigned program is named, with the mark of the web",
            "The program it starts is not signed" in said and "D:\\Disc\\setup.exe carries the mark of the web" in said,
            said[-800:])
    else:
        row("make --iso, not signed: the launcher's mark of the web",
            "the launcher carries the mark of the web" in said and "The program it starts is not signed" not in said,
            said[-800:])

server.shutdown()
checks.finish()
