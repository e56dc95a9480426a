#!/usr/bin/env python3
"""Checks the application manifest of a built Windows program as a reader that shares
nothing with ours sees it: wrestool finds exactly one manifest resource, identifier 1; it
parses as XML and asks to run as the invoking user, without UI access; it names every
supported Windows version; with --window, it also declares per-monitor DPI awareness (the
dpiAwareness list given, PerMonitorV2 by default) and the Common Controls 6.0 dependency; and
it never changes the code page or the path length.

    check_manifest.py [--window [--awareness LIST]] FILE.exe
"""
import subprocess
import sys
import xml.etree.ElementTree as ET

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  # Vista
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # 10 and 11
}


def main():
    arguments = sys.argv[1:]
    window = "--window" in arguments
    awareness = "PerMonitorV2"
    if "--awareness" in arguments:
        at = arguments.index("--awareness")
        awareness = arguments[at + 1]
        del arguments[at:at + 2]
    exe = [a for a in arguments if a != "--window"][0]
    listing = subprocess.run(["wrestool", "-l", "--type=24", exe], capture_output=True, text=True, check=True).stdout
    entries = [line for line in listing.splitlines() if line.strip()]
    problems = []
    if len(entries) != 1 or "--name=1 " not in entries[0] + " ":
        problems.append(f"expected one manifest with identifier 1, found {entries}")
    raw = subprocess.run(["wrestool", "-x", "--raw", "--type=24", "--name=1", exe], capture_output=True, check=True).stdout
    try:
        root = ET.fromstring(raw)
    except ET.ParseError as error:
        sys.exit(f"{exe}: the manifest is not well-formed XML: {error}")

    level = root.find(f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/{ASM_V3}requestedExecutionLevel")
    if level is None or level.get("level") != "asInvoker" or level.get("uiAccess") != "false":
        problems.append("no requestedExecutionLevel asInvoker without UI access")
    ids = {os.get("Id") for os in root.iter(f"{COMPAT}supportedOS")}
    if ids != SUPPORTED_OS:
        problems.append(f"supportedOS ids are {sorted(ids)}")
    # Window settings, by name, whatever their schema's year.
    settings = {element.tag.split("}")[1]: (element.text or "").strip()
                for element in root.iter() if element.tag.startswith("{http://schemas.microsoft.com/SMI/")}
    controls = [identity for identity in root.iter(f"{ASM_V1}assemblyIdentity")
                if identity.get("name") == "Microsoft.Windows.Common-Controls" and identity.get("version") == "6.0.0.0"]
    if window:
        if settings.get("dpiAware") != "true/pm" or settings.get("dpiAwareness") != awareness:
            problems.append(f"DPI awareness is {settings}, expected true/pm and {awareness}")
        if len(controls) != 1:
            problems.append("no dependency on Common Controls 6.0")
    elif settings or controls:
        problems.append("a program without a window declares DPI awareness or Common Controls")
    for forbidden in ("activeCodePage", "longPathAware"):
        if forbidden in settings:
            problems.append(f"it sets {forbidden}, which changes how names are read")
    if problems:
        sys.exit(f"{exe}:\n  " + "\n  ".join(problems))
    print(f"{exe}: manifest 1: asInvoker, {len(ids)} supported Windows versions"
          + (", per-monitor DPI aware, Common Controls 6.0" if window else ""))


if __name__ == "__main__":
    main()
