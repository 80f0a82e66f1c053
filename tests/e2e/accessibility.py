#!/usr/bin/python3
"""The real program through a screen reader's eyes and the keyboard alone.

Starts build/bin/stryde against the virtual mouse on an Xvfb display of its
own, with the accessibility bridge on, and reads the window's tree on the
desktop's accessibility bus (AT-SPI, pyatspi):

- the main window and every dialog expose their controls (buttons, check
  boxes, radio buttons, sliders with their value, drop-downs and their rows,
  the key-matrix rows "Key 4: Forward Key", the mouse picture's tags, the
  colour fields, the lists) with a role and a name from the language file, in
  English and in Simplified Chinese; no picture is exposed;
- a dialog is announced by its title and Escape closes it;
- Tab walks the main window in reading order and stays inside an open dialog;
- xdotool keys alone (no pointer) change a DPI stage and save it: the 11H
  frame reaches the mouse's HID trace.

Pictures of the focus go to build/screenshots/a11y_*.png.

It runs itself again under dbus-run-session, on a session bus of its own
(tests/e2e/accessibility-bus: it starts the accessibility bus and no other
service of the desktop) and with a runtime folder of its own, where the
accessibility bus puts its socket:

  /usr/bin/python3 tests/e2e/accessibility.py --source . --build build [--language English]
"""

import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

import pyatspi

ROLE_NAMES = {
    pyatspi.ROLE_PUSH_BUTTON: "button",
    pyatspi.ROLE_CHECK_BOX: "check box",
    pyatspi.ROLE_RADIO_BUTTON: "radio button",
    pyatspi.ROLE_SLIDER: "slider",
    pyatspi.ROLE_COMBO_BOX: "drop-down",
    pyatspi.ROLE_LIST: "list",
    pyatspi.ROLE_LIST_ITEM: "list row",
    pyatspi.ROLE_TEXT: "field",
    pyatspi.ROLE_ENTRY: "field",
    pyatspi.ROLE_MENU_ITEM: "menu entry",
    pyatspi.ROLE_DIALOG: "dialog",
}
# Roles a user acts on: each needs a name.
CONTROL_ROLES = set(ROLE_NAMES) - {pyatspi.ROLE_DIALOG}


class Failure(Exception):
    pass


def poll(condition, timeout=20.0, what="a condition"):
    """Polls `condition` until it gives a true value; returns that value."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


def read_language(path):
    """The language file's groups: {group: [text 0, text 1, ...]}."""
    groups = {}
    group = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                group = line[1:-1]
                groups[group] = {}
            elif group and "=" in line and not line.startswith(";"):
                key, value = line.split("=", 1)
                if key.isdigit():
                    value = value.strip()
                    if value.startswith('"') and value.endswith('"'):
                        value = value[1:-1]
                    groups[group][int(key)] = value.replace("\\\\", "\\")
    return {g: [texts[i] for i in sorted(texts)] for g, texts in groups.items()}


# --- the X display ---------------------------------------------------------------


class Display:
    """Xvfb with its frame buffer in a file (XWD), so pictures need no X client."""

    def __init__(self, workdir):
        self.fbdir = os.path.join(workdir, "fb")
        os.makedirs(self.fbdir)
        read_end, write_end = os.pipe()
        self.log = open(os.path.join(workdir, "xvfb.log"), "w")
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
             "-noreset", "-fbdir", self.fbdir],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=self.log)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as announced:
            while not number.endswith(b"\n"):
                chunk = announced.read(1)
                if not chunk:
                    break
                number += chunk
        if not number.strip().isdigit():
            raise Failure("Xvfb did not start")
        self.name = ":" + number.strip().decode()

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        return env

    def xdotool(self, *args):
        out = subprocess.run(["xdotool", *args], env=self.env(), stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True, timeout=20)
        return out.stdout if out.returncode == 0 else None

    def screen(self):
        """The screen as (width, height, rows of RGB bytes)."""
        with open(os.path.join(self.fbdir, "Xvfb_screen0"), "rb") as f:
            data = f.read()
        h = struct.unpack(">25I", data[:100])
        header_size, width, height = h[0], h[4], h[5]
        byte_order, bits_per_pixel, bytes_per_line, ncolors = h[7], h[11], h[12], h[19]
        masks = (h[14], h[15], h[16])
        if bits_per_pixel != 32:
            raise Failure("unexpected frame buffer depth %d" % bits_per_pixel)
        start = header_size + ncolors * 12
        fmt = "<" if byte_order == 0 else ">"
        shifts = [(m & -m).bit_length() - 1 for m in masks]
        rows = []
        for y in range(height):
            line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
            pixels = struct.unpack(fmt + "%dI" % width, line)
            row = bytearray(width * 3)
            for x, p in enumerate(pixels):
                row[3 * x] = (p & masks[0]) >> shifts[0]
                row[3 * x + 1] = (p & masks[1]) >> shifts[1]
                row[3 * x + 2] = (p & masks[2]) >> shifts[2]
            rows.append(bytes(row))
        return width, height, rows

    def save_png(self, path, area):
        x0, y0, w, h = area
        _, _, rows = self.screen()
        raw = b"".join(b"\x00" + rows[y][3 * x0:3 * (x0 + w)] for y in range(y0, y0 + h))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            f.write(chunk(b"IEND", b""))

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        self.log.close()


# --- the program -----------------------------------------------------------------


class Program:
    def __init__(self, args, language, extra=()):
        self.args = args
        self.workdir = tempfile.mkdtemp(prefix="stryde-a11y-")
        self.data = os.path.join(self.workdir, "data")
        modules = os.path.join(self.data, "modules")
        shutil.copytree(os.path.join(args.source, "modules"), modules,
                        ignore=shutil.ignore_patterns("qml", "svg", "*.qrc", "DevInfo.ini"))
        os.makedirs(os.path.join(modules, "macro"), exist_ok=True)
        config = os.path.join(modules, "setting", "apConfig.bin")
        with open(config, encoding="utf-8") as f:
            text = f.read()
        text = re.sub(r"(?m)^language=.*$", "language=" + language, text)
        if "language=" + language not in text:
            text = text.replace("[common]", "[common]\nlanguage=" + language, 1)
        text = re.sub(r"(?m)^icType=.*$", "icType=553", text)
        with open(config, "w", encoding="utf-8") as f:
            f.write(text)
        self.trace = os.path.join(self.workdir, "trace.txt")
        self.display = Display(self.workdir)
        env = self.display.env()
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "QT_QUICK_BACKEND": "software",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_LOGGING_RULES": os.environ.get("STRYDE_A11Y_LOGGING", ""),
            "STRYDE_INSTANCE_ID": "stryde-a11y-%d-%s" % (os.getpid(), self.display.name[1:]),
            "GSETTINGS_BACKEND": "keyfile",
            "XDG_CONFIG_HOME": os.path.join(self.workdir, "desktop-config"),
        })
        for name in ("WAYLAND_DISPLAY", "XDG_SESSION_TYPE"):
            env.pop(name, None)
        self.output = open(os.path.join(self.workdir, "stryde.log"), "w")
        self.proc = subprocess.Popen(
            [os.path.join(args.build, "bin", "stryde"), "--virtual-mouse", "--hid-trace", self.trace,
             "--data-dir", self.data, *extra],
            env=env, stdout=self.output, stderr=subprocess.STDOUT)
        self.window = None
        self.app = None

    def log(self):
        with open(os.path.join(self.workdir, "stryde.log"), encoding="utf-8", errors="replace") as f:
            return f.read()

    def find_window(self):
        def found():
            ids = self.display.xdotool("search", "--onlyvisible", "--pid", str(self.proc.pid))
            for wid in (ids or "").split():
                shell = self.display.xdotool("getwindowgeometry", "--shell", wid) or ""
                g = dict(line.split("=", 1) for line in shell.split() if "=" in line)
                if g.get("WIDTH") == "1024" and g.get("HEIGHT") == "640":
                    return (wid, (int(g["X"]), int(g["Y"]), 1024, 640))
            return None
        self.window_id, self.window = poll(found, 30, "the 1024 x 640 window")

    def find_app(self):
        def found():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                try:
                    if app is not None and app.get_process_id() == self.proc.pid:
                        return app
                except Exception:
                    continue
            return None
        self.app = poll(found, 30, "the program on the accessibility bus")

    def focus_window(self):
        # The keyboard focus of the X server (no window manager here): no pointer involved.
        self.display.xdotool("windowfocus", "--sync", self.window_id)

    def key(self, name):
        if self.display.xdotool("key", name) is None:
            raise Failure("xdotool key %s failed" % name)

    def trace_lines(self):
        try:
            with open(self.trace, encoding="utf-8") as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def setting(self, file, group, key):
        with open(os.path.join(self.data, "modules", "setting", file), encoding="utf-8") as f:
            current = None
            for line in f:
                line = line.strip()
                if line.startswith("["):
                    current = line[1:-1]
                elif current == group and line.startswith(key + "="):
                    return line.split("=", 1)[1]
        return None

    def shot(self, name):
        os.makedirs(self.args.screenshots, exist_ok=True)
        path = os.path.join(self.args.screenshots, "a11y_%s.png" % name)
        self.display.save_png(path, self.window)
        return path

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        self.output.close()
        self.display.stop()
        shutil.rmtree(self.workdir, ignore_errors=True)


# --- the tree --------------------------------------------------------------------


class Node:
    def __init__(self, acc, role, name, states, depth):
        self.acc, self.role, self.name, self.states, self.depth = acc, role, name, states, depth

    def showing(self):
        return pyatspi.STATE_SHOWING in self.states

    def focused(self):
        return pyatspi.STATE_FOCUSED in self.acc.getState().getStates()

    def __repr__(self):
        return "%s %r" % (ROLE_NAMES.get(self.role, str(self.role)), self.name)


def walk(acc, depth=0, nodes=None):
    """Every showing node under `acc`, depth first, in the order of the tree."""
    if nodes is None:
        nodes = []
    try:
        states = acc.getState().getStates()
        role, name, count = acc.getRole(), acc.name or "", acc.childCount
    except Exception:
        return nodes
    node = Node(acc, role, name, states, depth)
    if depth > 0 and not node.showing():
        return nodes
    nodes.append(node)
    for i in range(count):
        child = acc.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, nodes)
    return nodes


def named(nodes, role, name):
    return [n for n in nodes if n.role == role and n.name == name]


def expect(nodes, role, name, where):
    found = named(nodes, role, name)
    if not found:
        have = sorted({repr(n) for n in nodes if n.role == role})
        raise Failure("%s: no %s named %r; %s there: %s" % (where, ROLE_NAMES[role], name, ROLE_NAMES[role], have))
    return found[0]


def check_controls(nodes, where):
    """Every control has a name; no picture is exposed. Returns the controls."""
    controls = [n for n in nodes if n.role in CONTROL_ROLES]
    unnamed = [n for n in controls if not n.name.strip()]
    if unnamed:
        raise Failure("%s: controls without a name: %s" % (where, unnamed))
    pictures = [n for n in nodes if n.role == pyatspi.ROLE_IMAGE]
    if pictures:
        raise Failure("%s: pictures in the tree: %s" % (where, pictures))
    return controls


def press(node):
    action = node.acc.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() == "press":
            action.doAction(i)
            return
    raise Failure("%r offers no press action" % node)


def value_of(node):
    return node.acc.queryValue().currentValue


def dialog(program, title):
    """The open dialog announced by `title` (or by a title that begins with it)."""
    def found():
        nodes = walk(program.app)
        for n in nodes:
            if n.role == pyatspi.ROLE_DIALOG and (n.name == title or n.name.startswith(title + " ")):
                return n
        return None
    return poll(found, 10, "the dialog %r" % title)


def dialog_gone(program, title):
    poll(lambda: not [n for n in walk(program.app) if n.role == pyatspi.ROLE_DIALOG
                      and (n.name == title or n.name.startswith(title + " "))],
         10, "the dialog %r to close" % title)


def under(node):
    """The showing nodes inside `node`."""
    return walk(node.acc, 1)


def main_screen(program, lang):
    """The main screen's tree once it is complete: its Save button is there
    and two walks in a row find the same controls."""
    last = [None]

    def settled():
        nodes = walk(program.app)
        seen = [(n.role, n.name) for n in nodes]
        stable = seen == last[0] and named(nodes, pyatspi.ROLE_PUSH_BUTTON, lang["main"][10])
        last[0] = seen
        return nodes if stable else None
    return poll(settled, 30, "the main screen (its Save button, a tree at rest)")


# --- the checks --------------------------------------------------------------------


def check_main_window(program, lang):
    where = "main window"
    nodes = main_screen(program, lang)
    check_controls(nodes, where)
    B, C, R, S, D, L, T = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
                           pyatspi.ROLE_SLIDER, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TEXT)
    main, acc = lang["main"], lang["accessible"]
    for i in (1, 4, 5, 9, 10):
        expect(nodes, B, main[i], where)
    for i in (0, 1, 2):
        expect(nodes, B, acc[i], where)
    for title in (lang["keyMatrix"][1], lang["dpiSetting"][0], lang["lightControl"][0]):
        expect(nodes, B, acc[3] + " " + title, where)
    expect(nodes, C, lang["lod"][0], where)
    # The key matrix rows and the mouse picture's tags: "Key 4: Forward Key".
    key = lang["keyMatrix"][0].strip()
    forward = lang["keyAssigment"][5]
    rows = named(nodes, B, "%s 4: %s" % (key, forward))
    if len(rows) != 2:
        raise Failure("%s: expected a row and a tag named %r, found %s" % (where, "%s 4: %s" % (key, forward), rows))
    keyed = [n for n in nodes if n.role == B and re.match(re.escape(key) + r" \d+: \S", n.name)]
    if len(keyed) < 16:
        raise Failure("%s: %d key rows and tags, expected 8 of each" % (where, len(keyed)))
    # DPI stages: sliders with their value.
    for stage in range(1, 5):
        slider = expect(nodes, S, lang["dpiSetting"][0] + " " + acc[4].replace("%1", str(stage)), where)
        if value_of(slider) <= 0:
            raise Failure("%s: %r reports no value" % (where, slider))
    # Drop-downs name what they choose and the current entry.
    for prefix in (acc[6], acc[7], acc[8], main[3]):
        if not [n for n in nodes if n.role == D and n.name.startswith(prefix + ": ")]:
            raise Failure("%s: no drop-down named %r" % (where, prefix + ": ..."))
    # Colours: the blocks, the hue bar and R, G, B.
    expect(nodes, R, lang["lightControl"][6] + " 1", where)
    expect(nodes, S, acc[5] + " 1", where)
    fields = [n for n in nodes if n.role in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)]
    for channel in "RGB":
        if not [n for n in fields if n.name == lang["lightControl"][6] + " " + channel]:
            raise Failure("%s: no colour field %s; fields: %s" % (where, channel, fields))
    # The help menu: its entries (the tray's, while no tray shows them) are menu entries.
    help_icon = expect(nodes, B, acc[2], where)
    press(help_icon)
    entries = poll(lambda: [n for n in walk(program.app) if n.role in (pyatspi.ROLE_MENU_ITEM, C)
                            and n.name.strip()], 10, "the help menu's entries")
    if not [n for n in entries if n.name == lang["autostart"][0]]:
        raise Failure("%s: the help menu has no %r entry: %s" % (where, lang["autostart"][0], entries))
    press(help_icon)
    poll(lambda: not [n for n in walk(program.app) if n.name == lang["autostart"][0]], 10, "the help menu to close")
    # A drop-down's rows, while it is open.
    stages = [n for n in nodes if n.role == D and n.name.startswith(acc[6] + ": ")][0]
    press(stages)
    poll(lambda: len([n for n in walk(program.app) if n.role == L and n.name in ("1", "2", "3", "4")]) == 4,
         10, "the four rows of the stage drop-down")
    press(stages)
    poll(lambda: not [n for n in walk(program.app) if n.role == L and n.name in ("1", "2", "3", "4")],
         10, "the stage drop-down to close")
    return nodes


def check_dialogs(program, lang, gun):
    """Opens each dialog from the main window (the press action, as a screen
    reader does), checks its controls and closes it with Escape."""
    B, C, R, S, D, LI, LS = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
                             pyatspi.ROLE_SLIDER, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST_ITEM,
                             pyatspi.ROLE_LIST)
    main, acc = lang["main"], lang["accessible"]
    nodes = main_screen(program, lang)
    key = lang["keyMatrix"][0].strip()

    def fields(inside):
        return {n.name for n in inside if n.role in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)}

    def opened(opener_role, opener_name, title):
        press(expect(walk(program.app), opener_role, opener_name, "main window"))
        d = dialog(program, title)
        inside = under(d)
        check_controls(inside, "dialog %r" % title)
        expect(inside, B, acc[0], "dialog %r" % title) if title != main[5] else None
        return d, inside

    def close(title):
        program.key("Escape")
        dialog_gone(program, title)

    ss = lang["systemSetting"]
    d, inside = opened(B, main[9], ss[0])
    for i in (1, 2):
        expect(inside, S, ss[i], "system settings")
    for i in (6, 7):
        expect(inside, R, ss[i], "system settings")
    if ss[6] not in fields(inside):
        raise Failure("system settings: no rows field; fields %s" % fields(inside))
    close(ss[0])

    pr = lang["profile"]
    d, inside = opened(B, main[4], pr[0])
    expect(inside, LS, pr[0], "profiles")
    expect(inside, LI, pr[5], "profiles")
    for i in (1, 2):
        expect(inside, B, pr[i], "profiles")
    ar = lang["appRules"]
    press(expect(inside, B, ar[0], "profiles"))
    rules = dialog(program, ar[0])
    rinside = under(rules)
    check_controls(rinside, "programs")
    for i in (3, 4):
        expect(rinside, LS, ar[i], "programs")
    for i in (1, 2):
        expect(rinside, B, ar[i], "programs")
    if ar[5] not in fields(rinside):
        raise Failure("programs: no name field; fields %s" % fields(rinside))
    close(ar[0])
    close(pr[0])

    d, inside = opened(B, main[5], main[5])
    for i in (7, 8):
        expect(inside, B, main[i], "reset")
    close(main[5])

    me = lang["macroEditor"]
    d, inside = opened(B, main[1], me[0])
    for i in (2, 8):
        expect(inside, B, me[i], "macro editor")
    expect(inside, LS, me[1], "macro editor")
    expect(inside, LS, me[4], "macro editor")
    expect(inside, pyatspi.ROLE_CHECK_BOX, me[9], "macro editor")
    if me[6] not in fields(inside):
        raise Failure("macro editor: no repeat field; fields %s" % fields(inside))
    close(me[0])

    ka = lang["keyAssigment"]
    row = [n for n in walk(program.app) if n.role == B and n.name.startswith(key + " 4: ")][0]
    press(row)
    d = poll(lambda: [n for n in walk(program.app) if n.role == pyatspi.ROLE_DIALOG], 10, "the key dialog")[0]
    inside = under(d)
    check_controls(inside, "key assignment")
    if not d.name.strip():
        raise Failure("key assignment: the dialog has no name")
    expect(inside, R, ka[5], "key assignment")
    expect(inside, R, ka[2], "key assignment")
    if not [n for n in inside if n.role == B and n.name.startswith(ka[9] + ": ")]:
        raise Failure("key assignment: no fire key field %r" % (ka[9] + ": ..."))
    if not [n for n in inside if n.role == B and n.name.startswith(ka[14] + ": ")]:
        raise Failure("key assignment: no combination field %r" % (ka[14] + ": ..."))
    if not [n for n in inside if n.role == D and n.name.startswith(ka[16] + ": ")]:
        raise Failure("key assignment: no macro drop-down %r" % (ka[16] + ": ..."))
    close(d.name)

    if gun:
        gc = lang["gunControl"]
        d, inside = opened(B, main[2], gc[0])
        expect(inside, LS, gc[1], "recoil presets")
        expect(inside, C, gc[9], "recoil presets")
        for prefix in (gc[2], gc[7]):
            if not [n for n in inside if n.role == D and n.name.startswith(prefix + ": ")]:
                raise Failure("recoil presets: no drop-down %r" % prefix)
        for i in (5, 8):
            if gc[i] not in fields(inside):
                raise Failure("recoil presets: no field %r; fields %s" % (gc[i], fields(inside)))
        close(gc[0])


def focused_among(nodes):
    for n in nodes:
        try:
            if n.focused():
                return n
        except Exception:
            continue
    return None


def tab_until(program, nodes, wanted, limit=120, key="Tab"):
    """Presses Tab (one at a time, each waiting for the focus to move) until
    `wanted(node)` holds for the focused control. Returns the path."""
    path = []
    before = focused_among(nodes)
    for _ in range(limit):
        program.key(key)
        now = poll(lambda: (lambda f: f if f is not None and (before is None or f.acc != before.acc) else None)(
            focused_among(nodes)), 5, "the focus to move on from %r" % (before,))
        path.append(now)
        if wanted(now):
            return path
        before = now
    raise Failure("Tab never reached the control; the focus went %s" % path)


def check_keyboard(program, lang):
    """Tab order, the focus ring, a dialog that keeps the focus, and a DPI
    change saved with keys alone."""
    main, acc = lang["main"], lang["accessible"]
    nodes = main_screen(program, lang)
    controls = [n for n in nodes if n.role in CONTROL_ROLES and n.role != pyatspi.ROLE_LIST_ITEM]
    program.focus_window()
    key = lang["keyMatrix"][0].strip()

    first_row = tab_until(program, controls, lambda n: n.name.startswith(key + " 1: "))
    program.shot("focus_key_row")
    stage_name = lang["dpiSetting"][0] + " " + acc[4].replace("%1", "1")
    path = tab_until(program, controls, lambda n: n.name == stage_name)
    slider = path[-1]
    program.shot("focus_dpi_slider")
    before = value_of(slider)
    program.key("Up")
    poll(lambda: value_of(slider) > before, 5, "the slider to move with the Up key")
    program.key("Prior")
    poll(lambda: value_of(slider) > before + 5, 5, "the slider to move with Page Up")
    moved = value_of(slider)
    path += tab_until(program, controls, lambda n: n.role == pyatspi.ROLE_PUSH_BUTTON and n.name == main[10])
    program.shot("focus_save")
    # Reading order: the left column, the picture, the right column, the bottom bar.
    order = [n.name for n in first_row + path]
    for earlier, later in ((key + " 1: ", stage_name), (stage_name, main[10])):
        i = next(i for i, name in enumerate(order) if name.startswith(earlier))
        j = next(i for i, name in enumerate(order) if name.startswith(later))
        if i >= j:
            raise Failure("Tab reached %r before %r: %s" % (later, earlier, order))
    reached = {n.name for n in first_row + path}
    if len(reached) < 20:
        raise Failure("Tab reached only %d controls on its way to Save: %s" % (len(reached), order))

    lines = len(program.trace_lines())
    stored = program.setting("p1.bin", "mouse", "dpiValueArray")
    program.key("Return")
    poll(lambda: [l for l in program.trace_lines()[lines:] if re.match(r"\d+ set-feature cmd 00 11 ", l)],
         20, "the 11H frame in the trace")
    poll(lambda: program.setting("p1.bin", "mouse", "dpiValueArray") != stored, 10, "the DPI values stored")
    if value_of(slider) != moved:
        raise Failure("the slider moved back after Save")

    # A dialog opened from the keyboard takes the focus and keeps it.
    config = tab_until(program, controls, lambda n: n.name == main[4])[-1]
    program.key("Return")
    d = dialog(program, lang["profile"][0])
    inside = [n for n in under(d) if n.role in CONTROL_ROLES and n.role != pyatspi.ROLE_LIST_ITEM]
    program.key("Tab")
    first = poll(lambda: focused_among(inside), 5, "the focus inside the dialog")
    program.shot("focus_dialog")
    seen = [first]
    for _ in range(len(inside) + 2):
        program.key("Tab")
        poll(lambda: focused_among(inside) is not None and focused_among(inside).acc != seen[-1].acc, 5,
             "the focus to move inside the dialog (it was on %r)" % seen[-1])
        seen.append(focused_among(inside))
    if len({n.name for n in seen}) < 4:
        raise Failure("Tab in the dialog went round %s only" % seen)
    if focused_among(controls) is not None and focused_among(controls).acc not in [n.acc for n in inside]:
        raise Failure("the focus left the dialog for %r" % focused_among(controls))
    program.key("Escape")
    dialog_gone(program, lang["profile"][0])
    poll(lambda: config.focused(), 5, "the focus back on %r" % config)


def run(args, language, keyboard, gun):
    lang = read_language(os.path.join(args.source, "modules", "i18n", language + ".ini"))
    extra = ["--show-gun-editor"] if gun else []
    program = Program(args, language, extra)
    try:
        program.find_window()
        program.find_app()
        program.focus_window()
        check_main_window(program, lang)
        check_dialogs(program, lang, gun)
        if keyboard:
            check_keyboard(program, lang)
        print("PASS %s" % language)
    except Failure as e:
        print("FAIL %s: %s" % (language, e))
        print("--- program output ---\n" + program.log())
        return False
    finally:
        program.stop()
    return True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--language", action="append")
    args = parser.parse_args()
    args.screenshots = os.path.join(args.build, "screenshots")
    languages = args.language or ["English", "ChineseSimplified"]
    if os.environ.get("STRYDE_A11Y_BUS") == "1":
        ok = True
        for language in languages:
            ok = run(args, language, keyboard=language == "English", gun=True) and ok
        return 0 if ok else 1
    # Each language on a bus of its own: the accessibility bus outlives the
    # program it served, and the next program's keys would wait on it.
    ok = True
    config = os.path.join(os.path.dirname(os.path.abspath(__file__)), "accessibility-bus", "session.conf")
    for language in languages:
        runtime = tempfile.mkdtemp(prefix="stryde-a11y-runtime-")
        env = dict(os.environ, STRYDE_A11Y_BUS="1", XDG_RUNTIME_DIR=runtime)
        env.pop("DISPLAY", None)
        try:
            ok = subprocess.run(["dbus-run-session", "--config-file=" + config, "--", sys.executable,
                                 os.path.abspath(__file__), "--source", args.source, "--build", args.build,
                                 "--language", language], env=env).returncode == 0 and ok
        finally:
            shutil.rmtree(runtime, ignore_errors=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
