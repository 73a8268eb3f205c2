#!/usr/bin/python3
# The window as a screen reader meets it, over AT-SPI: on a private X server in a session
# bus of its own (run under dbus-run-session), the real program with the emulated radio as
# its port, in both languages. It walks the accessible tree (no showing control without a
# name, the grid a table of 16 channels under its titles), then drives one session from the
# keyboard only: read with F5, type a frequency into a cell, change a setting, write with
# F6, save with Ctrl+S. It records the focus and name events and checks them, and the
# files byte for byte.
#
# Usage: atspi_session.py PROGRAM EMULATOR IMAGE. Exits 77 (skipped) when a tool is missing.
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIPPED = 77


def skip(reason):
    print("SKIP: " + reason)
    sys.exit(SKIPPED)


try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Gio, GLib
    import pyatspi
except (ImportError, ValueError) as e:
    skip("python3-pyatspi is missing (%s)" % e)

for tool in ("Xvfb", "openbox", "xdotool"):
    if not shutil.which(tool):
        skip(tool + " is missing")
if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
    skip("no session bus: run under dbus-run-session")

PROGRAM, EMULATOR, IMAGE = sys.argv[1:4]

# What each language says, as the window's texts give it.
WORDS = {
    "E": {
        "titles": ["Receive F", "CTCSS", "Transmit F", "CTCSS", "Busy", "Scan"],
        "beep": "Beep Tone",
        "on": "ON",
        "phases": ["Reading block", "Checking block", "Writing block", "Verifying block"],
        "read_boxes": ["Over!"],
        "write_boxes": ["Over!", "Verified:"],
        "grid": "Channels",
    },
    "C": {
        "titles": ["接收频率", "CTCSS", "发射频率", "CTCSS", "禁发", "频移"],
        "beep": "哔音提示",
        "on": "开",
        "phases": ["正在读取", "正在校验", "正在写入", "正在读回校验"],
        "read_boxes": ["开始从对讲机里读取数据", "完成!"],
        "write_boxes": ["开始写数据到对讲机里", "完成!", "校验通过"],
        "grid": "信道表",
    },
}

# Roles a person operates: each must have a name when it shows.
CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TOOL_BAR, pyatspi.ROLE_STATUS_BAR, pyatspi.ROLE_PROGRESS_BAR,
    pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU, pyatspi.ROLE_CHECK_MENU_ITEM,
    pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_TABLE_COLUMN_HEADER,
    pyatspi.ROLE_TABLE_ROW_HEADER,
}

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what, flush=True)
    return condition


def pump(seconds, until=None):
    """Runs the AT-SPI events for up to seconds; true once until() holds."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        if until is not None and until():
            return True
        time.sleep(0.02)
    return until is None


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", "--delay", "60", *keys], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "60", text], check=True)


class XServer:
    def __init__(self):
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.PIPE)
        display = self.server.stdout.readline().decode().strip()
        if not display:
            skip("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + display
        self.wm = subprocess.Popen(["openbox", "--sm-disable"])
        for _ in range(200):
            probe = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                   capture_output=True, text=True)
            if "window id" in probe.stdout:
                return
            time.sleep(0.05)
        skip("openbox did not come up")

    def close(self):
        for p in (self.wm, self.server):
            p.terminate()
            p.wait(5)


def enable_accessibility_bus():
    # What a desktop does before a screen reader starts: the bus comes up, and programs
    # started from now on see that assistive technology listens.
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                  GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 10000, None)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled",
                                         GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, 10000, None)


def walk(node, depth=0):
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


class Session:
    def __init__(self, language, folder):
        self.language = language
        self.words = WORDS[language]
        self.folder = folder
        self.events = []  # (type, role, name)
        self.app = None
        shutil.copy(PROGRAM, os.path.join(folder, "qx7420"))
        with open(os.path.join(folder, "pt.ini"), "w") as ini:
            ini.write("[LG]\nLG=%s\n" % language)
        self.radio_file = os.path.join(folder, "radio.dat")
        self.emu = subprocess.Popen([EMULATOR, "--image", IMAGE, "--save-dat", self.radio_file],
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        device = self.emu.stdout.readline().decode().strip()
        env = dict(os.environ, QX7420_DEVICE=device, QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.program = subprocess.Popen([os.path.join(folder, "qx7420")], cwd=folder, env=env)
        for kind in ("object:state-changed:focused", "object:property-change:accessible-name",
                     "object:text-changed:insert"):
            pyatspi.Registry.registerEventListener(self.record, kind)

    def record(self, event):
        try:
            if event.type.startswith("object:state-changed:focused") and not event.detail1:
                return
            source = event.source
            self.events.append((str(event.type), source.getRoleName(), source.name or ""))
        except Exception:  # an object gone while the event travelled
            pass

    def close(self):
        pyatspi.Registry.deregisterEventListener(self.record, "object:state-changed:focused")
        pyatspi.Registry.deregisterEventListener(
            self.record, "object:property-change:accessible-name")
        pyatspi.Registry.deregisterEventListener(self.record, "object:text-changed:insert")
        self.program.terminate()
        self.program.wait(10)
        self.emu.send_signal(signal.SIGTERM)
        self.emu.wait(10)

    def find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "QX-7420":
                for j in range(app.childCount):
                    frame = app.getChildAtIndex(j)
                    if frame is not None and frame.name.startswith("TALVIK") and showing(frame):
                        self.app = app
                        self.frame = frame
                        return True
        return False

    def focused_names(self):
        return [name for kind, role, name in self.events if "focused" in kind]

    def answer_boxes(self, texts, seconds=60):
        """Waits for each box in turn, by a part of its text, and answers it with Enter."""
        for text in texts:
            found = pump(seconds, lambda: self.box_with(text))
            if not check(found, "%s: no box saying %r; shown: %r" % (self.language, text,
                                                                     self.box_texts())):
                return
            key("Return")
            pump(5, lambda: not self.box_with(text))

    def working(self):
        with open(os.path.join(self.folder, "r_and_w.dat"), "rb") as f:
            return f.read()

    def box_texts(self):
        texts = []
        for j in range(self.app.childCount):
            window = self.app.getChildAtIndex(j)
            if window is None or window == self.frame or not showing(window):
                continue
            texts += [node.name for node in walk(window) if node.name]
        return texts

    def box_with(self, text):
        for j in range(self.app.childCount):
            window = self.app.getChildAtIndex(j)
            if window is None or window == self.frame or not showing(window):
                continue
            for node in walk(window):
                if text in (node.name or ""):
                    return True
                try:
                    t = node.queryText()
                    if text in t.getText(0, -1):
                        return True
                except NotImplementedError:
                    pass
        return False

    def check_tree(self):
        table = None
        for node in walk(self.frame):
            role = node.getRole()
            if role == pyatspi.ROLE_TABLE:
                table = node
            if role in CONTROLS and showing(node):
                name = node.name or ""
                check(name.strip() != "" and not name[0].isspace(),
                      "%s: a showing %s is named %r" % (self.language, node.getRoleName(), name))
        if not check(table is not None, self.language + ": no table"):
            return
        check(table.name == self.words["grid"], "%s: the table is %r" % (self.language, table.name))
        t = table.queryTable()
        check(t.nRows == 16, "%s: the table has %d rows" % (self.language, t.nRows))
        headers = [t.getColumnHeader(c).name for c in range(t.nColumns)]
        check(headers == self.words["titles"], "%s: column headers %r" % (self.language, headers))
        rows = [t.getRowHeader(r).name for r in range(t.nRows)]
        check(rows == [str(n) for n in range(1, 17)], "%s: row headers %r" % (self.language, rows))

    def keyboard_walk(self, saved):
        w = self.words
        # Read with its key; the boxes the read shows are answered from the keyboard.
        key("F5")
        self.answer_boxes(w["read_boxes"])
        pump(3)
        names = [name for kind, role, name in self.events if "accessible-name" in kind]
        for phase in w["phases"][:2]:
            check(any(n.startswith(phase) for n in names),
                  "%s: the read never said %r" % (self.language, phase))
        # The keyboard is back in the grid: the first channel's receive frequency.
        self.events.clear()
        key("Down", "Down")
        check(pump(5, lambda: any(r == "table cell" for k, r, n in self.events if "focused" in k)),
              "%s: moving in the grid focused no cell: %r" % (self.language, self.events))
        type_text("455.125")
        key("Return")
        pump(2)
        # Tab to the Beep Tone list and pick the next item with Down.
        self.events.clear()
        for _ in range(30):
            key("Tab")
            if pump(2, lambda: self.focused_names() and self.focused_names()[-1] == w["beep"]):
                break
        check(self.focused_names() and self.focused_names()[-1] == w["beep"],
              "%s: Tab never reached %r: %r" % (self.language, w["beep"], self.focused_names()))
        # The list's next item, or its previous one where it shows the last; each is stored
        # at once.
        settings = lambda: self.working()[12 * 32:12 * 33]
        before = settings()
        key("Down")
        if not pump(3, lambda: settings() != before):
            key("Up")
        check(pump(3, lambda: settings() != before),
              "%s: %r stored nothing" % (self.language, w["beep"]))
        # Write with its key.
        self.events.clear()
        key("F6")
        self.answer_boxes(w["write_boxes"])
        pump(3)
        names = [name for kind, role, name in self.events if "accessible-name" in kind]
        for phase in w["phases"][2:]:
            check(any(n.startswith(phase) for n in names),
                  "%s: the write never said %r" % (self.language, phase))
        # Focus went back where it was: the Beep Tone list, not the Stop button.
        focus = self.focused_names()
        check(focus and focus[-1] == w["beep"],
              "%s: after the write the keyboard is on %r" % (self.language, self.events[-6:]))
        # Save with Ctrl+S into a file named in the dialog.
        key("ctrl+s")
        check(pump(15, lambda: self.box_with("")), self.language + ": Ctrl+S opened no dialog")
        pump(1)
        type_text(saved)
        key("Return")
        check(pump(15, lambda: os.path.exists(saved) and os.path.getsize(saved) == 420),
              "%s: Ctrl+S saved nothing" % self.language)


def bcd(frequency):
    digits = frequency.replace(".", "")
    return bytes(int(digits[i:i + 2], 16) for i in range(6, -1, -2))


def main():
    x = XServer()
    try:
        enable_accessibility_bus()
        with open(IMAGE, "rb") as f:
            demo = f.read()
        for language in ("E", "C"):
            with tempfile.TemporaryDirectory() as folder:
                session = Session(language, folder)
                try:
                    if not check(pump(30, session.find_app),
                                 language + ": the window never showed over AT-SPI"):
                        continue
                    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                    "^TALVIK", "windowactivate", "--sync"], check=False)
                    pump(1)
                    session.check_tree()
                    saved = os.path.join(folder, "saved.dat")
                    session.keyboard_walk(saved)
                finally:
                    session.close()
                working = open(os.path.join(folder, "r_and_w.dat"), "rb").read()
                radio = open(session.radio_file, "rb").read()
                check(os.path.exists(saved) and open(saved, "rb").read() == working,
                      language + ": the saved file is not the working file")
                check(radio == working, language + ": the radio does not hold the working file")
                # Only channel 3's frequencies and the settings block of Beep Tone changed.
                changed = [r for r in range(35) if working[12 * r:12 * r + 12] != demo[12 * r:12 * r + 12]]
                check(changed == [4, 32], "%s: records changed: %r" % (language, changed))
                check(working[12 * 4 + 4:12 * 4 + 8] == bcd("455.12500"),
                      "%s: channel 3 receives on %s" % (language, working[52:56].hex()))
    finally:
        x.close()
    if failures:
        print("%d failures" % len(failures))
        sys.exit(1)
    print("PASS")


main()
