"""Reads the game's accessibility tree over AT-SPI, as a screen reader does.

a11y_tree.py dump APP_NAME       prints the tree of the app's first window (role, name), and
                                 exits 1 when an element a player needs has no name.
a11y_tree.py focus APP_NAME N KEY...
                                 presses Tab N times, then the KEYs (xdotool), and prints the
                                 focus and name-change events; exits 1 unless every focus event
                                 names its element.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# Containers that a reader passes through without speaking them.
UNSPOKEN = {"filler", "panel", "application"}


def find_app(name, timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.2)
    sys.exit("no application named %r on the accessibility bus" % name)


def walk(node, depth, out):
    if not node.getState().contains(pyatspi.STATE_SHOWING):
        return  # hidden lists; a reader meets them once they drop down
    out.append((depth, node.getRoleName(), node.name or ""))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out)


def dump(name):
    app = find_app(name)
    window = app.getChildAtIndex(0)
    rows = []
    walk(window, 0, rows)
    unnamed = 0
    for depth, role, text in rows:
        mark = ""
        if not text and role not in UNSPOKEN:
            mark = "   <- no name"
            unnamed += 1
        print("%s%s '%s'%s" % ("  " * depth, role, text, mark))
    return 1 if unnamed else 0


def focus(name, presses, keys):
    find_app(name)
    events = []

    def on_focus(event):
        if event.detail1 == 1:
            events.append((event.source.getRoleName(), event.source.name or ""))

    def on_name(event):
        print("name changed: %s '%s'" % (event.source.getRoleName(), event.source.name or ""))

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
    loop = GLib.MainLoop()
    left = ["Tab"] * presses + keys

    def press():
        if not left:
            GLib.timeout_add(1000, loop.quit)
            return False
        subprocess.run(["xdotool", "key", left.pop(0)], check=True)
        return True

    GLib.timeout_add(400, press)
    GLib.timeout_add(60000, loop.quit)
    loop.run()
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
    pyatspi.Registry.deregisterEventListener(on_name, "object:property-change:accessible-name")
    for role, text in events:
        print("focus: %s '%s'" % (role, text))
    if len(events) < presses:
        print("only %d focus events for %d presses of Tab" % (len(events), presses))
        return 1
    return 1 if any(not text for _, text in events) else 0


if __name__ == "__main__":
    if sys.argv[1] == "dump":
        sys.exit(dump(sys.argv[2]))
    sys.exit(focus(sys.argv[2], int(sys.argv[3]), sys.argv[4:]))
