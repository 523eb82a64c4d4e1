#!/usr/bin/python3
"""check_xp_image.py must refuse programs Windows XP would not start, and pass one it would.

check_xp_image_refuses.py XP_COMPILER X64_COMPILER OBJDUMP

Builds small probe programs with the real compilers, each with one fault, runs the checker on each as the build
does, and compares its exit code and its complaint with the table. Prints XP-CHECK-SELF-TEST-PASSED when all agree.
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKER = os.path.join(HERE, 'check_xp_image.py')
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

# (name, compiler: "xp" or "x64", source, extra link flags, expected exit code, expected complaint or None)
CASES = [
    ('xp_program', 'xp', PLAIN, XP_LINK, 0, None),
    ('tick64', 'xp', TICK64, XP_LINK, 1, 'imports GetTickCount64 from KERNEL32.dll'),
    ('slim_lock', 'xp', SRWLOCK, XP_LINK, 1, 'imports AcquireSRWLockExclusive from KERNEL32.dll'),
    ('dwm', 'xp', DWM, XP_LINK + ['-ldwmapi'], 1, 'imports dwmapi.dll'),
    ('secure_crt', 'xp', SECURE_CRT, XP_LINK, 1, 'imports strcpy_s from msvcrt.dll'),
    ('vista_subsystem', 'xp', PLAIN, ['-Wl,--major-subsystem-version,6', '-Wl,--minor-subsystem-version,0'], 1,
     'subsystem version 6.0 is above 5.1'),
    ('vista_os', 'xp', PLAIN, ['-Wl,--major-os-version,6', '-Wl,--minor-os-version,0'], 1,
     'OS version 6.0 is above 5.1'),
    ('x64', 'x64', PLAIN, [], 1, 'machine 0x8664, not i386 (0x14c)'),
]


def main():
    compilers = {'xp': sys.argv[1], 'x64': sys.argv[2]}
    objdump = sys.argv[3]
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        # Not a program at all.
        text = os.path.join(scratch, 'text.exe')
        with open(text, 'w') as f:
            f.write('not a program\n')
        programs = [('text', text, 1, 'not a Windows program')]

        for name, compiler, source, flags, code, complaint in CASES:
            c_file = os.path.join(scratch, name + '.c')
            exe = os.path.join(scratch, name + '.exe')
            with open(c_file, 'w') as f:
                f.write(source)
            build = subprocess.run([compilers[compiler], '-O1', '-o', exe, c_file] + flags,
                                   capture_output=True, text=True)
            if build.returncode != 0:
                failures.append('%s: the probe does not build:\n%s' % (name, build.stderr))
                continue
            programs.append((name, exe, code, complaint))

        for name, exe, code, complaint in programs:
            run = subprocess.run([sys.executable, CHECKER, '--objdump', objdump, exe],
                                 capture_output=True, text=True)
            output = run.stdout + run.stderr
            if run.returncode != code:
                failures.append('%s: exit %d, expected %d:\n%s' % (name, run.returncode, code, output))
            elif complaint is None and 'XP-IMAGE-CHECK-PASSED' not in output:
                failures.append('%s: passed without its success line:\n%s' % (name, output))
            elif complaint is not None and ('FAILED: %s: %s' % (exe, complaint)) not in output:
                failures.append('%s: the complaint "%s" is missing:\n%s' % (name, complaint, output))
            else:
                print('%s: %s' % (name, 'passed' if complaint is None else 'refused: ' + complaint))

    for failure in failures:
        print('FAILED: ' + failure)
    if failures:
        return 1
    print('XP-CHECK-SELF-TEST-PASSED')
    return 0


if __name__ == '__main__':
    sys.exit(main())
