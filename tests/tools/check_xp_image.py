#!/usr/bin/python3
"""Checks that 32-bit Windows programs would start on Windows XP (SP3).

check_xp_image.py [--objdump OBJDUMP] EXE...

For each program: the PE header must say i386 (machine 0x14C) with an OS version and a subsystem version of at
most 5.1 (XP's loader refuses a higher subsystem version), and no import may name a DLL or a function that
Windows XP SP3 lacks. A single such import is enough for XP to refuse to start the program ("The procedure entry
point ... could not be located"). The header is read from the file's bytes; the imports come from objdump -p.
Prints one line per program and XP-IMAGE-CHECK-PASSED when all of them pass.
"""
import argparse
import re
import struct
import subprocess
import sys

I386 = 0x14C
XP = (5, 1)

# Functions newer than Windows XP SP3 (Vista and later unless said), as full-match patterns.
NEWER_FUNCTIONS = [
    (r'GetTickCount64', 'Windows Vista'),
    (r'InitializeSRWLock|(Acquire|Release|TryAcquire)SRWLock(Exclusive|Shared)', 'Windows Vista (slim locks)'),
    (r'InitializeConditionVariable|SleepConditionVariable(CS|SRW)|Wake(All)?ConditionVariable',
     'Windows Vista (condition variables)'),
    (r'InitOnce\w+', 'Windows Vista (one-time initialisation)'),
    (r'Fls(Alloc|Free|GetValue|SetValue)', 'Windows Vista on 32-bit Windows (fiber-local storage)'),
    (r'InitializeCriticalSectionEx', 'Windows Vista'),
    (r'Create(Event|Mutex|Semaphore|WaitableTimer)Ex[AW]', 'Windows Vista'),
    (r'GetFileInformationByHandleEx|SetFileInformationByHandle', 'Windows Vista'),
    (r'GetFinalPathNameByHandle[AW]', 'Windows Vista'),
    (r'QueryFullProcessImageName[AW]', 'Windows Vista'),
    (r'CreateSymbolicLink(Transacted)?[AW]', 'Windows Vista'),
    (r'GetLocaleInfoEx|LCIDToLocaleName|LocaleNameToLCID|CompareStringEx|LCMapStringEx|IsValidLocaleName',
     'Windows Vista (locale names)'),
    (r'Get(User|System)DefaultLocaleName|Get(Date|Time|Number|Currency)FormatEx', 'Windows Vista (locale names)'),
    (r'GetErrorMode', 'Windows Vista'),
    (r'(Get|Set)ThreadErrorMode', 'Windows 7'),
    (r'RegGetValue[AW]|RegDeleteTree[AW]|RegSetKeyValue[AW]|RegDeleteKeyEx[AW]|RegCopyTree[AW]', 'Windows Vista'),
    (r'CancelIoEx|GetQueuedCompletionStatusEx|SetFileCompletionNotificationModes', 'Windows Vista'),
    (r'(Create|Close|Set|Submit|WaitFor)Threadpool\w*|TrySubmitThreadpoolCallback', 'Windows Vista (thread pool)'),
    (r'GetThreadId|GetProcessIdOfThread|Query(Thread|Process)CycleTime', 'Windows Vista'),
    (r'GetCurrentProcessorNumber(Ex)?', 'Windows Vista on 32-bit Windows'),
    (r'InterlockedCompareExchange64', 'Windows Vista on 32-bit Windows'),
    (r'GetSystemTimePreciseAsFileTime', 'Windows 8'),
    (r'GetDynamicTimeZoneInformation|GetProductInfo', 'Windows Vista'),
    (r'SHGetKnownFolderPath|SHCreateItemFromParsingName|SHGetStockIconInfo', 'Windows Vista'),
    (r'TaskDialog(Indirect)?', 'Windows Vista (comctl32 6.10)'),
    (r'ChangeWindowMessageFilter(Ex)?|SetProcessDPIAware', 'Windows Vista'),
    (r'(Begin|End)BufferedPaint|BufferedPaint(Init|UnInit)|DrawThemeTextEx|OpenThemeDataEx', 'Windows Vista'),
    (r'\w+Ex2', 'a later Windows (the Ex2 forms)'),
]

# Functions of the C runtime DLL that only Vista's msvcrt.dll brought.
NEWER_MSVCRT = [
    (r'\w+_s', "Windows Vista's msvcrt.dll (the checked _s functions)"),
    (r'_fseeki64|_ftelli64', "Windows Vista's msvcrt.dll"),
]

# Whole DLLs a Windows XP SP3 machine does not have.
NEWER_DLLS = [
    (r'api-ms-win-.*|ext-ms-win-.*', 'API sets (Windows 7 and later)'),
    (r'kernelbase\.dll', 'Windows 7'),
    (r'dwmapi\.dll', 'Windows Vista (desktop composition)'),
    (r'bcrypt\.dll|ncrypt\.dll|bcryptprimitives\.dll', 'Windows Vista (CNG)'),
    (r'propsys\.dll|ktmw32\.dll|wevtapi\.dll|tdh\.dll|mfplat\.dll', 'Windows Vista'),
    (r'd2d1\.dll|dwrite\.dll|d3d11\.dll|d3d10(_1)?\.dll|dxgi\.dll', 'Windows Vista and later'),
    (r'shcore\.dll', 'Windows 8.1'),
    (r'ucrtbase\.dll|vcruntime\d+\.dll|msvcp1\d\d\.dll', 'a runtime XP does not have'),
]


def compiled(rules):
    return [(re.compile(pattern, re.IGNORECASE), reason) for pattern, reason in rules]


FUNCTION_RULES = compiled(NEWER_FUNCTIONS)
MSVCRT_RULES = compiled(NEWER_MSVCRT)
DLL_RULES = compiled(NEWER_DLLS)


def first_match(rules, name):
    for pattern, reason in rules:
        if pattern.fullmatch(name):
            return reason
    return None


class Header:
    """The fields of the PE header the loader of Windows XP looks at."""

    def __init__(self, path):
        with open(path, 'rb') as f:
            head = f.read(4096)
        if len(head) < 0x40 or head[:2] != b'MZ':
            raise ValueError('not a Windows program (no MZ header)')
        pe = struct.unpack_from('<I', head, 0x3C)[0]
        if pe + 0x60 > len(head) or head[pe:pe + 4] != b'PE\0\0':
            raise ValueError('not a Windows program (no PE header)')
        self.machine = struct.unpack_from('<H', head, pe + 4)[0]
        optional = pe + 24
        self.magic = struct.unpack_from('<H', head, optional)[0]
        # These offsets are the same in PE32 and PE32+ optional headers.
        self.os_version = struct.unpack_from('<HH', head, optional + 40)
        self.subsystem_version = struct.unpack_from('<HH', head, optional + 48)
        self.subsystem = struct.unpack_from('<H', head, optional + 68)[0]
        # The delay-import directory (entry 13): its own table, which this check does not read.
        directories = optional + (96 if self.magic == 0x10B else 112)
        if directories + 8 * 14 <= len(head):
            self.delay_imports = struct.unpack_from('<II', head, directories + 8 * 13)[1] != 0
        else:
            self.delay_imports = False


def read_imports(objdump, path):
    """{dll: [function, ...]} from objdump -p's import tables."""
    result = subprocess.run([objdump, '-p', path], capture_output=True, text=True)
    if result.returncode != 0:
        raise ValueError('%s -p failed: %s' % (objdump, result.stderr.strip()))
    imports = {}
    current = None
    for line in result.stdout.splitlines():
        name = re.match(r'\s*DLL Name:\s*(\S+)', line)
        if name:
            current = imports.setdefault(name.group(1), [])
            continue
        if current is None:
            continue
        if not line.strip():
            current = None
            continue
        entry = re.match(r'\s*[0-9a-fA-F]+\s+(\d+)\s+(\S+)', line)
        if entry:
            current.append(entry.group(2))
    return imports


def check(objdump, path):
    """The reasons the program would not start on Windows XP, and a summary of what was read."""
    problems = []
    header = Header(path)
    if header.machine != I386:
        # The 32-bit objdump cannot read it, and nothing else matters for a program 32-bit XP cannot load.
        return ['machine %#x, not i386 (0x14c)' % header.machine], ''
    if tuple(header.os_version) > XP:
        problems.append('OS version %d.%d is above 5.1' % header.os_version)
    if tuple(header.subsystem_version) > XP:
        problems.append('subsystem version %d.%d is above 5.1' % header.subsystem_version)
    if header.delay_imports:
        problems.append('it has delay imports, which this check does not read')

    imports = read_imports(objdump, path)
    if not imports:
        problems.append('objdump lists no imports at all')
    count = 0
    for dll, functions in sorted(imports.items()):
        reason = first_match(DLL_RULES, dll)
        if reason:
            problems.append('imports %s: %s' % (dll, reason))
        for function in functions:
            count += 1
            reason = first_match(FUNCTION_RULES, function)
            if reason is None and dll.lower() == 'msvcrt.dll':
                reason = first_match(MSVCRT_RULES, function)
            if reason:
                problems.append('imports %s from %s: %s' % (function, dll, reason))
    summary = 'machine %#x, OS %d.%d, subsystem %d (version %d.%d), %d functions from %d DLLs' % (
        header.machine, header.os_version[0], header.os_version[1], header.subsystem,
        header.subsystem_version[0], header.subsystem_version[1], count, len(imports))
    return problems, summary


def main():
    parser = argparse.ArgumentParser(description='Check that 32-bit Windows programs start on Windows XP.')
    parser.add_argument('--objdump', default='i686-w64-mingw32-objdump')
    parser.add_argument('programs', nargs='+')
    args = parser.parse_args()

    failed = False
    for path in args.programs:
        try:
            problems, summary = check(args.objdump, path)
        except (OSError, ValueError) as error:
            problems, summary = [str(error)], ''
        if problems:
            failed = True
            for problem in problems:
                print('FAILED: %s: %s' % (path, problem))
        else:
            print('%s: %s' % (path, summary))
    if failed:
        return 1
    print('XP-IMAGE-CHECK-PASSED')
    return 0


if __name__ == '__main__':
    sys.exit(main())
