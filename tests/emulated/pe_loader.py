# A small loader that runs a launcher's own code on an emulated CPU, with stand-ins for Windows.
#
# load() maps a PE image as Windows does (sections with their protections, base relocations at a
# base other than the preferred one, imports bound to stand-ins) and run() starts it at its entry
# point with a TEB and PEB, under an instruction limit. The stand-ins answer from a World (what
# Windows would show the program) and record every call in an Outcome. Both x86 (stdcall) and x64
# (the Microsoft x64 calling convention) are handled; the stack's alignment is checked at each call.
import struct

import pefile
from unicorn import (UC_ARCH_X86, UC_HOOK_CODE, UC_HOOK_MEM_INVALID, UC_HOOK_MEM_READ, UC_MEM_FETCH_PROT,
                     UC_MEM_FETCH_UNMAPPED, UC_MEM_READ_PROT, UC_MEM_WRITE_PROT, UC_MODE_32, UC_MODE_64,
                     UC_PROT_EXEC, UC_PROT_NONE, UC_PROT_READ, UC_PROT_WRITE, Uc, UcError)
from unicorn import x86_const as x86

PAGE = 0x1000
MACHINE_I386, MACHINE_AMD64 = 0x14C, 0x8664
SCN_EXECUTE, SCN_READ, SCN_WRITE = 0x20000000, 0x40000000, 0x80000000
ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_MOD_NOT_FOUND, ERROR_PROC_NOT_FOUND = 2, 3, 126, 127


class LoadRefused(Exception):
    """The image cannot be loaded as Windows would load it."""


class RunFailed(Exception):
    """The code did what no program may: a fault, a misaligned call, an unknown TEB field..."""


def align_up(value, alignment=PAGE):
    return (value + alignment - 1) // alignment * alignment


class Arch:
    """What differs between x86 and x64: registers, pointer size, where the TEB keeps things."""

    def __init__(self, bits):
        self.bits, self.pointer = bits, bits // 8
        x64 = bits == 64
        self.mode = UC_MODE_64 if x64 else UC_MODE_32
        self.sp = x86.UC_X86_REG_RSP if x64 else x86.UC_X86_REG_ESP
        self.ip = x86.UC_X86_REG_RIP if x64 else x86.UC_X86_REG_EIP
        self.result = x86.UC_X86_REG_RAX if x64 else x86.UC_X86_REG_EAX
        self.argument_registers = [x86.UC_X86_REG_RCX, x86.UC_X86_REG_RDX, x86.UC_X86_REG_R8,
                                   x86.UC_X86_REG_R9] if x64 else []
        # Registers a called function may leave changed (the others it must keep).
        self.volatile = ([x86.UC_X86_REG_RCX, x86.UC_X86_REG_RDX, x86.UC_X86_REG_R8, x86.UC_X86_REG_R9,
                          x86.UC_X86_REG_R10, x86.UC_X86_REG_R11] if x64 else
                         [x86.UC_X86_REG_ECX, x86.UC_X86_REG_EDX])
        # At a function's first instruction, after the call pushed its return address.
        self.stack_alignment, self.stack_remainder = (16, 8) if x64 else (4, 0)
        # Places for the emulated process: above 4 GiB on x64, so that a truncated pointer faults.
        high = 0x7_0000_0000 if x64 else 0
        self.image_base = 0x6_5430_0000 if x64 else 0x1000_0000
        self.stack = high + 0x0010_0000
        self.stack_size = 0x10_0000
        self.data = high + 0x0030_0000  # strings and structures the stand-ins hand out
        self.stubs = high + 0x0040_0000  # one small routine per stand-in
        self.teb = high + 0x0050_0000
        self.peb = self.teb + PAGE
        self.gdt = self.teb + 2 * PAGE
        # TEB and PEB fields the emulation fills in, by offset; any other read is reported.
        self.teb_fields = ({0x00: "TEB.ExceptionList", 0x08: "TEB.StackBase", 0x10: "TEB.StackLimit",
                            0x30: "TEB.Self", 0x60: "TEB.ProcessEnvironmentBlock", 0x68: "TEB.LastErrorValue"}
                           if x64 else
                           {0x00: "TEB.ExceptionList", 0x04: "TEB.StackBase", 0x08: "TEB.StackLimit",
                            0x18: "TEB.Self", 0x30: "TEB.ProcessEnvironmentBlock", 0x34: "TEB.LastErrorValue"})
        self.peb_fields = {0x02: "PEB.BeingDebugged", (0x10 if x64 else 0x08): "PEB.ImageBaseAddress"}
        self.last_error_offset = 0x68 if x64 else 0x34


class Image:
    """A PE file mapped into an emulator: where it lies and what it imports."""

    def __init__(self, uc, arch, base, preferred_base, size, entry, imports, relocations):
        self.uc, self.arch, self.base, self.size, self.entry = uc, arch, base, size, entry
        self.preferred_base = preferred_base
        self.imports = imports  # [(dll, name, address of its IAT slot)]
        self.relocations = relocations  # RVAs of the words relocated

    def unrelocated(self, address):
        """Words to add to a fault at address when it lies where the image would be at its
        preferred base: a sign of an absolute address the relocations did not cover."""
        if self.preferred_base <= address < self.preferred_base + self.size:
            return " (inside the image at its preferred base: a relocation was not applied)"
        return ""


def section_protection(characteristics):
    protection = UC_PROT_NONE
    if characteristics & SCN_READ:
        protection |= UC_PROT_READ
    if characteristics & SCN_WRITE:
        protection |= UC_PROT_WRITE
    if characteristics & SCN_EXECUTE:
        protection |= UC_PROT_EXEC
    return protection


def load(path):
    """Maps the PE file at path at an unusual base. Raises LoadRefused for what Windows refuses
    or a careful loader cannot do faithfully (an unknown relocation type, say)."""
    try:
        pe = pefile.PE(path, fast_load=True)
    except pefile.PEFormatError as error:
        raise LoadRefused(f"not a PE image: {error}") from None
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"],
                                           pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]])
    machine = pe.FILE_HEADER.Machine
    if machine not in (MACHINE_I386, MACHINE_AMD64):
        raise LoadRefused(f"machine 0x{machine:x} is neither x86 nor x64")
    arch = Arch(64 if machine == MACHINE_AMD64 else 32)
    header = pe.OPTIONAL_HEADER
    if header.SectionAlignment % PAGE:
        raise LoadRefused(f"section alignment 0x{header.SectionAlignment:x} is not a page multiple")
    base = arch.image_base
    if base == header.ImageBase:
        raise LoadRefused("the emulation's base is the image's preferred base")
    size = align_up(header.SizeOfImage)

    uc = Uc(UC_ARCH_X86, arch.mode)
    uc.mem_map(base, size, UC_PROT_NONE)
    memory = bytearray(size)
    headers = pe.__data__[:header.SizeOfHeaders]
    memory[:len(headers)] = headers
    protections = [(0, align_up(header.SizeOfHeaders), UC_PROT_READ)]
    for section in pe.sections:
        start = section.VirtualAddress
        span = align_up(section.Misc_VirtualSize or section.SizeOfRawData)
        if start % PAGE or start + span > size:
            name = section.Name.rstrip(b"\0").decode()
            raise LoadRefused(f"section {name} lies outside the image")
        raw = section.get_data()
        if section.Misc_VirtualSize:  # the rest of the last page is zeros, whatever the file holds
            raw = raw[:section.Misc_VirtualSize]
        memory[start:start + len(raw)] = raw
        protections.append((start, span, section_protection(section.Characteristics)))

    relocations = apply_relocations(pe, arch, memory, base - header.ImageBase)
    imports = []
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        for symbol in entry.imports:
            if symbol.name is None:
                raise LoadRefused(f"{entry.dll.decode()} imported by ordinal {symbol.ordinal}")
            imports.append((entry.dll.decode().lower(), symbol.name.decode(), base + symbol.address - header.ImageBase))

    uc.mem_write(base, bytes(memory))
    for start, span, protection in protections:
        uc.mem_protect(base + start, span, protection)
    return Image(uc, arch, base, header.ImageBase, size, base + header.AddressOfEntryPoint, imports, relocations)


def apply_relocations(pe, arch, memory, delta):
    """Applies the base relocations to memory; returns the RVAs relocated. Only the types this
    architecture's images carry are known: anything else is refused, never skipped."""
    if not pe.OPTIONAL_HEADER.DllCharacteristics & 0x40:  # IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE
        raise LoadRefused("the image does not allow another base")
    known = {0: "absolute", 10: "dir64"} if arch.bits == 64 else {0: "absolute", 3: "highlow"}
    relocated = []
    for block in getattr(pe, "DIRECTORY_ENTRY_BASERELOC", []):
        for entry in block.entries:
            if entry.type not in known:
                raise LoadRefused(f"unknown relocation type {entry.type} at RVA 0x{entry.rva:x}")
            if entry.type == 0:  # padding
                continue
            width = arch.pointer
            if entry.rva + width > len(memory):
                raise LoadRefused(f"relocation at RVA 0x{entry.rva:x} outside the image")
            form = "<Q" if width == 8 else "<I"
            value = (struct.unpack_from(form, memory, entry.rva)[0] + delta) % (1 << (8 * width))
            struct.pack_into(form, memory, entry.rva, value)
            relocated.append(entry.rva)
    return relocated


class Outcome:
    """What the launcher asked of Windows in one run."""

    def __init__(self):
        self.calls = []  # (name, arguments) in order
        self.started = []  # (command, show mode) handed to WinExec
        self.shell = []  # dicts of the SHELLEXECUTEINFOA handed to ShellExecuteExA
        self.messages = []  # (text, title, owner, style)
        self.libraries = []  # (name, the default DLL search's flags when LoadLibraryA was asked for it)
        self.kernel32_lookups = []  # (name, LoadLibraryA calls before it) asked of KERNEL32's GetProcAddress
        self.exit_code = None
        self.current_directory = None  # when the process ended
        self.fields_read = set()  # TEB and PEB fields the code read
        self.relocations_used = []  # RVAs of relocated words the code fetched or read, first use first
        self.instructions = 0


def run(image, world, limit=200_000):
    """Runs image from its entry point against world until ExitProcess. Returns an Outcome; raises
    RunFailed when the code faults, returns from its entry point, calls with a misaligned stack,
    reads a TEB/PEB field the emulation does not fill in, or runs past limit instructions."""
    uc, arch = image.uc, image.arch
    outcome = Outcome()
    state = {"fault": None, "last_error": 0, "heap": arch.data}

    uc.mem_map(arch.stack, arch.stack_size, UC_PROT_READ | UC_PROT_WRITE)
    uc.mem_map(arch.data, 0x10_0000, UC_PROT_READ | UC_PROT_WRITE)
    uc.mem_map(arch.teb, 3 * PAGE, UC_PROT_READ | UC_PROT_WRITE)
    stack_top = arch.stack + arch.stack_size

    def put_pointer(address, value):
        uc.mem_write(address, value.to_bytes(arch.pointer, "little"))

    put_pointer(arch.teb + 0, (1 << arch.bits) - 1)
    put_pointer(arch.teb + (0x08 if arch.bits == 64 else 0x04), stack_top)
    put_pointer(arch.teb + (0x10 if arch.bits == 64 else 0x08), arch.stack)
    put_pointer(arch.teb + (0x30 if arch.bits == 64 else 0x18), arch.teb)
    put_pointer(arch.teb + (0x60 if arch.bits == 64 else 0x30), arch.peb)
    put_pointer(arch.peb + (0x10 if arch.bits == 64 else 0x08), image.base)
    if arch.bits == 64:
        uc.reg_write(x86.UC_X86_REG_GS_BASE, arch.teb)
    else:
        # FS selects the TEB through a descriptor of its own; the stack and data segments get
        # flat 32-bit descriptors, which loading any selector makes the CPU look up.
        def descriptor(base, limit, flags):  # a writable data segment
            return struct.pack("<Q", limit & 0xFFFF | (base & 0xFFFFFF) << 16 | 0x92 << 40 |
                               (limit >> 16 & 0xF) << 48 | flags << 52 | (base >> 24) << 56)
        uc.mem_write(arch.gdt + 8, descriptor(0, 0xFFFFF, 0xC) + descriptor(arch.teb, PAGE - 1, 0x4))
        uc.reg_write(x86.UC_X86_REG_GDTR, (0, arch.gdt, 23, 0))
        for register in (x86.UC_X86_REG_SS, x86.UC_X86_REG_DS, x86.UC_X86_REG_ES):
            uc.reg_write(register, 0x08)
        uc.reg_write(x86.UC_X86_REG_FS, 0x10)

    def allocate(data):
        address = state["heap"]
        uc.mem_write(address, data)
        state["heap"] = align_up(address + len(data), 16)
        return address

    def set_last_error(code):
        state["last_error"] = code
        uc.mem_write(arch.teb + arch.last_error_offset, struct.pack("<I", code))

    command_line = allocate(world.command_line + b"\0")
    stand_ins = StandIns(uc, arch, image, world, outcome, set_last_error, state, command_line)

    # One routine per stand-in: x86 `ret N` pops the stdcall arguments, x64 `ret`.
    uc.mem_map(arch.stubs, PAGE, UC_PROT_READ | UC_PROT_EXEC)
    routines = {}
    for index, (name, (count, _)) in enumerate(sorted(stand_ins.table.items())):
        address = arch.stubs + 16 * index
        code = b"\xC3" if arch.bits == 64 else b"\xC2" + struct.pack("<H", 4 * count)
        uc.mem_write(address, code)
        routines[address] = name
    stand_ins.routines = {name: address for address, name in routines.items()}
    returned = arch.stubs + 16 * len(routines)
    uc.mem_write(returned, b"\xF4")  # hlt: the entry point returned
    for dll, name, slot in image.imports:
        if dll != "kernel32.dll" or name not in stand_ins.routines or name in StandIns.LOADED:
            raise LoadRefused(f"import {dll}!{name} has no stand-in")
        put_pointer(slot, stand_ins.routines[name])

    def on_stub(uc_, address, size, _):
        if address == returned:
            state["fault"] = "the entry point returned instead of calling ExitProcess"
            uc.emu_stop()
            return
        sp = uc.reg_read(arch.sp)
        name = routines[address]
        if sp % arch.stack_alignment != arch.stack_remainder:
            state["fault"] = f"{name} called with the stack misaligned (sp=0x{sp:x})"
            uc.emu_stop()
            return
        count, handler = stand_ins.table[name]
        arguments = [stand_ins.argument(i) for i in range(count)]
        outcome.calls.append((name, arguments))
        if arch.bits == 64:  # the callee owns the caller's 32-byte home space
            uc.mem_write(sp + 8, b"\xCC" * 32)
        result = handler(*arguments)
        for register in arch.volatile:
            uc.reg_write(register, 0xDEADBEEF)
        uc.reg_write(arch.result, result if result is not None else 0xDEADBEEF)

    def on_code(uc_, address, size, _):
        outcome.instructions += 1
        for rva in image.relocations:
            if address <= image.base + rva < address + size and rva not in outcome.relocations_used:
                outcome.relocations_used.append(rva)

    def on_read(uc_, access, address, size, value, _):
        for region, fields in ((arch.teb, arch.teb_fields), (arch.peb, arch.peb_fields)):
            if region <= address < region + PAGE:
                offset = address - region
                known = fields.get(offset)
                if known is None:
                    block = "TEB" if region == arch.teb else "PEB"
                    state["fault"] = f"read of {block}+0x{offset:x}, a field not set up"
                    uc.emu_stop()
                else:
                    outcome.fields_read.add(known)
        if image.base <= address < image.base + image.size:
            for rva in image.relocations:
                if address < image.base + rva + arch.pointer and image.base + rva < address + size:
                    if rva not in outcome.relocations_used:
                        outcome.relocations_used.append(rva)

    def on_invalid(uc_, access, address, size, value, _):
        kind = {UC_MEM_FETCH_PROT: "code fetched from memory that is not executable",
                UC_MEM_FETCH_UNMAPPED: "code fetched from unmapped memory",
                UC_MEM_READ_PROT: "read of memory that is not readable",
                UC_MEM_WRITE_PROT: "write to read-only memory"}.get(access, "access to unmapped memory")
        state["fault"] = f"{kind} at 0x{address:x}{image.unrelocated(address)}"
        return False

    uc.hook_add(UC_HOOK_CODE, on_stub, begin=arch.stubs, end=arch.stubs + PAGE - 1)
    uc.hook_add(UC_HOOK_CODE, on_code, begin=image.base, end=image.base + image.size - 1)
    uc.hook_add(UC_HOOK_MEM_READ, on_read)
    uc.hook_add(UC_HOOK_MEM_INVALID, on_invalid)

    # Enter as Windows does: as if called, with the stack aligned for a call.
    sp = stack_top - 0x100
    sp -= arch.pointer
    put_pointer(sp, returned)
    uc.reg_write(arch.sp, sp)
    try:
        uc.emu_start(image.entry, 0, count=limit)
    except UcError as error:
        pc = uc.reg_read(arch.ip)
        raise RunFailed(f"{state['fault'] or error}, by the instruction at RVA 0x{pc - image.base:x}") from None
    if state["fault"]:
        raise RunFailed(state["fault"])
    if outcome.exit_code is None:
        raise RunFailed(f"no ExitProcess within {limit} instructions")
    outcome.current_directory = world.current_directory
    return outcome


class World:
    """Windows as the launcher finds it: its command line, current directory, the folders that
    exist (named case-insensitively), the OEM code page's lead-byte ranges, what WinExec comes
    to, which of the DLLs loaded on the rare paths cannot be had, and whether KERNEL32 exports
    SetDefaultDllDirectories (not on a Windows 7 without its update)."""

    def __init__(self, command_line, current_directory, directories=(), lead_bytes=(),
                 win_exec_result=(33, 0), missing_libraries=(), default_dll_directories=True):
        self.command_line = command_line
        self.current_directory = current_directory
        self.directories = {self.key(d) for d in directories}
        self.lead_bytes = list(lead_bytes)  # pairs of first and last byte, e.g. [0x81, 0x9F, 0xE0, 0xFC]
        self.win_exec_result = win_exec_result  # (return value, last error when below 32)
        self.missing_libraries = set(missing_libraries)
        self.default_dll_directories = default_dll_directories

    @staticmethod
    def key(path):
        return path.rstrip(b"\\").lower() if len(path) > 3 else path.lower()

    def resolve(self, path):
        """The absolute form of path against the current directory; None for a form not modelled
        (a drive-relative path such as X:name)."""
        if path[1:3] == b":\\":
            absolute = path
        elif path[1:2] == b":":
            return None
        elif path.startswith(b"\\"):
            absolute = self.current_directory[:2] + path
        else:
            absolute = self.current_directory.rstrip(b"\\") + b"\\" + path
        return absolute if len(absolute) <= 3 else absolute.rstrip(b"\\")

    def is_directory(self, path):
        return self.key(path) in self.directories


class StandIns:
    """KERNEL32's functions as the launcher imports them, the one it looks up in KERNEL32 and
    the ones it loads from user32, shell32 and ole32, answering from the world and recording into
    the outcome."""

    # Reached only via GetProcAddress: an image that imports one of them is refused.
    LOADED = {"MessageBoxA", "ShellExecuteExA", "CoInitializeEx", "SetDefaultDllDirectories"}
    EXPORTS = {"user32.dll": "MessageBoxA", "shell32.dll": "ShellExecuteExA", "ole32.dll": "CoInitializeEx"}
    LOOKED_UP = "SetDefaultDllDirectories"  # in KERNEL32, where the world has it

    def __init__(self, uc, arch, image, world, outcome, set_last_error, state, command_line):
        self.uc, self.arch, self.image, self.world, self.outcome = uc, arch, image, world, outcome
        self.set_last_error, self.state = set_last_error, state
        self.command_line = command_line  # the address of the process's command line
        self.modules = {}  # handle -> DLL name, for the libraries loaded
        self.kernel32 = 0x7FFB_0000_0000 if arch.bits == 64 else 0x7FE0_0000  # its module handle
        self.dll_search = 0  # the flags of the last SetDefaultDllDirectories; 0: Windows' own search
        self.table = {  # name -> (number of arguments, handler)
            "ExitProcess": (1, self.exit_process),
            "GetCPInfo": (2, self.get_cp_info),
            "GetCommandLineA": (0, lambda: self.command_line),
            "GetCurrentDirectoryA": (2, self.get_current_directory),
            "GetLastError": (0, lambda: self.state["last_error"]),
            "GetModuleHandleA": (1, self.get_module_handle),
            "GetProcAddress": (2, self.get_proc_address),
            "LoadLibraryA": (1, self.load_library),
            "SetCurrentDirectoryA": (1, self.set_current_directory),
            "WinExec": (2, self.win_exec),
            "MessageBoxA": (4, self.message_box),
            "ShellExecuteExA": (1, self.shell_execute),
            "CoInitializeEx": (2, self.co_initialize),
            "SetDefaultDllDirectories": (1, self.set_default_dll_directories),
        }

    def argument(self, index):
        arch = self.arch
        if index < len(arch.argument_registers):
            return self.uc.reg_read(arch.argument_registers[index])
        sp = self.uc.reg_read(arch.sp)
        offset = arch.pointer * (1 + index)  # past the return address (x64: the home space holds 0-3)
        return int.from_bytes(self.uc.mem_read(sp + offset, arch.pointer), "little")

    def string(self, address, limit=4096):
        if address == 0:
            return None
        data = b""
        while len(data) < limit:  # a page at a time: the string may end just before unmapped memory
            position = address + len(data)
            try:
                data += bytes(self.uc.mem_read(position, PAGE - position % PAGE))
            except UcError:
                break
            if b"\0" in data:
                return data[:data.index(b"\0")]
        raise RunFailed(f"string at 0x{address:x} has no end within {limit} bytes of readable memory"
                        f"{self.image.unrelocated(address)}")

    def pointer_at(self, address):
        return int.from_bytes(self.uc.mem_read(address, self.arch.pointer), "little")

    def exit_process(self, code):
        self.outcome.exit_code = code & 0xFFFFFFFF
        self.uc.emu_stop()

    def get_cp_info(self, code_page, info):
        if code_page != 1:  # CP_OEMCP
            raise RunFailed(f"GetCPInfo asked for code page {code_page}, not the OEM code page")
        lead = self.world.lead_bytes
        # CPINFO: MaxCharSize, DefaultChar[2], LeadByte[12]
        self.uc.mem_write(info, struct.pack("<I2s12s", 2 if lead else 1, b"?\0", bytes(lead).ljust(12, b"\0")))
        return 1

    def get_current_directory(self, capacity, buffer):
        path = self.world.current_directory
        if len(path) + 1 > capacity:
            return len(path) + 1  # the size needed, NUL included; nothing written
        self.uc.mem_write(buffer, path + b"\0")
        return len(path)

    def set_current_directory(self, address):
        path = self.world.resolve(self.string(address))
        if path is None or not self.world.is_directory(path):
            self.set_last_error(ERROR_FILE_NOT_FOUND if path else ERROR_PATH_NOT_FOUND)
            return 0
        self.world.current_directory = path
        return 1

    def get_module_handle(self, name):
        if name == 0:
            return self.image.base
        asked = self.string(name)
        if asked.lower() not in (b"kernel32.dll", b"kernel32"):
            raise RunFailed(f"GetModuleHandleA asked for {asked!r}, neither the program itself nor KERNEL32")
        return self.kernel32

    def load_library(self, address):
        name = self.string(address).decode("latin-1").lower()
        if "." not in name:  # a bare name: LoadLibraryA appends the default extension
            name += ".dll"
        self.outcome.libraries.append((name, self.dll_search))
        if name not in self.EXPORTS or name in self.world.missing_libraries:
            self.set_last_error(ERROR_MOD_NOT_FOUND)
            return 0
        handle = (0x7FFA_0000_0000 if self.arch.bits == 64 else 0x7FF0_0000) + 0x1_0000 * list(self.EXPORTS).index(name)
        self.modules[handle] = name
        return handle

    def get_proc_address(self, module, address):
        if module == self.kernel32 and address >= 0x10000:
            name = self.string(address).decode("latin-1")
            self.outcome.kernel32_lookups.append((name, len(self.outcome.libraries)))
            if name != self.LOOKED_UP or not self.world.default_dll_directories:
                self.set_last_error(ERROR_PROC_NOT_FOUND)
                return 0
            return self.routines[name]
        if module not in self.modules or address < 0x10000:
            self.set_last_error(ERROR_PROC_NOT_FOUND)
            return 0
        name = self.string(address).decode("latin-1")
        if self.EXPORTS[self.modules[module]] != name:
            self.set_last_error(ERROR_PROC_NOT_FOUND)
            return 0
        return self.routines[name]

    def win_exec(self, command, show):
        self.outcome.started.append((self.string(command), show))
        result, error = self.world.win_exec_result
        if result < 32:
            self.set_last_error(error)
        return result

    def message_box(self, owner, text, title, style):
        self.outcome.messages.append((self.string(text), self.string(title), owner, style))
        return 1  # IDOK

    def shell_execute(self, info):
        p = self.arch.pointer
        # SHELLEXECUTEINFOA: cbSize, fMask, then hwnd, lpVerb, lpFile, lpParameters, lpDirectory
        # (pointers, aligned), then nShow.
        size, mask = struct.unpack("<II", self.uc.mem_read(info, 8))
        fields = [self.pointer_at(info + 8 + p * i) for i in range(5)]
        show = struct.unpack("<i", self.uc.mem_read(info + 8 + 5 * p, 4))[0]
        self.outcome.shell.append({"size": size, "mask": mask, "owner": fields[0], "verb": self.string(fields[1]),
                                   "file": self.string(fields[2]), "parameters": self.string(fields[3]),
                                   "directory": self.string(fields[4]), "show": show})
        return 1

    def co_initialize(self, reserved, mode):
        return 0  # S_OK

    def set_default_dll_directories(self, flags):
        # Only the LOAD_LIBRARY_SEARCH_* flags (0x100 to 0x1000) are valid.
        if flags == 0 or flags & ~0x1F00:
            self.set_last_error(87)  # ERROR_INVALID_PARAMETER
            return 0
        self.dll_search = flags
        return 1
