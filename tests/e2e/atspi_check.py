#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the window over AT-SPI as a screen reader does: names, the rune and
# item rows checkable with their ticks.
#   atspi_check.py PROGRAM WORK_DIR   (inside a D-Bus session, on an X display)
import os, subprocess, sys, time  # noqa: E401
import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

NAMES = ["Runes", "Items", "Runewords", "Characters", "Information", "Item status", "Rune status",
         "Runeword status", "All Runes", "Extremely Rare", "Missile Weapons", "All Defence", "Exit"]
program, work = sys.argv[1], sys.argv[2]
with open(os.path.join(work, "chars.dat"), "wb") as f:  # Anna: runes 0-2 and item 0 ticked
    f.write(bytes([0, 30]) + b"Anna".ljust(15, b"\x02") + bytes([1] * 3 + [0] * 30 + [1] + [0] * 17 + [1, 0, 0]))
proc = subprocess.Popen([program], cwd=work,
                        env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb"))


def walk(node, depth=0):
    yield node
    for i in range(node.get_child_count() if depth < 12 else 0):
        if node.get_child_at_index(i) is not None:
            yield from walk(node.get_child_at_index(i), depth + 1)


def checked(row):
    row.clear_cache()
    return row.get_state_set().contains(Atspi.StateType.CHECKED)


def main():
    for _ in range(600):  # a first start of a fresh sanitizer build under load can take long
        desktop = Atspi.get_desktop(0)
        apps = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
        app = next((a for a in apps if a is not None and a.get_process_id() == proc.pid), None)
        if app is not None and app.get_child_count() > 0:
            break
        time.sleep(0.1)
    else:
        return ["the program never appeared on the AT-SPI bus"]
    time.sleep(0.5)
    nodes = list(walk(app))
    problems = ["nothing is named %r" % name for name in NAMES if name not in {n.get_name() for n in nodes}]
    for name, count, ticked in (("Runes", 33, {0, 1, 2}), ("Items", 18, {0})):
        lists = [n for n in nodes if n.get_name() == name and n.get_role() == Atspi.Role.LIST]
        if not lists or lists[0].get_child_count() != count:
            problems.append("%s: no list of %d rows" % (name, count))
            continue
        for i, row in enumerate(lists[0].get_child_at_index(i) for i in range(count)):
            checkable = row.get_role() == Atspi.Role.CHECK_BOX or \
                row.get_state_set().contains(Atspi.StateType.CHECKABLE)
            if not checkable or checked(row) != (i in ticked):
                problems.append("%s row %d (%s): role %s, checked %s" % (name, i, row.get_name(),
                                                                          row.get_role_name(), checked(row)))
    return problems


try:
    found = main()
finally:
    proc.terminate()
    proc.wait(10)
print("\n".join("atspi: " + line for line in found + ["FAILED" if found else "all checks hold"]))
sys.exit(1 if found else 0)
