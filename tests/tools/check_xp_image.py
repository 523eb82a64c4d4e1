#!/usr/bin/python3
"""Checks that 32-bit Windows programs would start on Windows XP (SP3).

check_xp_image.py [--objdump OBJDUMP] [--allowed LIST] EXE...

For each program: the PE header must say i386 (machine 0x14C) with an OS version and a subsystem version of at
most 5.1 (XP's loader refuses a higher subsystem version), and every import must be on the reviewed list
(xp_imports.txt beside this script): the functions whose documented minimum supported client is Windows XP or
earlier. A single import Windows XP SP3 lacks is enough for XP to refuse to start the program ("The procedure
entry point ... could not be located"), so anything not reviewed fails until someone looks up its requirements
and adds it. The list itself is checked too: a minimum later than XP, or a function known to be newer, is
refused. The header is read from the file's bytes; the imports come from objdump -p. Prints one line per program
and XP-IMAGE-CHECK-PASSED when all of them pass.
"""
import os
import argparse
import re
import struct
import subprocess
import sys

I386 = 0x14C
XP = (5, 1)
HERE = os.path.dirname(os.path.abspath(__file__))
LIST_NAME = 'xp_imports.txt'
# The minimum clients a line of the list may name: Windows XP or earlier.
XP_OR_EARLIER = {'Windows95', 'Windows98', 'WindowsNT4', 'Windows2000', 'WindowsXP'}

# Functions known to be newer than Windows XP SP3 (Vista and later unless said), as full-match patterns: a line of
# the list that names one is a mistake, and an import of one gets the reason.
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


def read_allowed(path):
    """{(dll lowercased, function): minimum} from the reviewed list, and the problems of its lines."""
    allowed = {}
    problems = []
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            text = line.split('#', 1)[0].strip()
            if not text:
                continue
            fields = text.split()
            where = '%s:%d' % (os.path.basename(path), number)
            if len(fields) != 3:
                problems.append('%s: "%s" is not "DLL function minimum-client"' % (where, text))
                continue
            dll, function, minimum = fields
            if minimum not in XP_OR_EARLIER:
                problems.append('%s: %s from %s needs %s, later than Windows XP (or not one of %s)' % (
                    where, function, dll, minimum, ', '.join(sorted(XP_OR_EARLIER))))
                continue
            reason = first_match(DLL_RULES, dll) or first_match(FUNCTION_RULES, function)
            if reason is None and dll.lower() == 'msvcrt.dll':
                reason = first_match(MSVCRT_RULES, function)
            if reason:
                problems.append('%s: %s from %s is listed as %s, but it is %s' % (where, function, dll, minimum,
                                                                                 reason))
                continue
            allowed[(dll.lower(), function)] = minimum
    return allowed, problems


def check(objdump, path, allowed):
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
    listed_dlls = {dll for dll, _ in allowed}
    for dll, functions in sorted(imports.items()):
        if dll.lower() not in listed_dlls:
            reason = first_match(DLL_RULES, dll) or 'no function of it has been reviewed'
            problems.append('imports %s: %s' % (dll, reason))
        for function in functions:
            count += 1
            if (dll.lower(), function) in allowed:
                continue
            reason = first_match(FUNCTION_RULES, function)
            if reason is None and dll.lower() == 'msvcrt.dll':
                reason = first_match(MSVCRT_RULES, function)
            problems.append('imports %s from %s: not on the reviewed list %s%s (add it with its documented minimum '
                            'client once that is Windows XP or earlier)' % (
                                function, dll, LIST_NAME, ' -- it is ' + reason if reason else ''))
    summary = 'machine %#x, OS %d.%d, subsystem %d (version %d.%d), %d functions from %d DLLs' % (
        header.machine, header.os_version[0], header.os_version[1], header.subsystem,
        header.subsystem_version[0], header.subsystem_version[1], count, len(imports))
    return problems, summary


def main():
    parser = argparse.ArgumentParser(description='Check that 32-bit Windows programs start on Windows XP.')
    parser.add_argument('--objdump', default='i686-w64-mingw32-objdump')
    parser.add_argument('--allowed', default=os.path.join(HERE, LIST_NAME))
    parser.add_argument('programs', nargs='+')
    args = parser.parse_args()

    allowed, list_problems = read_allowed(args.allowed)
    for problem in list_problems:
        print('FAILED: %s' % problem)
    failed = bool(list_problems)
    for path in args.programs:
        try:
            problems, summary = check(args.objdump, path, allowed)
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
