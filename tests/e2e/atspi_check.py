#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the program's window over AT-SPI as a screen reader does: the lists,
buttons, panes and info box by name; rune and item rows checkable, with their
ticks; a row's toggle action flipping its tick.

    atspi_check.py PROGRAM WORK_DIR   (inside a D-Bus session, on an X display)
"""
import os
import subprocess
import sys
import time
import warnings

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

warnings.simplefilter("ignore", DeprecationWarning)  # the action names have no newer call in 2.46

NAMES = ["Runes", "Items", "Runewords", "Characters", "Information", "Item status", "Rune status",
         "Runeword status", "All Runes", "Common", "Semi-Rare", "Extremely Rare", "All Items", "All Weapons",
         "Melee Weapons", "Missile Weapons", "All Defence", "Exit"]
program, work = sys.argv[1], sys.argv[2]
# One character with runes 0-2 and item type 0 ticked.
with open(os.path.join(work, "chars.dat"), "wb") as f:
    f.write(bytes([0, 30]) + b"Anna".ljust(15, b"\x02") + bytes([1] * 3 + [0] * 30 + [1] + [0] * 17 + [1, 0, 0]))
proc = subprocess.Popen([program], cwd=work,
                        env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb"))


def walk(node, depth=0):
    yield node
    for i in range(node.get_child_count() if depth < 12 else 0):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child, depth + 1)


def checked(row):
    row.clear_cache()
    return row.get_state_set().contains(Atspi.StateType.CHECKED)


def main():
    problems = []
    for _ in range(150):
        desktop = Atspi.get_desktop(0)
        apps = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
        app = next((a for a in apps if a is not None and a.get_process_id() == proc.pid), None)
        if app is not None and app.get_child_count() > 0:
            break
        time.sleep(0.1)
    else:
        return ["the program never appeared on the AT-SPI bus"]
    time.sleep(0.5)
    named = {}
    for node in walk(app):
        named.setdefault(node.get_name(), node)
    problems += ["nothing is named %r" % name for name in NAMES if name not in named]
    for name, count, ticked in (("Runes", 33, {0, 1, 2}), ("Items", 18, {0})):
        lists = [n for n in walk(app) if n.get_name() == name and n.get_role() == Atspi.Role.LIST]
        if not lists or lists[0].get_child_count() != count:
            problems.append("%s: no list of %d rows" % (name, count))
            continue
        for i in range(count):
            row = lists[0].get_child_at_index(i)
            states = row.get_state_set()
            checkable = row.get_role() == Atspi.Role.CHECK_BOX or states.contains(Atspi.StateType.CHECKABLE)
            if not checkable or checked(row) != (i in ticked):
                problems.append("%s row %d (%s): role %s, states %s, ticked %s"
                                % (name, i, row.get_name(), row.get_role_name(),
                                   [s.value_nick for s in states.get_states()], i in ticked))
        row = lists[0].get_child_at_index(5)
        names = [row.get_action_name(i) for i in range(row.get_n_actions())]
        if "Toggle" not in names:
            problems.append("%s row 5: no Toggle action among %s" % (name, names))
            continue
        row.do_action(names.index("Toggle"))
        if not any(checked(row) or time.sleep(0.1) for _ in range(30)):
            problems.append("%s row 5: Toggle did not tick it" % name)
    return problems


try:
    found = main()
finally:
    proc.terminate()
    proc.wait(10)
for problem in found:
    print("atspi: " + problem, file=sys.stderr)
print("atspi: %s" % ("FAILED" if found else "all checks hold"))
sys.exit(1 if found else 0)
