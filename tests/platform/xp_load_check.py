#!/usr/bin/env python3
"""What Windows XP SP3's loader reads of the shipped binaries, checked before
any of their code runs: each imported DLL is one that XP has; each imported
function is declared by the mingw-w64 headers built for XP (_WIN32_WINNT
0x0501), or sits on the allow list below; none is on the deny list; nothing is
imported by ordinal or delay-loaded; the PE header asks for subsystem 5.01 at
most; and the tool's manifest is one that XP's loader accepts.

usage: xp_load_check.py --cc CC --objdump OBJDUMP --manifest MANIFEST
                        [--newer BINARY] BINARY...

--newer names a binary built to break every rule; the check must catch it.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

# The system DLLs of 32-bit Windows XP SP3 that a program of this kind may
# import. Anything else (bcrypt, ncrypt, dwmapi, ucrtbase, vcruntime140,
# api-ms-win-*, ...) is missing on XP or not one of Windows' own.
XP_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "imm32.dll", "kernel32.dll",
    "msimg32.dll", "msvcrt.dll", "ntdll.dll", "ole32.dll", "oleaut32.dll", "psapi.dll",
    "shell32.dll", "shlwapi.dll", "user32.dll", "uxtheme.dll", "version.dll", "winmm.dll",
    "ws2_32.dll",
}

# Imports that no public header declares, each with the reason it is safe.
CRT_START = ("called by mingw-w64's start-up code (crtexe.c) to set up the C runtime; "
             "in msvcrt.dll since Windows NT 4")
CRT_LOCK = ("msvcrt's own locks, taken by mingw-w64's atexit list of a DLL (dllcrt2.o); "
            "in msvcrt.dll since Windows NT 4")
ALLOWED = {
    ("msvcrt.dll", "__getmainargs"): CRT_START,
    ("msvcrt.dll", "__wgetmainargs"): CRT_START,
    ("msvcrt.dll", "__initenv"): CRT_START,
    ("msvcrt.dll", "__winitenv"): CRT_START,
    ("msvcrt.dll", "__set_app_type"): CRT_START,
    ("msvcrt.dll", "__p__commode"): CRT_START,
    ("msvcrt.dll", "_amsg_exit"): CRT_START,
    ("msvcrt.dll", "_initterm"): CRT_START,
    ("msvcrt.dll", "_lock"): CRT_LOCK,
    ("msvcrt.dll", "_unlock"): CRT_LOCK,
    # libsodium, linked into the tool and tv2pack for package signatures.
    ("advapi32.dll", "SystemFunction036"): ("RtlGenRandom, libsodium's source of randomness for keys; the headers "
                                            "declare it only under that name; in advapi32.dll since Windows XP"),
    ("msvcrt.dll", "_assert"): ("behind libsodium's assert(), from assert.h, which the probe does not include; "
                                "in msvcrt.dll since Windows NT 4"),
}

# The probe trusts the headers' version guards, and some are missing or keyed
# to another macro: RegGetValueA, for one, is declared for every version
# although 32-bit XP's advapi32 lacks it. These functions of Vista and later
# (some of Server 2003 or XP x64) are refused whatever the headers say.
DENIED = {
    # kernel32
    "GetTickCount64", "GetThreadId", "GetProcessIdOfThread", "GetErrorMode", "SetThreadStackGuarantee",
    "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue", "InitializeCriticalSectionEx",
    "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared", "ReleaseSRWLockExclusive",
    "ReleaseSRWLockShared", "InitializeConditionVariable", "SleepConditionVariableCS",
    "SleepConditionVariableSRW", "WakeConditionVariable", "WakeAllConditionVariable", "InitOnceExecuteOnce",
    "CreateEventExA", "CreateEventExW", "CreateSymbolicLinkA", "CreateSymbolicLinkW",
    "GetFinalPathNameByHandleA", "GetFinalPathNameByHandleW", "GetFileInformationByHandleEx",
    "SetFileInformationByHandle", "QueryFullProcessImageNameA", "QueryFullProcessImageNameW",
    "CompareStringEx", "CompareStringOrdinal", "LCMapStringEx", "GetLocaleInfoEx",
    "GetSystemTimePreciseAsFileTime",
    # advapi32
    "RegGetValueA", "RegGetValueW", "RegSetKeyValueA", "RegSetKeyValueW", "RegDeleteTreeA", "RegDeleteTreeW",
    "RegDeleteKeyExA", "RegDeleteKeyExW", "RegCopyTreeA", "RegCopyTreeW",
    # user32
    "SetProcessDPIAware", "IsProcessDPIAware", "ChangeWindowMessageFilter", "ChangeWindowMessageFilterEx",
    "AddClipboardFormatListener", "GetDpiForWindow",
}

# XP's msvcrt.dll has none of the secure C runtime (strcpy_s, sprintf_s,
# ...), which the headers declare for every version and the import library
# imports as it is.
SECURE_CRT = re.compile(r"_s$")

# Everything the probe may need to see a function of the DLLs above declared.
PROBE_HEADERS = [
    "windows.h", "commctrl.h", "commdlg.h", "shellapi.h", "shlobj.h", "shlwapi.h", "tlhelp32.h", "winternl.h",
    "psapi.h", "mmsystem.h", "winsock2.h", "uxtheme.h", "process.h", "io.h", "stdio.h", "stdlib.h", "string.h",
    "wchar.h", "ctype.h", "wctype.h", "locale.h", "signal.h", "setjmp.h", "errno.h", "math.h", "time.h",
]
XP_SUBSYSTEM = (5, 1)


def objdump(tool, path):
    return subprocess.run([tool, "-p", path], check=True, capture_output=True, text=True,
                          env=dict(os.environ, LC_ALL="C")).stdout


def read_pe(text):
    """The subsystem version, the delay-import directory's size and the
    imports ({dll: [function, ...]}, None for an import by ordinal)."""
    major = int(re.search(r"^MajorSubsystemVersion\s+(\d+)", text, re.M).group(1))
    minor = int(re.search(r"^MinorSubsystemVersion\s+(\d+)", text, re.M).group(1))
    delay = re.search(r"^Entry d \w+ (\w+) Delay Import Directory", text, re.M)
    imports, dll = {}, None
    for line in text.splitlines():
        if line.startswith("\tDLL Name: "):
            dll = line.split(": ", 1)[1].strip().lower()
            imports.setdefault(dll, [])
        elif dll and not line.strip():
            dll = None
        elif dll and not line.lstrip().startswith("vma:"):
            fields = line.split()
            imports[dll].append(None if fields[-1] == "<none>" else fields[-1])
    return (major, minor), int(delay.group(1), 16) if delay else 0, imports


def undeclared(cc, names):
    """The names that the headers do not declare for XP (with the compiler's
    message), from one probe that uses each name in a function of its own."""
    names = sorted(names)
    lines = ["#include <%s>" % h for h in PROBE_HEADERS]
    first = len(lines) + 1
    lines += ["static void probe%d(void) { (void)(%s); }" % (n, name) for n, name in enumerate(names)]
    with tempfile.TemporaryDirectory() as tmp:
        probe = os.path.join(tmp, "probe.c")
        with open(probe, "w") as f:
            f.write("\n".join(lines) + "\n")
        run = subprocess.run([cc, "-fsyntax-only", "-D_WIN32_WINNT=0x0501", "-DWINVER=0x0501", probe],
                             capture_output=True, text=True, env=dict(os.environ, LC_ALL="C"))
    found = {}
    for m in re.finditer(r"^.*probe\.c:(\d+):\d+: error: (.*)$", run.stderr, re.M):
        n = int(m.group(1)) - first
        if not 0 <= n < len(names):
            sys.exit("the probe itself does not compile:\n" + run.stderr)
        found.setdefault(names[n], m.group(2))
    if run.returncode != 0 and not found:
        sys.exit("the probe failed:\n" + run.stderr)
    return found


def check_manifest(path):
    """What XP's loader requires of an application manifest."""
    problems = []
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError as e:
        return ["%s: not well-formed XML: %s" % (path, e)]
    asm = "{urn:schemas-microsoft-com:asm.v1}"
    if root.tag != asm + "assembly" or root.get("manifestVersion") != "1.0":
        problems.append("the root is not an asm.v1 assembly of manifestVersion 1.0")
    for identity in root.iter(asm + "assemblyIdentity"):
        version = identity.get("version", "")
        if identity.get("type") != "win32" or not identity.get("name") or \
                not re.fullmatch(r"\d+\.\d+\.\d+\.\d+", version):
            problems.append("assemblyIdentity %s: XP wants type win32, a name and a four-part version"
                            % identity.attrib)
    names = [i.get("name") for i in root.iter(asm + "assemblyIdentity")]
    if "Microsoft.Windows.Common-Controls" not in names:
        problems.append("no dependency on the common controls 6, which XP takes from the manifest")
    return problems


def check(paths, cc, tool):
    """Findings per binary, as (kind, subject, text), and what each imports."""
    pe = {path: read_pe(objdump(tool, path)) for path in paths}
    names = {f for _, _, imports in pe.values() for fs in imports.values() for f in fs if f}
    missing = undeclared(cc, names)
    results = {}
    for path, (subsystem, delay, imports) in pe.items():
        findings, allowed = [], []
        if subsystem > XP_SUBSYSTEM:
            findings.append(("subsystem", "%d.%02d" % subsystem, "asks for Windows %d.%02d" % subsystem))
        if delay:
            findings.append(("delay", "", "has delay-loaded imports, which this check does not read"))
        for dll, functions in sorted(imports.items()):
            if dll not in XP_DLLS:
                findings.append(("dll", dll, "not a DLL of Windows XP SP3"))
            for f in functions:
                if f is None:
                    findings.append(("ordinal", dll, "imported by ordinal"))
                elif f in DENIED or (dll == "msvcrt.dll" and SECURE_CRT.search(f)):
                    findings.append(("denied", f, "in %s, newer than XP (deny list)" % dll))
                elif (dll, f) in ALLOWED:
                    allowed.append("%s!%s" % (dll, f))
                elif f in missing:
                    findings.append(("undeclared", f, "in %s, not declared for XP: %s" % (dll, missing[f])))
        results[path] = (subsystem, imports, allowed, findings)
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cc", required=True)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--manifest", required=True)
    parser.add_argument("--newer")
    parser.add_argument("binaries", nargs="+")
    args = parser.parse_args()

    failed = False
    for path, (subsystem, imports, allowed, findings) in check(args.binaries, args.cc, args.objdump).items():
        count = sum(len(fs) for fs in imports.values())
        print("%s: subsystem %d.%02d, %d functions from %d DLLs"
              % (os.path.basename(path), subsystem[0], subsystem[1], count, len(imports)))
        print("  " + ", ".join("%s %d" % (dll, len(fs)) for dll, fs in sorted(imports.items())))
        if allowed:
            print("  allowed: " + " ".join(allowed))
        for _, subject, text in findings:
            print("  FAIL %s: %s" % (subject, text))
        failed |= bool(findings)

    for problem in check_manifest(args.manifest):
        print("FAIL manifest: " + problem)
        failed = True

    if args.newer:
        # The binary made to break the rules: each kind of finding must show.
        _, _, _, findings = check([args.newer], args.cc, args.objdump)[args.newer]
        caught = {(kind, subject) for kind, subject, _ in findings}
        expected = {("subsystem", "6.00"), ("dll", "bcrypt.dll"), ("undeclared", "CancelIoEx"),
                    ("denied", "GetTickCount64"), ("denied", "RegGetValueA"), ("denied", "strcpy_s")}
        print("%s: caught %s" % (os.path.basename(args.newer), ", ".join(sorted(s for _, s in caught))))
        for kind, subject in sorted(expected - caught):
            print("FAIL the check missed %s (%s) in %s" % (subject, kind, os.path.basename(args.newer)))
            failed = True

    print("FAILED" if failed else "PASSED: Windows XP SP3 can load every binary")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
