#!/usr/bin/python3
"""Presses a button of a running program through the accessibility bus, as
an assistive tool would, and prints where the window it opens stands:
press_button.py PROGRAM BUTTON WINDOW [CELL]  ->  "X Y WIDTH HEIGHT" of WINDOW.
CELL: a table cell to click first (a mouse click made through the bus).
The program must run with its accessibility bridge on
(QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1) on the same session bus."""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def find(node, match, depth=0):
    if node is None or depth > 40:
        return None
    if match(node):
        return node
    for i in range(node.get_child_count()):
        found = find(node.get_child_at_index(i), match, depth + 1)
        if found:
            return found
    return None


def application(name):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == name:
            return app
    return None


def until(what, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        found = what()
        if found:
            return found
        time.sleep(0.2)
    return None


def main():
    program, button, window = sys.argv[1:4]
    app = until(lambda: application(program))
    if not app:
        sys.exit(f"press_button: no program {program!r} on the accessibility bus")
    if len(sys.argv) > 4:
        cell = until(lambda: find(app, lambda n: n.get_role() == Atspi.Role.TABLE_CELL
                                  and n.get_name() == sys.argv[4]))
        if not cell:
            sys.exit(f"press_button: no cell {sys.argv[4]!r}")
        box = cell.get_extents(Atspi.CoordType.SCREEN)
        Atspi.generate_mouse_event(box.x + box.width // 2, box.y + box.height // 2, "b1c")
        time.sleep(0.5)
    push = until(lambda: find(app, lambda n: n.get_role() == Atspi.Role.PUSH_BUTTON
                               and n.get_name() == button))
    if not push:
        sys.exit(f"press_button: no button {button!r}")
    Atspi.Action.do_action(push, 0)
    shown = until(lambda: find(app, lambda n: n.get_role() in (Atspi.Role.DIALOG, Atspi.Role.FRAME)
                               and n.get_name() == window
                               and n.get_state_set().contains(Atspi.StateType.SHOWING)))
    if not shown:
        sys.exit(f"press_button: no window {window!r} came up")
    box = shown.get_extents(Atspi.CoordType.SCREEN)
    print(box.x, box.y, box.width, box.height)


if __name__ == "__main__":
    main()
