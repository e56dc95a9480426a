# The launchers of one architecture run on an emulated CPU through the cases the end-to-end tests
# drive under Wine: each launcher through each case, one line per pair, then the loader's refusals.
#
#   emulated_test.py x86|x64 --launcher EXE --old-launcher EXE --stamp TOOL --program EXE
#                    --work FOLDER [--wine-run SCRIPT]
#
# --launcher is the built launcher, --old-launcher one of release 1.2.0, --stamp launcher-stamp
# for this system (it stamps one copy and makes a medium for --program, whose long version strings
# make the launcher's resource section grow). Exits 1 when any row fails.
import argparse
import os
import shutil
import subprocess
import sys

import pefile

import pe_loader

CP932_LEAD_BYTES = [0x81, 0x9F, 0xE0, 0xFC]
MESSAGE_TITLE = b"Ruvio Error"
SHELL_MASK = 0x100 | 0x400  # SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI
COM_APARTMENT = 0x2 | 0x4  # COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE
ORDINARY = b'"M:\\SETUP.exe"'
SYSTEM32_ONLY = 0x800  # LOAD_LIBRARY_SEARCH_SYSTEM32


class Case:
    """One case: the world the launcher starts in, and what it must ask of Windows there.
    started: the command WinExec gets (None: nothing started); shell: the file and folder handed
    to the shell after WinExec's refusal; message: the message box's text. default_dll_directories:
    whether KERNEL32 exports SetDefaultDllDirectories (not on Windows 7 without its update)."""

    def __init__(self, name, command_line, started=None, shell=None, message=None, start=b"M:\\",
                 launch_directory_exists=True, lead_bytes=(), win_exec_result=(33, 0), missing_libraries=(),
                 default_dll_directories=True):
        self.name, self.command_line, self.start = name, command_line, start
        self.started, self.shell, self.message = started, shell, message
        self.launch_directory_exists, self.lead_bytes = launch_directory_exists, lead_bytes
        self.win_exec_result, self.missing_libraries = win_exec_result, missing_libraries
        self.default_dll_directories = default_dll_directories


def cases(launch_directory):
    """The cases for a launcher whose launch directory is launch_directory (relative)."""
    folder = b"M:\\" + launch_directory
    failed = b'Failed changing directory to "' + launch_directory + b'".'

    def start_of_length(length):  # a start folder that makes the launch directory's path length bytes
        return b"M:\\" + b"d" * (length - len(b"M:\\") - 1 - len(launch_directory))

    long259, long260 = start_of_length(259), start_of_length(260)
    return [
        Case("ordinary start", ORDINARY, started=folder + b"\\SETUP"),
        Case("an argument after the quoted name", b'"M:\\DEMO.EXE" /x', started=folder + b"\\x"),
        Case("a path as argument", b'"M:\\DEMO.EXE" C:\\DATA\\NOTES.TXT', started=folder + b"\\NOTES"),
        Case("a drive without backslash", b"Q:DEMO.EXE", started=folder + b"\\DEMO"),
        Case("a trailing space", b'"M:\\DEMO.EXE" ', started=folder + b"\\DEMO"),
        Case("several full stops", b'"M:\\x\\..\\A.B.C.EXE"', started=folder + b"\\A.B.C"),
        Case("no-break space in the name only", b'"M:\\Media\xA02\\Demo\xA0Go.exe"',
             start=b"M:\\Media\xA02", started=b"M:\\Media\xA02\\" + launch_directory + b"\\Demo Go"),
        Case("CP932: a trail byte 0x5C stays in the name", b'"M:\\\x95\x5C.exe"',
             lead_bytes=CP932_LEAD_BYTES, started=folder + b"\\\x95\x5C"),
        Case("code page 1252: the same byte 0x5C separates", b'"M:\\\x95\x5C.exe"', started=folder + b"\\"),
        Case("a name cut at 255 bytes", b"M:\\" + b"n" * 300 + b".exe", started=folder + b"\\" + b"n" * 255),
        Case("CP932: the cut keeps characters whole", b"M:\\" + b"\x95\x5C" * 150 + b".exe",
             lead_bytes=CP932_LEAD_BYTES, started=folder + b"\\" + b"\x95\x5C" * 127),
        Case("missing folder shows one message box", ORDINARY, launch_directory_exists=False, message=failed),
        Case("missing folder, no user32: nothing shown", ORDINARY, launch_directory_exists=False,
             missing_libraries={"user32.dll"}),
        Case("shell after a refusal for elevation (740)", ORDINARY, win_exec_result=(11, 740),
             started=folder + b"\\SETUP", shell=(folder + b"\\SETUP.exe", folder)),
        Case("shell after 740: a dotted name gets no .exe", b'"M:\\A.B.C.EXE"', win_exec_result=(11, 740),
             started=folder + b"\\A.B.C", shell=(folder + b"\\A.B.C", folder)),
        Case("another refusal (file not found) stays silent", ORDINARY, win_exec_result=(2, 2),
             started=folder + b"\\SETUP"),
        Case("a launch directory path of 259 bytes", ORDINARY, start=long259,
             started=long259 + b"\\" + launch_directory + b"\\SETUP"),
        Case("a launch directory path of 260 bytes", ORDINARY, start=long260, message=failed),
        Case("missing folder, Windows 7 without SetDefaultDllDirectories: the box still shows", ORDINARY,
             launch_directory_exists=False, message=failed, default_dll_directories=False),
        Case("shell after 740, Windows 7 without SetDefaultDllDirectories", ORDINARY, win_exec_result=(11, 740),
             started=folder + b"\\SETUP", shell=(folder + b"\\SETUP.exe", folder), default_dll_directories=False),
    ]


def world_for(case, launch_directory):
    folder = case.start.rstrip(b"\\") + b"\\" + launch_directory
    return pe_loader.World(case.command_line, case.start,
                           directories=[folder] if case.launch_directory_exists else [],
                           lead_bytes=case.lead_bytes, win_exec_result=case.win_exec_result,
                           missing_libraries=case.missing_libraries,
                           default_dll_directories=case.default_dll_directories)


def check(case, outcome, launch_directory, arch, limits_dll_search=True):
    """What differs between the outcome and the case's expectations, as a list of findings.
    limits_dll_search: the launcher limits the DLL search before its first LoadLibraryA (1.2.0
    did not)."""
    findings = []

    def expect(actual, wanted, what):
        if actual != wanted:
            findings.append(f"{what}: {actual!r}, expected {wanted!r}")

    expect(outcome.exit_code, 0, "exit code")
    expect(outcome.started, [(case.started, 1)] if case.started else [], "WinExec")
    if case.started:  # from the launch directory
        expect(outcome.current_directory, case.start.rstrip(b"\\") + b"\\" + launch_directory, "current directory")
    expect([(m[0], m[1], m[2], m[3]) for m in outcome.messages],
           [(case.message, MESSAGE_TITLE, 0, 0)] if case.message else [], "message box (text, title, owner, MB_OK)")
    if case.shell:
        size = 112 if arch == "x64" else 60
        file, directory = case.shell
        expect(outcome.shell, [{"size": size, "mask": SHELL_MASK, "owner": 0, "verb": None, "file": file,
                                "parameters": None, "directory": directory, "show": 1}], "ShellExecuteExA")
        names = [name for name, _ in outcome.calls]
        if "CoInitializeEx" not in names or names.index("CoInitializeEx") > names.index("ShellExecuteExA"):
            findings.append("COM was not initialised before ShellExecuteExA")
        else:
            expect(outcome.calls[names.index("CoInitializeEx")][1], [0, COM_APARTMENT], "CoInitializeEx arguments")
    else:
        expect(outcome.shell, [], "ShellExecuteExA")
    if limits_dll_search:
        findings += dll_search_findings(case, outcome)
    return findings


def dll_search_findings(case, outcome):
    """Before each LoadLibraryA the launcher looks SetDefaultDllDirectories up in KERNEL32 and,
    where it is found, limits the search to the system folder, so every DLL is loaded under that
    limit; a start that loads no DLL does neither."""
    limits = [arguments for name, arguments in outcome.calls if name == "SetDefaultDllDirectories"]
    loads = len(outcome.libraries)
    findings = []
    if outcome.kernel32_lookups != [("SetDefaultDllDirectories", i) for i in range(loads)]:
        findings.append(f"KERNEL32 asked for {outcome.kernel32_lookups} (name, DLLs loaded before), "
                        f"expected SetDefaultDllDirectories before each of the {loads} LoadLibraryA")
    if limits != [[SYSTEM32_ONLY]] * (loads if case.default_dll_directories else 0):
        findings.append(f"SetDefaultDllDirectories called with {limits} for {loads} DLLs loaded")
    wanted = SYSTEM32_ONLY if case.default_dll_directories else 0
    unlimited = [name for name, flags in outcome.libraries if flags != wanted]
    if unlimited:
        findings.append(f"loaded with the DLL search not 0x{wanted:x}: {unlimited}")
    return findings


def run_case(path, case, launch_directory, arch, limit=200_000, limits_dll_search=True):
    """The findings of one case on the launcher at path: a refusal or fault is one finding."""
    try:
        outcome = pe_loader.run(pe_loader.load(path), world_for(case, launch_directory), limit)
    except (pe_loader.LoadRefused, pe_loader.RunFailed) as error:
        return [f"{type(error).__name__}: {error}"], None
    return check(case, outcome, launch_directory, arch, limits_dll_search), outcome


# ---- the launchers: built, stamped, made by make for a program with long version strings, 1.2.0

def stamped_launcher(tool, launcher, work):
    stamped = os.path.join(work, "stamped.exe")
    subprocess.run([tool, "set", launcher, "Disc 2\\Setup files", "--output", stamped], check=True,
                   stdout=subprocess.DEVNULL)
    return stamped, b"Disc 2\\Setup files"


def made_launcher(tool, program, arch, work):
    medium = os.path.join(work, "medium")
    shutil.rmtree(medium, ignore_errors=True)
    os.makedirs(os.path.join(medium, "My App 2"))
    shutil.copy(program, os.path.join(medium, "My App 2", "App.exe"))
    subprocess.run([tool, "make", medium, "My App 2/App.exe", "--arch", arch, "--no-autorun"], check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(medium, "App.exe"), b"My App 2"


def section(path, name):
    for candidate in pefile.PE(path, fast_load=True).sections:
        if candidate.Name.rstrip(b"\0") == name:
            return candidate
    return None


def layout_findings(made, built):
    """The made launcher must be the case it stands for: .rsrc grown past its file block and
    its page, .reloc moved in the file and in memory."""
    grown, moved = section(made, b".rsrc"), section(made, b".reloc")
    before, after = section(built, b".rsrc"), section(built, b".reloc")
    findings = []
    if grown.Misc_VirtualSize <= max(before.SizeOfRawData, 0x1000):
        findings.append(f".rsrc of {grown.Misc_VirtualSize} bytes stayed within its block and page")
    if moved.PointerToRawData == after.PointerToRawData or moved.VirtualAddress == after.VirtualAddress:
        findings.append(f".reloc at file offset 0x{moved.PointerToRawData:x}, RVA 0x{moved.VirtualAddress:x}: "
                        "not moved")
    return findings


# ---- defective copies, which the loader must not run as if they were sound

def copy_with(path, work, name, change):
    data = bytearray(open(path, "rb").read())
    change(pefile.PE(path, fast_load=True), data)
    defective = os.path.join(work, name)
    with open(defective, "wb") as file:
        file.write(data)
    return defective


def relocation_entries(pe):
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]])
    return [entry for block in pe.DIRECTORY_ENTRY_BASERELOC for entry in block.entries if entry.type != 0]


def set_relocation_type(rva, new_type):
    """A change that gives the relocation at rva (the first one when rva is None) another type."""
    def change(pe, data):
        entry = next(e for e in relocation_entries(pe) if rva is None or e.rva == rva)
        offset = entry.struct.get_file_offset()
        word = int.from_bytes(data[offset:offset + 2], "little")
        data[offset:offset + 2] = ((new_type << 12) | (word & 0x0FFF)).to_bytes(2, "little")
    return change


def without_execute(pe, data):
    text = next(s for s in pe.sections if s.Name.rstrip(b"\0") == b".text")
    offset = text.get_file_offset() + 36  # Characteristics in the section header
    flags = int.from_bytes(data[offset:offset + 4], "little") & ~pe_loader.SCN_EXECUTE
    data[offset:offset + 4] = flags.to_bytes(4, "little")


def misaligned_frame(pe, data):
    """The entry point's frame made 2 (x86) or 8 (x64) bytes smaller, so that its calls are made
    with the stack misaligned."""
    x64 = pe.FILE_HEADER.Machine == pe_loader.MACHINE_AMD64
    entry = pe.get_offset_from_rva(pe.OPTIONAL_HEADER.AddressOfEntryPoint)
    opcode = b"\x48\x83\xEC" if x64 else b"\x83\xEC"  # sub rsp/esp, imm8
    found = bytes(data[entry:entry + 16]).find(opcode)
    if found < 0:
        raise ValueError("the entry point makes no frame of its own")
    data[entry + found + len(opcode)] -= 8 if x64 else 2


def reads_thread_storage(pe, data):
    """The entry point's first instruction replaced by a read of the TEB's thread-local storage
    pointer, a field the emulation does not set up (the launcher has no thread-local data)."""
    x64 = pe.FILE_HEADER.Machine == pe_loader.MACHINE_AMD64
    entry = pe.get_offset_from_rva(pe.OPTIONAL_HEADER.AddressOfEntryPoint)
    # mov rax, gs:[0x58] / mov eax, fs:[0x2c]
    code = b"\x65\x48\x8B\x04\x25\x58\x00\x00\x00" if x64 else b"\x64\xA1\x2C\x00\x00\x00"
    data[entry:entry + len(code)] = code


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("arch", choices=["x86", "x64"])
    for option in ("--launcher", "--old-launcher", "--stamp", "--program", "--work"):
        parser.add_argument(option, required=True)
    parser.add_argument("--wine-run")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)

    if args.arch == "x86" and args.wine_run and subprocess.run(
            [args.wine_run, "--runs-32-bit"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode:
        print("This machine runs no 32-bit program, so Wine's 32-bit end-to-end tests are skipped here: "
              "the 32-bit launcher is executed in a CPU emulator instead.")

    failures = 0

    def report(name, findings):
        nonlocal failures
        if findings:
            failures += 1
            print(f"FAIL {name}: " + "; ".join(findings))
        else:
            print(f"passed {name}")

    made, made_directory = made_launcher(args.stamp, args.program, args.arch, args.work)
    launchers = [
        ("built", args.launcher, b"Borvi cd1 versie2"),
        ("stamped", *stamped_launcher(args.stamp, args.launcher, args.work)),
        ("made (.reloc moved)", made, made_directory),
        ("1.2.0", args.old_launcher, b"Borvi cd1 versie2"),
    ]
    report(f"{args.arch} made launcher: .rsrc grew and .reloc moved", layout_findings(made, args.launcher))

    fields = set()
    for label, path, launch_directory in launchers:
        for case in cases(launch_directory):
            findings, outcome = run_case(path, case, launch_directory, args.arch,
                                         limits_dll_search=label != "1.2.0")
            if outcome is not None:
                fields |= outcome.fields_read
            report(f"{args.arch} {label} launcher: {case.name}", findings)
    print(f"TEB and PEB fields read: {', '.join(sorted(fields)) or 'none'}")

    # Each defect alone must make the ordinary start fail.
    ordinary = cases(b"Borvi cd1 versie2")[0]
    _, sound = run_case(args.launcher, ordinary, b"Borvi cd1 versie2", args.arch)
    used = sound.relocations_used[0] if sound and sound.relocations_used else None
    defects = [  # what it is, its file, the change, how the defect must show
        ("a relocation left unapplied", "unapplied.exe", set_relocation_type(used, 0) if used is not None else None,
         "RunFailed: "),
        ("a .text that is not executable", "no-execute.exe", without_execute,
         "RunFailed: code fetched from memory that is not executable"),
        ("an unknown relocation type", "unknown-type.exe", set_relocation_type(None, 5),
         "LoadRefused: unknown relocation type 5"),
        ("calls with the stack misaligned", "misaligned.exe", misaligned_frame, "RunFailed: GetCPInfo called with"),
        ("a read of a TEB field not set up", "thread-storage.exe", reads_thread_storage, "RunFailed: read of TEB+0x"),
    ]
    for name, file_name, change, failure in defects:
        if change is None:
            report(f"{args.arch} refused: {name}", ["the sound launcher's run used no relocated word"])
            continue
        defective = copy_with(args.launcher, args.work, file_name, change)
        findings, _ = run_case(defective, ordinary, b"Borvi cd1 versie2", args.arch)
        shown = findings[:1] and findings[0].startswith(failure)
        report(f"{args.arch} refused: {name}" + (f" ({findings[0]})" if findings else ""),
               [] if shown else [f"the defective launcher did not end in {failure}..."])

    # The limit holds: a start that takes more instructions than allowed is stopped.
    findings, _ = run_case(args.launcher, ordinary, b"Borvi cd1 versie2", args.arch, limit=100)
    report(f"{args.arch} refused: a run past its instruction limit",
           [] if findings[:1] and "no ExitProcess within 100 instructions" in findings[0] else
           [f"a start of more than 100 instructions ended in {findings or 'success'}"])

    print(f"{args.arch}: {failures} failed" if failures else f"{args.arch}: every row passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
