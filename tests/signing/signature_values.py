#!/usr/bin/python3
"""Signature values verified: forged, foreign, ECDSA and timestamped signatures read by
launcher-stamp and by osslsigncode alike, and programs signed elsewhere.

    signature_values.py LAUNCHER_STAMP LAUNCHER_X64 LAUNCHER_X86

Certificates are made by openssl, timestamps by osslsigncode's own time-stamp authority
(-TSA-certs, -TSA-key), so nothing leaves the machine. SignedData is rewritten with asn1crypto.
The programs signed elsewhere are the ones scripts/install-dependencies puts in EFI_CACHE.
"""
import json
import os
import shutil
import struct
import sys

import pefile
from asn1crypto import cms, x509

from rows import Rows, run

EFI_CACHE = "/var/cache/launcher-stamp/efi"

stamp, launcher_x64, launcher_x86 = sys.argv[1:4]
checks = Rows("launcher-values.")
work, path, row = checks.work, checks.path, checks.row


def certificate(name, subject, key="rsa:2048"):
    args = ["-newkey", key] if key.startswith("rsa") else ["-newkey", "ec", "-pkeyopt", f"ec_paramgen_curve:{key}"]
    run("openssl", "req", "-x509", *args, "-nodes", "-keyout", path(f"{name}-key.pem"), "-out", path(f"{name}.pem"),
        "-days", "30", "-subj", f"/CN={subject}")


certificate("vendor", "Borvi Software")
certificate("attacker", "Mallory Attacker")
for curve in ("P-256", "P-384", "P-521"):
    certificate(curve, f"Borvi {curve}", curve)
run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("tsa-key.pem"), "-out", path("tsa.pem"),
    "-days", "30", "-subj", "/CN=Local Time Stamps", "-addext", "extendedKeyUsage=critical,timeStamping")


def sign(source, target, who="vendor", digest="sha256", timestamp=False):
    args = ["osslsigncode", "sign", "-certs", path(f"{who}.pem"), "-key", path(f"{who}-key.pem"), "-h", digest]
    if timestamp:
        args += ["-TSA-certs", path("tsa.pem"), "-TSA-key", path("tsa-key.pem"), "-TSA-time", "1760000000"]
    run(*args, "-in", source, "-out", target)


def ours(file):
    """launcher-stamp's word on the launcher at file: check's element, its text and show's signature."""
    done = run(stamp, "check", "--json", file, check=False)
    text = run(stamp, "check", file, check=False).stdout
    shown = run(stamp, "show", "--json", file, check=False)
    try:
        said = json.loads(done.stdout)[0]
        said["text"] = text
        said["show"] = json.loads(shown.stdout)["signature"]
        return said
    except (ValueError, IndexError, KeyError):
        return {"signature": {"state": "unreadable: " + done.stderr}, "signed": None, "text": text, "show": {}}


def theirs(file, cafile="vendor"):
    done = run("osslsigncode", "verify", "-CAfile", path(f"{cafile}.pem"), "-TSA-CAfile", path("tsa.pem"), "-in", file,
               check=False)
    return done.returncode == 0 and "Signature verification: ok" in done.stdout, done.stdout + done.stderr


def table(data):
    """The offset and size of the certificate table, and the SignedData of its first record."""
    pe = pefile.PE(data=bytes(data), fast_load=True)
    entry = pe.OPTIONAL_HEADER.DATA_DIRECTORY[4]
    length = struct.unpack_from("<I", data, entry.VirtualAddress)[0]
    blob = bytes(data[entry.VirtualAddress + 8:entry.VirtualAddress + length])
    return pe, entry, cms.ContentInfo.load(blob, strict=False)


def rewrite(source, target, change):
    """target: source with its SignedData changed by change(signed_data, signer_info), the table
    written again as signing writes it (one record, padded to 8 bytes, its directory entry)."""
    data = bytearray(open(source, "rb").read())
    pe, entry, info = table(data)
    signed = info["content"]
    signer = signed["signer_infos"][0]
    change(signed, signer)
    signed["signer_infos"] = cms.SignerInfos([signer])
    info["content"] = signed
    blob = info.dump()
    record = struct.pack("<IHH", 8 + len(blob), 0x0200, 2) + blob
    record += b"\0" * (-len(record) % 8)
    data = data[:entry.VirtualAddress] + record
    struct.pack_into("<I", data, entry.get_file_offset() + 4, len(record))
    open(target, "wb").write(data)


def load_certificate(name):
    return x509.Certificate.load(pem_body(open(path(f"{name}.pem"), "rb").read()))


def pem_body(pem):
    import base64
    lines = [line for line in pem.decode().splitlines() if line and not line.startswith("-----")]
    return base64.b64decode("".join(lines))


def named_as(cert):
    def change(signed, signer):
        signed["certificates"] = cms.CertificateSet([cms.CertificateChoices(name="certificate", value=cert)])
        signer["sid"] = cms.SignerIdentifier(name="issuer_and_serial_number", value=cms.IssuerAndSerialNumber(
            {"issuer": cert.issuer, "serial_number": cert.serial_number}))
    return change


def without_certificates(signed, signer):
    signed["certificates"] = cms.CertificateSet([])


def state_of(said):
    s = said["signature"]
    return (s["state"], said["signed"], s.get("signer"), s.get("timestamped"), said["show"].get("state"))


vendor = load_certificate("vendor")
attacker = load_certificate("attacker")

for arch, launcher in (("x64", launcher_x64), ("x86", launcher_x86)):
    # The vendor's launcher, and the attacker's: its launch directory changed, signed with the
    # attacker's key, then the vendor's certificate put back in place of the attacker's and named
    # as its signer. Every digest matches; the value was made with the other key.
    vendors = path(f"{arch}-vendor.exe")
    sign(launcher, vendors)
    changed = path(f"{arch}-evil.exe")
    run(stamp, "set", vendors, "..\\..\\Evil\\x\\", "--force", "--output", changed)
    attackers = path(f"{arch}-attacker.exe")
    sign(changed, attackers, "attacker")
    forged = path(f"{arch}-forged.exe")
    rewrite(attackers, forged, named_as(vendor))
    same = path(f"{arch}-rewritten.exe")
    rewrite(attackers, same, named_as(attacker))
    missing = path(f"{arch}-missing.exe")
    rewrite(vendors, missing, without_certificates)
    stamped = path(f"{arch}-timestamped.exe")
    sign(launcher, stamped, timestamp=True)

    # Each row: the file, what check and show say (state, signed, signer, timestamped, show's
    # state), words its problem or line holds, and whether osslsigncode finds it whole (with the
    # certificate it is told to trust).
    rows = [
        ("the vendor's own signature", vendors, ("signed", True, "Borvi Software", False, "signed"), "", True, "vendor"),
        ("the attacker's own signature", attackers, ("signed", True, "Mallory Attacker", False, "signed"), "", True,
         "attacker"),
        ("the attacker's signature, rewritten unchanged", same, ("signed", True, "Mallory Attacker", False, "signed"), "",
         True, "attacker"),
        ("the forgery: the vendor's certificate named over the attacker's value", forged,
         ("broken", False, None, False, "broken"),
         "signature value of the signed content does not verify: it was not made with the key of the certificate it names",
         False, "vendor"),
        ("the certificate missing from the table", missing, ("broken", False, None, False, "broken"),
         "missing from the table", False, "vendor"),
        ("a local timestamp", stamped, ("signed", True, "Borvi Software", True, "signed"), "", True, "vendor"),
    ]
    for name, file, expected, words, whole, trusted in rows:
        said = ours(file)
        problem = said["signature"].get("problem") or ""
        theirs_whole, their_words = theirs(file, trusted)
        row(f"{arch}: {name}",
            state_of(said) == expected and words in problem and theirs_whole == whole and
            (said["signature"]["state"] != "broken" or words in said["text"]),
            f"ours {said['signature']}, osslsigncode {'ok' if theirs_whole else 'failed'}: {their_words[-300:]}")
    said = ours(forged)
    row(f"{arch}: the forgery is no signature check vouches for",
        'signed by "Borvi Software"' not in said["text"] and said["verdict"] != "ok" and "Evil" in said["launch_directory"],
        said["text"])

    # One byte of the timestamp's own signature value changed: still signed, not timestamped,
    # and said so.
    data = bytearray(open(stamped, "rb").read())
    _, _, info = table(data)
    token = next(a for a in info["content"]["signer_infos"][0]["unsigned_attrs"]
                 if a["type"].dotted == "1.3.6.1.4.1.311.3.3.1")
    token = cms.ContentInfo.load(token["values"][0].dump())
    value = token["content"]["signer_infos"][0]["signature"].native
    at = bytes(data).find(value)
    data[at + len(value) // 2] ^= 0x01
    bad = path(f"{arch}-bad-timestamp.exe")
    open(bad, "wb").write(data)
    said = ours(bad)
    their_whole, their_words = theirs(bad)
    row(f"{arch}: a timestamp whose value has one byte changed is not counted, and said so",
        at > 0 and state_of(said) == ("signed", True, "Borvi Software", False, "signed") and
        "does not verify" in (said["signature"].get("timestamp_problem") or "") and
        "not timestamped: the signature value of the timestamp does not verify" in said["text"] and
        "Timestamp Server Signature verification: failed" in their_words and
        said["show"].get("timestamp_problem") == said["signature"]["timestamp_problem"],
        f"ours {said['signature']}: {said['text']}")

# ECDSA on each curve, in both launchers; and RSA with each digest: signed, by whom.
for arch, launcher in (("x64", launcher_x64), ("x86", launcher_x86)):
    for who, digest in (("P-256", "sha256"), ("P-384", "sha384"), ("P-521", "sha512"), ("P-256", "sha1"),
                        ("vendor", "sha384"), ("vendor", "sha512"), ("vendor", "sha1")):
        file = path(f"{arch}-{who}-{digest}.exe")
        sign(launcher, file, who, digest)
        said = ours(file)
        signer = "Borvi Software" if who == "vendor" else f"Borvi {who}"
        whole, their_words = theirs(file, who)
        row(f"{arch}: {who} with {digest} verifies",
            state_of(said) == ("signed", True, signer, False, "signed") and whole,
            f"ours {said['signature']}, osslsigncode {their_words[-200:]}")
        # The value's last byte changed: broken for both.
        data = bytearray(open(file, "rb").read())
        _, _, info = table(data)
        value = info["content"]["signer_infos"][0]["signature"].native
        at = bytes(data).find(value)
        data[at + len(value) - 1] ^= 0x01
        open(file, "wb").write(data)
        said = ours(file)
        whole, _ = theirs(file, who)
        row(f"{arch}: {who} with {digest}, its value's last byte changed, is broken",
            said["signature"]["state"] == "broken" and "does not verify" in said["signature"]["problem"] and not whole,
            str(said["signature"]))

# A launcher make signed, then forged as above with nothing else changed: a second make does not
# keep it as signed already, and signs it again.
root = path("make")
os.makedirs(os.path.join(root, "Disc"))
shutil.copy(launcher_x64, os.path.join(root, "Disc", "setup.exe"))
signer = path("signer.py")
open(signer, "w").write(f"""import subprocess, sys
subprocess.run(["osslsigncode", "sign", "-certs", {path("vendor.pem")!r}, "-key", {path("vendor-key.pem")!r},
                "-h", "sha256", "-in", sys.argv[1], "-out", sys.argv[2]], check=True, capture_output=True)
""")
sign_command = f'"{sys.executable}" "{signer}" {{file}} {{out}}'
run(stamp, "make", root, "Disc/setup.exe", "--arch", "x64", "--sign", sign_command)
made = os.path.join(root, "setup.exe")
directory = json.loads(run(stamp, "show", "--json", made).stdout)["launch_directory"]
unsigned = path("make-unsigned.exe")
run(stamp, "set", made, directory, "--force", "--output", unsigned)
sign(unsigned, path("make-attacker.exe"), "attacker")
rewrite(path("make-attacker.exe"), made, named_as(vendor))
done = run(stamp, "make", root, "Disc/setup.exe", "--arch", "x64", "--sign", sign_command, check=False)
said = ours(made)
row("make --sign again over a forgery: not left as signed already, signed again",
    done.returncode == 0 and "signed already" not in done.stdout and state_of(said)[:3] == ("signed", True, "Borvi Software")
    and theirs(made)[0], done.stdout + done.stderr)

# Programs signed elsewhere (shim by Microsoft, with a timestamp; GRUB by Debian), as the
# programs a launcher starts: signed, by whom; one byte changed in their code, broken.
medium = path("efi")
os.makedirs(os.path.join(medium, "Disc"))
run(stamp, "set", launcher_x64, "Disc\\", "--output", os.path.join(medium, "setup.exe"))
for name, signer, timestamped in (("shimx64.efi.signed", "Microsoft Windows UEFI Driver Publisher", True),
                                  ("grubx64.efi.signed", "Debian Secure Boot Signer 2022 - grub2", False)):
    source = os.path.join(EFI_CACHE, name)
    if not os.path.isfile(source):
        row(f"{name}: present", False, f"{source} is missing: run scripts/install-dependencies")
        continue
    program = os.path.join(medium, "Disc", "setup.exe")

    def program_signature():
        done = run(stamp, "check", "--json", medium, check=False)
        try:
            return next(e for e in json.loads(done.stdout) if "launcher" in e)["program_signature"] or {}
        except (ValueError, StopIteration):
            return {"state": "unreadable: " + done.stderr}

    shutil.copy(source, program)
    said = program_signature()
    row(f"{name}: signed", (said.get("state"), said.get("signer"), said.get("timestamped"), said.get("problem")) ==
        ("signed", signer, timestamped, None), str(said))
    data = bytearray(open(source, "rb").read())
    pe = pefile.PE(data=bytes(data), fast_load=True)
    text = next(s for s in pe.sections if s.Name.rstrip(b"\0") == b".text")
    data[text.PointerToRawData + text.SizeOfRawData // 2] ^= 0x01
    open(program, "wb").write(data)
    said = program_signature()
    row(f"{name}: one byte changed, broken", said.get("state") == "broken" and "changed" in (said.get("problem") or ""),
        str(said))

checks.finish()
