#!/usr/bin/python3
"""check_xp_image.py must refuse programs Windows XP would not start, and pass one it would.

check_xp_image_refuses.py XP_COMPILER X64_COMPILER OBJDUMP

Builds small probe programs with the real compilers, each with one fault, runs the checker on each as the build
does, and compares its exit code and its complaints with the table; then gives the checker reviewed lists with a
wrong line each. Prints XP-CHECK-SELF-TEST-PASSED when all agree.
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKER = os.path.join(HERE, 'check_xp_image.py')
ALLOWED = os.path.join(HERE, 'xp_imports.txt')
XP_LINK = ['-Wl,--major-os-version,5', '-Wl,--minor-os-version,1',
           '-Wl,--major-subsystem-version,5', '-Wl,--minor-subsystem-version,1']

PLAIN = '#include <windows.h>\nint main(void) { return (int)GetTickCount() & 1; }\n'
# Declared here: the XP headers (rightly) hide it.
TICK64 = ('#include <windows.h>\n__declspec(dllimport) ULONGLONG WINAPI GetTickCount64(void);\n'
          'int main(void) { return (int)(GetTickCount64() & 1); }\n')
SRWLOCK = ('#define _WIN32_WINNT 0x0600\n#include <windows.h>\n'
           'int main(void) { SRWLOCK l; InitializeSRWLock(&l); AcquireSRWLockExclusive(&l); return 0; }\n')
DWM = ('#define _WIN32_WINNT 0x0600\n#include <windows.h>\n#include <dwmapi.h>\n'
       'int main(void) { BOOL on = FALSE; DwmIsCompositionEnabled(&on); return on; }\n')
SECURE_CRT = ('#include <string.h>\n__declspec(dllimport) int __cdecl strcpy_s(char*, size_t, const char*);\n'
              'int main(int argc, char** argv) { char b[8]; return strcpy_s(b, sizeof b, argv[0]); }\n')
# Functions no deny-list named: only the list of reviewed functions keeps them out.
NEWER_UNLISTED = ('#include <windows.h>\n'
                  '__declspec(dllimport) HRESULT WINAPI RegisterApplicationRestart(PCWSTR, DWORD);\n'
                  '__declspec(dllimport) void* WINAPI AddDllDirectory(PCWSTR);\n'
                  'int main(void) { RegisterApplicationRestart(L"", 0); return AddDllDirectory(L"C:\\\\") != 0; }\n')

# (name, compiler: "xp" or "x64", source, extra link flags, expected exit code, expected complaints or None)
CASES = [
    ('xp_program', 'xp', PLAIN, XP_LINK, 0, None),
    ('vista_and_windows_8', 'xp', NEWER_UNLISTED, XP_LINK, 1,
     ['imports RegisterApplicationRestart from KERNEL32.dll: not on the reviewed list',
      'imports AddDllDirectory from KERNEL32.dll: not on the reviewed list']),
    ('tick64', 'xp', TICK64, XP_LINK, 1, 'imports GetTickCount64 from KERNEL32.dll'),
    ('slim_lock', 'xp', SRWLOCK, XP_LINK, 1, 'imports AcquireSRWLockExclusive from KERNEL32.dll'),
    ('dwm', 'xp', DWM, XP_LINK + ['-ldwmapi'], 1, 'imports dwmapi.dll: Windows Vista'),
    ('secure_crt', 'xp', SECURE_CRT, XP_LINK, 1, 'imports strcpy_s from msvcrt.dll'),
    ('vista_subsystem', 'xp', PLAIN, ['-Wl,--major-subsystem-version,6', '-Wl,--minor-subsystem-version,0'], 1,
     'subsystem version 6.0 is above 5.1'),
    ('vista_os', 'xp', PLAIN, ['-Wl,--major-os-version,6', '-Wl,--minor-os-version,0'], 1,
     'OS version 6.0 is above 5.1'),
    ('x64', 'x64', PLAIN, [], 1, 'machine 0x8664, not i386 (0x14c)'),
]

# Lines added to a copy of the reviewed list, each of which must make the check of the plain program fail.
WRONG_LINES = [
    ('KERNEL32.dll AddDllDirectory Windows8', 'AddDllDirectory from KERNEL32.dll needs Windows8, later than Windows XP'),
    ('KERNEL32.dll GetTickCount64 WindowsXP',
     'GetTickCount64 from KERNEL32.dll is listed as WindowsXP, but it is Windows Vista'),
    ('KERNEL32.dll GetTickCount', 'is not "DLL function minimum-client"'),
]


def run_checker(objdump, exe, allowed=ALLOWED):
    run = subprocess.run([sys.executable, CHECKER, '--objdump', objdump, '--allowed', allowed, exe],
                         capture_output=True, text=True)
    return run.returncode, run.stdout + run.stderr


def main():
    compilers = {'xp': sys.argv[1], 'x64': sys.argv[2]}
    objdump = sys.argv[3]
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        # Not a program at all.
        text = os.path.join(scratch, 'text.exe')
        with open(text, 'w') as f:
            f.write('not a program\n')
        programs = [('text', text, 1, ['not a Windows program'])]

        for name, compiler, source, flags, code, complaints in CASES:
            c_file = os.path.join(scratch, name + '.c')
            exe = os.path.join(scratch, name + '.exe')
            with open(c_file, 'w') as f:
                f.write(source)
            build = subprocess.run([compilers[compiler], '-O1', '-o', exe, c_file] + flags,
                                   capture_output=True, text=True)
            if build.returncode != 0:
                failures.append('%s: the probe does not build:\n%s' % (name, build.stderr))
                continue
            if isinstance(complaints, str):
                complaints = [complaints]
            programs.append((name, exe, code, complaints))

        for name, exe, code, complaints in programs:
            returncode, output = run_checker(objdump, exe)
            missing = [c for c in complaints or [] if ('FAILED: %s: %s' % (exe, c)) not in output]
            if returncode != code:
                failures.append('%s: exit %d, expected %d:\n%s' % (name, returncode, code, output))
            elif complaints is None and 'XP-IMAGE-CHECK-PASSED' not in output:
                failures.append('%s: passed without its success line:\n%s' % (name, output))
            elif missing:
                failures.append('%s: the complaints %s are missing:\n%s' % (name, missing, output))
            else:
                print('%s: %s' % (name, 'passed' if complaints is None else 'refused: ' + '; '.join(complaints)))

        # The plain program passes with the reviewed list, and fails with each wrong line added to it.
        plain = dict((name, exe) for name, exe, _, _ in programs).get('xp_program')
        with open(ALLOWED, encoding='utf-8') as f:
            reviewed = f.read()
        for number, (line, complaint) in enumerate(WRONG_LINES):
            if plain is None:
                failures.append('the plain probe did not build: the list checks did not run')
                break
            wrong = os.path.join(scratch, 'wrong%d.txt' % number)
            with open(wrong, 'w', encoding='utf-8') as f:
                f.write(reviewed + line + '\n')
            returncode, output = run_checker(objdump, plain, wrong)
            if returncode != 1 or complaint not in output or 'XP-IMAGE-CHECK-PASSED' in output:
                failures.append('list line "%s": exit %d, expected 1 with "%s":\n%s' % (line, returncode, complaint,
                                                                                      output))
            else:
                print('list line "%s": refused: %s' % (line, complaint))

    for failure in failures:
        print('FAILED: ' + failure)
    if failures:
        return 1
    print('XP-CHECK-SELF-TEST-PASSED')
    return 0


if __name__ == '__main__':
    sys.exit(main())
