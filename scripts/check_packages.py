#!/usr/bin/env python3
"""Checks that scripts/deps.sh installs everything the program and its tests load.

Every Debian package that owns a file the program loads must be named in
STRYDE_PACKAGES, be essential, or be an installed hard dependency (Depends,
Pre-Depends) of one of those: a package that only happens to be on this machine would pass here and be
missing on a user's fresh one. The files looked at:

- the shared libraries of the built executables (ldd), the program's and the
  test programs';
- the shared objects the program really loads while it runs under Xvfb and
  offscreen (Qt's platform, image-format and QML plugins come in with
  dlopen, which ldd cannot see), as the dynamic linker reports them;
- the QML modules the pages and the QML tests import, with the modules their
  qmldir files import or depend on, recursively: the qmldir, its type
  information and its plugin;
- the programs the tests, the build and the scripts run (Xvfb, xdotool, ...),
  and the files they use from outside the PATH (the accessibility bus).

  scripts/check_packages.py --source DIR --build DIR [--no-run]

Exit 0 when every owner is covered; 1 with a list of the packages missing
from STRYDE_PACKAGES and the files that need them.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

# Programs run by the tests, the build and the scripts, and by whom. A test
# that starts a new program adds it here.
TOOLS = {
    "Xvfb": "the end-to-end tests and run.sh (a display without a screen)",
    "xvfb-run": "run.sh and this check",
    "xauth": "xvfb-run",
    "xdotool": "the end-to-end tests (real pointer and key events)",
    "xmessage": "the end-to-end test of the program in front (a window of another program)",
    "gsettings": "the pointer settings on GNOME and their end-to-end test",
    "rsvg-convert": "the build (the skin, SVG to PNG)",
    "python3": "bench/run.sh and this check",
    "cmake": "the build",
    "ninja": "the build",
    "ctest": "test.sh",
    "pkg-config": "the build",
    "clang++": "scripts/fuzz.sh",
    "x86_64-w64-mingw32-g++-posix": "scripts/check_windows.sh",
    "x86_64-w64-mingw32-windres": "scripts/check_windows.sh (the resource script)",
    "xmllint": "scripts/check_windows.sh (the manifest)",
    "weston": "the end-to-end tests under Wayland (Weston nested in Xvfb)",
    "openbox": "the end-to-end tests under an X11 window manager",
    "trayer": "the desktop tests with a tray",
    "dunst": "the desktop tests' notification daemon",
    "dbus-run-session": "the desktop tests (a session bus of their own)",
    "dbus-send": "the desktop tests (is the notification daemon up)",
    "setpriv": "the read-only data folder test (another user)",
    "unshare": "the install test (a read-only prefix)",
    "help2man": "the build (the man pages from --help)",
    "cpack": "build-deb.sh and the install test",
    "dpkg-deb": "the install test (the package's files)",
    "dpkg-shlibdeps": "the Debian package's library dependencies",
    "desktop-file-validate": "the install test",
    "appstreamcli": "the install test",
    "lintian": "build-deb.sh and the install test",
    "file": "the install test (file types)",
    # Not on the PATH: named by where Debian puts them.
    "/usr/libexec/at-spi-bus-launcher": "the accessibility test (the session's accessibility bus)",
    "/usr/lib/python3/dist-packages/pyatspi/__init__.py": "the accessibility test (the AT-SPI client)",
}

# Where the QML tools and modules live (Debian's multiarch layout).
QT_QML_DIRS = ["/usr/lib/x86_64-linux-gnu/qt6/qml", "/usr/lib/qt6/qml"]
SYSTEM_PATH = "/usr/sbin:/usr/bin:/sbin:/bin"
QT_TOOLS = {"qmllint": "tests/qml/tst_qmllint"}
QT_BIN_DIRS = ["/usr/lib/qt6/bin", "/usr/lib/x86_64-linux-gnu/qt6/bin"]


OWN_QML_MODULES = {"Stryde.View"}


def run(cmd, env=None, timeout=120):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env=env,
                          timeout=timeout)


def listed_packages(source):
    out = run(["bash", "-c", 'source scripts/deps.sh && printf "%s\\n" "${STRYDE_PACKAGES[@]}"'], timeout=30)
    if out.returncode != 0:
        sys.exit("cannot read STRYDE_PACKAGES from scripts/deps.sh: " + out.stderr)
    return {p.strip() for p in out.stdout.split() if p.strip()}


def essential_packages():
    out = run(["dpkg-query", "-W", "-f=${Package} ${Essential}\n"], timeout=60)
    return {line.split()[0] for line in out.stdout.splitlines() if line.endswith(" yes")}


def dependency_closure(packages):
    """The listed packages and every installed package they need, recursively."""
    out = run(["apt-cache", "depends", "--recurse", "--installed", "--no-recommends", "--no-suggests",
               "--no-conflicts", "--no-breaks", "--no-replaces", "--no-enhances"] + sorted(packages), timeout=300)
    if out.returncode != 0:
        sys.exit("apt-cache depends failed: " + out.stderr)
    closure = set(packages)
    for line in out.stdout.splitlines():
        if not line.strip():
            continue
        if not line.startswith(" "):
            closure.add(line.strip().strip("<>"))
        elif ":" in line:
            closure.add(line.split(":", 1)[1].strip().strip("<>"))
        else:                       # a provider of a virtual package
            closure.add(line.strip().strip("<>"))
    return {p.split(":")[0] for p in closure}


def file_owners():
    """Every file dpkg installed -> its package (without the architecture), from dpkg's own lists."""
    table = {}
    info = "/var/lib/dpkg/info"
    for name in os.listdir(info):
        if not name.endswith(".list"):
            continue
        package = name[:-len(".list")].split(":")[0]
        with open(os.path.join(info, name), encoding="utf-8", errors="replace") as fh:
            for line in fh:
                table.setdefault(line.rstrip("\n"), package)
    return table


def owners(paths):
    """Package -> the files of `paths` it owns; and the files no package owns."""
    table = file_owners()
    found, orphans = {}, []
    for path in sorted(paths):
        real = os.path.realpath(path)
        candidates = [path, real]
        # dpkg knows a file by the path its package installed, which may run
        # through a symlinked folder (/lib -> /usr/lib on a merged /usr).
        for p in (path, real):
            if p.startswith("/usr/"):
                candidates.append(p[len("/usr"):])
            else:
                candidates.append("/usr" + p)
        owner = next((table[c] for c in candidates if c in table), None)
        if owner is None:
            orphans.append(path)
        else:
            found.setdefault(owner, set()).add(path)
    return found, orphans


def ldd_libraries(executable):
    out = run(["ldd", executable], timeout=60)
    libs = set()
    for line in out.stdout.splitlines():
        m = re.search(r"=>\s+(/\S+)", line) or re.match(r"\s*(/\S+)\s+\(", line)
        if m:
            libs.add(m.group(1))
    return libs


def is_elf(path):
    try:
        with open(path, "rb") as f:
            return f.read(4) == b"\x7fELF"
    except OSError:
        return False


def built_executables(build):
    found = []
    for folder in ("bin", "tests"):
        d = os.path.join(build, folder)
        if not os.path.isdir(d):
            continue
        for name in sorted(os.listdir(d)):
            p = os.path.join(d, name)
            if os.path.isfile(p) and os.access(p, os.X_OK) and is_elf(p):
                found.append(p)
    return found


def qml_imports(folders):
    """Module names imported by the QML files (not the folder imports in quotes)."""
    names = set()
    pattern = re.compile(r"^\s*import\s+([A-Za-z][\w.]*)")
    for folder in folders:
        for root, _dirs, files in os.walk(folder):
            for f in files:
                if f.endswith((".qml", ".js")):
                    with open(os.path.join(root, f), encoding="utf-8", errors="replace") as fh:
                        for line in fh:
                            m = pattern.match(line)
                            if m:
                                names.add(m.group(1))
    return names


def qml_module_files(modules):
    """The qmldir, type information and plugin files of `modules` and of what they import, recursively;
    and the modules that were not found."""
    files, missing, seen = set(), [], set()
    todo = list(modules)
    while todo:
        module = todo.pop()
        if module in seen:
            continue
        seen.add(module)
        qmldir = None
        for base in QT_QML_DIRS:
            candidate = os.path.join(base, *module.split("."), "qmldir")
            if os.path.isfile(candidate):
                qmldir = candidate
                break
        if qmldir is None:
            missing.append(module)
            continue
        folder = os.path.dirname(qmldir)
        files.add(qmldir)
        with open(qmldir, encoding="utf-8", errors="replace") as fh:
            for line in fh:
                words = line.split()
                if not words:
                    continue
                if words[0] in ("import", "depends") and len(words) >= 2:
                    todo.append(words[1])
                elif words[0] == "typeinfo" and len(words) >= 2:
                    files.add(os.path.join(folder, words[1]))
                elif words[0] in ("plugin", "optional"):
                    name = words[2] if words[0] == "optional" and len(words) >= 3 else (words[1] if len(words) >= 2 else "")
                    for f in os.listdir(folder):
                        if f.startswith("lib" + name) and ".so" in f:
                            files.add(os.path.join(folder, f))
    return {f for f in files if os.path.exists(f)}, missing


def loaded_at_run_time(build, env_extra):
    """Shared objects the program loads (the dynamic linker's own report) while it starts, shows its
    pages on the virtual mouse and saves a screenshot."""
    stryde = os.path.join(build, "bin", "stryde")
    data = tempfile.mkdtemp(prefix="stryde-packages-")
    try:
        shutil.copytree(os.path.join(build, "bin", "modules"), os.path.join(data, "modules"))
        log = os.path.join(data, "ld")
        env = dict(os.environ)
        env.update({"LD_DEBUG": "libs", "LD_DEBUG_OUTPUT": log, "STRYDE_INSTANCE_ID": "stryde-packages-%d" % os.getpid(),
                    "XDG_CACHE_HOME": os.path.join(data, "cache"), "HOME": data})
        env.update(env_extra)
        cmd = [stryde, "--virtual-mouse", "--data-dir", data, "--screenshot", os.path.join(data, "shot.png"),
               "--quit-after-screenshot"]
        if env_extra.get("QT_QPA_PLATFORM") == "xcb":
            cmd = ["xvfb-run", "-a", "-s", "-screen 0 1280x800x24"] + cmd
        out = run(cmd, env=env, timeout=120)
        if not os.path.exists(os.path.join(data, "shot.png")):
            sys.exit("the program did not run (%s): %s%s" % (env_extra, out.stdout[-2000:], out.stderr[-2000:]))
        libs = set()
        for f in os.listdir(data):
            if f.startswith("ld."):
                with open(os.path.join(data, f), errors="replace") as fh:
                    for line in fh:
                        m = re.search(r"calling init: (/\S+)", line)
                        if m:
                            libs.add(m.group(1))
        return libs
    finally:
        shutil.rmtree(data, ignore_errors=True)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--source", required=True)
    ap.add_argument("--build", required=True)
    ap.add_argument("--no-run", action="store_true", help="leave out what the running program loads")
    args = ap.parse_args()
    os.chdir(args.source)

    need = {}                       # file -> why it is needed

    for exe in built_executables(args.build):
        for lib in ldd_libraries(exe):
            need.setdefault(lib, "linked by " + os.path.relpath(exe, args.build))

    if not args.no_run:
        for platform in ("xcb", "offscreen"):
            for lib in loaded_at_run_time(args.build, {"QT_QPA_PLATFORM": platform, "QT_QUICK_BACKEND": "software"}):
                need.setdefault(lib, "loaded by stryde on the %s platform" % platform)

    # The program's own QML module (view/, registered by the program) is no package's.
    modules = qml_imports(["modules/qml", "tests/qml", "tests/data"]) - OWN_QML_MODULES
    qml_files, missing_modules = qml_module_files(modules)
    for f in qml_files:
        need.setdefault(f, "QML module file (imported by the pages or the QML tests)")
        if ".so" in os.path.basename(f):
            for lib in ldd_libraries(f):
                need.setdefault(lib, "linked by the QML plugin " + os.path.basename(f))

    missing_tools = []
    for tool, why in sorted(TOOLS.items()):
        # Where Debian's packages put programs: one installed elsewhere
        # (a version manager's python3, say) is not on a user's machine.
        if os.path.isabs(tool):
            path = tool if os.path.exists(tool) else None
        else:
            path = shutil.which(tool, path=SYSTEM_PATH)
        if path is None:
            missing_tools.append("%s (%s)" % (tool, why))
        else:
            need.setdefault(path, "%s: %s" % (tool, why))
    for tool, why in QT_TOOLS.items():
        path = next((os.path.join(d, tool) for d in QT_BIN_DIRS if os.path.exists(os.path.join(d, tool))), None)
        if path is None:
            missing_tools.append("%s (%s)" % (tool, why))
        else:
            need.setdefault(path, "%s: %s" % (tool, why))
            for lib in ldd_libraries(path):
                need.setdefault(lib, "linked by " + tool)

    # The project's own build output is nobody's package.
    build_dir = os.path.realpath(args.build)
    need = {f: why for f, why in need.items() if not os.path.realpath(f).startswith(build_dir + os.sep)}

    listed = listed_packages(args.source)
    # Essential packages are on every Debian system, and so are what they need.
    covered = dependency_closure(listed | essential_packages())
    by_owner, orphans = owners(need.keys())

    problems = []
    for module in sorted(missing_modules):
        problems.append("QML module %s is not installed (no qmldir in %s)" % (module, " or ".join(QT_QML_DIRS)))
    for tool in missing_tools:
        problems.append("program not installed: " + tool)
    for package in sorted(by_owner):
        if package not in covered:
            files = sorted(by_owner[package])
            problems.append("package %s is not in STRYDE_PACKAGES nor a dependency of one; it owns:\n%s"
                            % (package, "\n".join("    %s (%s)" % (f, need[f]) for f in files[:5])))
    for f in sorted(orphans):
        problems.append("no Debian package owns %s (%s)" % (f, need[f]))

    print("checked %d files of %d packages against %d listed packages (%d with their dependencies)"
          % (len(need), len(by_owner), len(listed), len(covered)))
    if problems:
        print("\n".join(problems))
        print("add the packages to STRYDE_PACKAGES in scripts/deps.sh")
        return 1
    print("every package that owns a loaded file is installed by scripts/deps.sh")
    return 0


if __name__ == "__main__":
    sys.exit(main())
