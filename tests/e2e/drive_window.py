#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives Glyphmoor on a real X display and checks what it wrote.

  drive_window.py PROGRAM WORK_DIR OUT_DIR

PROGRAM is started in WORK_DIR, which holds only the three reference data
files. DISPLAY must name a running X server without a window manager. All
input is real X input (xdotool, XTEST): the first-character dialog, clicks on
the check boxes and labels of the rune and item lists, the Filters menu by
keyboard, a second character from the File menu, character switches by
clicking the character list, and the Exit button. The ticks shown after each
switch are read back from the screen, and at the end chars.dat and
settings.dat are read byte by byte and compared with what was done, using the
listing rules worked out here from the data files.

OUT_DIR receives screenshot.png (the window with a filled runeword list) and,
when a check fails, failure.png with the whole screen. Exit status: 0 passed,
1 a check failed.
"""

import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # run from the source tree: leave no __pycache__ there
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import glyphmoor_files as files  # noqa: E402
import xscreen as x  # noqa: E402
from xscreen import Failure  # noqa: E402

TITLE = "Glyphmoor v1.3.3"
NEW_CHARACTER = "New Character..."

# Panel geometry (pixels of the panel, the window's area below the menu bar).
RUNE_LIST = (8, 8)
ITEM_LIST = (8, 208)
RUNEWORD_LIST = (170, 8)
CHARACTER_LIST = (618, 8)
LIST_FRAME = 2           # each list's sunken edge; points inside are viewport points
ROW_HEIGHT = 16
RUNE_COLUMN_WIDTH = 50
RUNES_PER_COLUMN = 11
LABEL_X = 17             # a row's label starts here; its state icon fills x 0 to 15
EXIT_BUTTON = (618, 500, 738, 522)
VISIBLE_RUNEWORD_ROWS = 17

# The check boxes as drawn: a grey border at 1..14, light inside, and, when
# ticked, a dark tick through (9, 7). A selected row may tint the box, so the
# parts are told apart by how light they are, not by their exact colours.
WHITE = (255, 255, 255)
TICK_POINT = (9, 7)
PAPER_POINT = (3, 3)


def lightness(colour):
    r, g, b = colour
    return (299 * r + 587 * g + 114 * b) // 1000


# What this run does.
FIRST = ("Wren Ashby", 42)
SECOND = ("Brann", 7)
FIRST_RUNES = {0, 1, 2, 3, 4, 12, 25}      # rune 5 is ticked and unticked again
FIRST_ITEMS = {4, 9, 13, 15}
FIRST_RUNE_LABEL = 12
FIRST_ITEM_LABEL = 9
SECOND_RUNES = {1, 3}
SECOND_ITEMS = {0, 13}
# Filters chosen by keyboard: at least one rune, the selected character's
# level, and an upper bound of 45 on the level requirement.
FINAL_RULES = (files.ANY_RUNE, files.SELECTED_CHARACTER, 0, 45, False)
START_RULES = (files.ALL_RUNES, files.IGNORE_CHARACTERS, 0, 100, True)
LATE_RUNEWORD_ROW = 16   # only listed once the rune rule lets more through


def log(text):
    print("e2e: " + text, flush=True)


def close_to(a, b, slack=40):
    return all(abs(p - q) <= slack for p, q in zip(a, b))


class Window:
    """The main window: its id, where its panel lies on the screen, and reads
    of its pixels in panel coordinates."""

    def __init__(self, wid):
        self.wid = wid
        self.x, self.y, self.width, self.height = x.geometry(wid)
        self.menu_height = None
        self.shot = None

    def capture(self):
        data = subprocess.run(["xwd", "-id", self.wid, "-silent"], capture_output=True, timeout=15,
                              check=True).stdout
        self.shot = x.decode_xwd(data)
        return self

    def pixel(self, px, py):
        """A pixel of the last capture, at a panel point."""
        return self.shot.pixel(px, py + self.menu_height)

    def click(self, px, py, button=1):
        x.click(self.x + px, self.y + self.menu_height + py, button)

    def measure_menu_bar(self):
        """Finds the panel's top edge from the first rune's check box, whose
        border runs along panel y 11 from x 11 to 24."""
        self.capture()
        bx = RUNE_LIST[0] + LIST_FRAME + 1
        for top in range(0, 80):
            y = top + RUNE_LIST[1] + LIST_FRAME + 1
            if y + 2 >= self.shot.height:
                break
            edge = [lightness(self.shot.pixel(bx + i, y)) for i in range(14)]
            paper = lightness(self.shot.pixel(bx + 2, y + 2))
            if max(edge) - min(edge) < 8 and paper - max(edge) > 50 and \
                    abs(lightness(self.shot.pixel(bx, y + 2)) - edge[0]) < 8:
                self.menu_height = top
                return top
        raise Failure("the rune list shows no check box at panel (11, 11) below a menu bar of any height "
                      "up to 80 px: the window lacks its check-box icons or its layout moved")


def rune_icon(row):
    column, line = divmod(row, RUNES_PER_COLUMN)
    return (RUNE_LIST[0] + LIST_FRAME + column * RUNE_COLUMN_WIDTH,
            RUNE_LIST[1] + LIST_FRAME + line * ROW_HEIGHT)


def item_icon(row):
    return ITEM_LIST[0] + LIST_FRAME, ITEM_LIST[1] + LIST_FRAME + row * ROW_HEIGHT


def box_state(window, corner):
    """'ticked', 'empty' or 'none' for the check box whose cell starts at corner."""
    cx, cy = corner
    paper = lightness(window.pixel(cx + PAPER_POINT[0], cy + PAPER_POINT[1]))
    borders = (lightness(window.pixel(cx + 1, cy + 1)), lightness(window.pixel(cx + 14, cy + 14)))
    if any(paper - border < 50 for border in borders):
        return "none"
    ink = lightness(window.pixel(cx + TICK_POINT[0], cy + TICK_POINT[1]))
    if paper - ink > 120:
        return "ticked"
    if abs(paper - ink) < 20:
        return "empty"
    return "unclear (lightness %d on paper of %d)" % (ink, paper)


def expect_boxes(window, runes, items, what, timeout=10.0):
    """Waits until the lists show exactly these ticks."""
    def wrong():
        window.capture()
        bad = []
        for row in range(files.RUNE_ROWS):
            want = "ticked" if row in runes else "empty"
            got = box_state(window, rune_icon(row))
            if got != want:
                bad.append("rune row %d shows %s, expected %s" % (row, got, want))
        for row in range(files.ITEM_ROWS):
            want = "ticked" if row in items else "empty"
            got = box_state(window, item_icon(row))
            if got != want:
                bad.append("item row %d shows %s, expected %s" % (row, got, want))
        return bad

    deadline = time.monotonic() + timeout
    while True:
        bad = wrong()
        if not bad:
            return
        if time.monotonic() > deadline:
            raise Failure("%s: %s" % (what, "; ".join(bad[:6])))
        time.sleep(0.05)


def click_box(window, corner, runes_or_items, row, ticked_after, check):
    window.click(corner[0] + 8, corner[1] + 8)
    x.wait_for("row %d of the %s list to show %s" % (row, runes_or_items, "a tick" if ticked_after else "no tick"),
               lambda: box_state(window.capture(), corner) == ("ticked" if ticked_after else "empty"))
    if check:
        check()


def row_has_text(window, left, top, width):
    """Whether a 16-px row band holds drawn text: pixels far from the band's
    most common colour."""
    counts = {}
    band = [window.pixel(px, py) for py in range(top, top + ROW_HEIGHT) for px in range(left, left + width)]
    for colour in band:
        counts[colour] = counts.get(colour, 0) + 1
    background = max(counts, key=counts.get)
    return sum(1 for c in band if not close_to(c, background, 90)) >= 6


def runeword_row_top(header, row):
    return RUNEWORD_LIST[1] + LIST_FRAME + header + row * ROW_HEIGHT


def expect_runeword_rows(window, header, count, what, timeout=10.0):
    """The runeword list shows text in its first `count` rows (as far as they
    are visible) and nothing in the row after them."""
    left = RUNEWORD_LIST[0] + LIST_FRAME + 2

    def mismatch():
        window.capture()
        for row in range(min(count, VISIBLE_RUNEWORD_ROWS)):
            if not row_has_text(window, left, runeword_row_top(header, row), 110):
                return "row %d is empty" % row
        if count < VISIBLE_RUNEWORD_ROWS and row_has_text(window, left, runeword_row_top(header, count), 110):
            return "row %d holds text" % count
        return None

    deadline = time.monotonic() + timeout
    while True:
        problem = mismatch()
        if problem is None:
            return
        if time.monotonic() > deadline:
            raise Failure("%s: the runeword list should show %d rows, but %s" % (what, count, problem))
        time.sleep(0.05)


def measure_header(window):
    """The height of the report lists' column header: the empty runeword list
    turns white (its base colour) where the rows would begin."""
    px = RUNEWORD_LIST[0] + LIST_FRAME + 20
    top = RUNEWORD_LIST[1] + LIST_FRAME
    for offset in range(0, 40):
        if window.pixel(px, top + offset) == WHITE and window.pixel(px, top + offset + 1) == WHITE:
            return offset
    raise Failure("found no end of the runeword list's column header within 40 px")


def fill_character_dialog(name, level):
    dialog = x.find_window(NEW_CHARACTER)
    x.focus(dialog)
    dx, dy, dw, dh = x.geometry(dialog)
    x.move(dx + dw // 2, dy + dh // 2)
    x.type_text(name)
    x.keys("Tab")
    x.type_text(str(level))
    x.keys("Return")
    x.wait_for('the dialog "%s" to close' % NEW_CHARACTER, lambda: x.window_gone(NEW_CHARACTER))
    x.park()


def expect_record(record, k, name, level, runes, items, highlights):
    problems = []
    if record.slot != k:
        problems.append("slot byte %d" % record.slot)
    if record.clvl != level:
        problems.append("Clvl %d, expected %d" % (record.clvl, level))
    if record.name != name.encode("cp1252"):
        problems.append("name %r, expected %r" % (record.name, name))
    if not record.padding_ok:
        problems.append("name field not padded with 0x02")
    if any(b not in (0, 1) for b in record.rune_ticks + record.item_ticks):
        problems.append("a tick byte other than 0 or 1")
    if record.ticked_runes() != runes:
        problems.append("ticked runes %s, expected %s" % (sorted(record.ticked_runes()), sorted(runes)))
    if record.ticked_items() != items:
        problems.append("ticked items %s, expected %s" % (sorted(record.ticked_items()), sorted(items)))
    got = (record.highlighted_rune, record.highlighted_item_type, record.highlighted_runeword)
    if got != highlights:
        problems.append("highlighted rune, item type, runeword %s, expected %s" % (got, highlights))
    if problems:
        raise Failure("chars.dat record %d (%s): %s" % (k, name, "; ".join(problems)))


def read_roster(work, count, when):
    roster = files.read_roster(os.path.join(work, "chars.dat"))
    if len(roster) != count:
        raise Failure("%s chars.dat holds %d records, expected %d" % (when, len(roster), count))
    return roster


def drive(program, work, out):
    data = files.ReferenceData(work)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb")
    app = subprocess.Popen([program], cwd=work, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    try:
        run_session(app, data, work, out)
    except BaseException:
        path = failure_screenshot(out)  # before the program goes
        if path:
            log("the screen at the failure: %s" % path)
        raise
    finally:
        if app.poll() is None:
            app.kill()
            app.wait()
        output = app.stdout.read().decode("utf-8", "replace").strip()
        if output:
            log("program output:\n" + output)
    return 0


def run_session(app, data, work, out):
    t0 = time.monotonic()
    # The roster is empty, so the program asks for a first character before
    # its window shows.
    fill_character_dialog(*FIRST)
    window = Window(x.find_window(TITLE))
    log("window %s at (%d, %d), %dx%d" % (window.wid, window.x, window.y, window.width, window.height))
    menu = window.measure_menu_bar()
    header = measure_header(window)
    log("menu bar %d px high, list header %d px high" % (menu, header))
    x.focus(window.wid)

    first_record = read_roster(work, 1, "after the first dialog,")[0]
    expect_record(first_record, 0, FIRST[0], FIRST[1], set(), set(), (0, 0, 0))
    expect_boxes(window, set(), set(), "a new character's lists")
    expect_runeword_rows(window, header, 0, "with nothing ticked")

    # The character list: row 0 is the one character, highlighted.
    row_y = CHARACTER_LIST[1] + LIST_FRAME + header
    window.capture()
    if close_to(window.pixel(CHARACTER_LIST[0] + LIST_FRAME + 4, row_y + 4), WHITE, 10):
        raise Failure("the character list does not highlight its one character's row at panel y %d" % row_y)

    # Ticks of the first character: the boxes of several runes in all three
    # columns and of several item types; rune 5 on and off again.
    levels = [FIRST[1]]
    for row in sorted(FIRST_RUNES | {5}):
        click_box(window, rune_icon(row), "rune", row, True, None)
    time.sleep(0.8)  # longer than a double click, so this is a click of its own
    click_box(window, rune_icon(5), "rune", 5, False, None)
    for row in sorted(FIRST_ITEMS):
        click_box(window, item_icon(row), "item", row, True, None)
    expect_boxes(window, FIRST_RUNES, FIRST_ITEMS, "after ticking the first character's runes and items")
    listed = data.listed(FIRST_RUNES, FIRST_ITEMS, START_RULES, levels, 0)
    expect_runeword_rows(window, header, len(listed), "after ticking, under the start-up rules")

    # Labels select rows without touching ticks.
    rx, ry = rune_icon(FIRST_RUNE_LABEL)
    window.click(rx + LABEL_X + 6, ry + 8)
    ix, iy = item_icon(FIRST_ITEM_LABEL)
    window.click(ix + LABEL_X + 6, iy + 8)
    chosen_row = min(6, len(listed) - 1)
    window.click(RUNEWORD_LIST[0] + LIST_FRAME + 30, runeword_row_top(header, chosen_row) + 8)
    expect_boxes(window, FIRST_RUNES, FIRST_ITEMS, "after clicking labels")
    time.sleep(0.3)  # let the info box and the status line catch up before the picture
    window.capture()
    window.shot.save_png(os.path.join(out, "screenshot.png"))
    log("saved %s (%d runewords listed)" % (os.path.join(out, "screenshot.png"), len(listed)))

    # Filters by keyboard. The menu opens with its first item active;
    # separators are skipped.
    x.focus(window.wid)
    x.keys("alt+t", "Down", "Return")                 # Runeword must contain at least one of the selected runes
    x.keys("alt+t", "Down", "Down", "Down", "Return")  # The selected character must meet the ... requirement
    x.keys("alt+t", *["Down"] * 7, "Right", *["Down"] * 5, "Return")  # ... requirement under: 45
    listed = data.listed(FIRST_RUNES, FIRST_ITEMS, FINAL_RULES, levels, 0)
    if len(listed) <= LATE_RUNEWORD_ROW:
        raise Failure("the sample data lists only %d runewords for the first character; the test needs more"
                      % len(listed))
    expect_runeword_rows(window, header, len(listed), "after the Filters commands")
    window.click(RUNEWORD_LIST[0] + LIST_FRAME + 30, runeword_row_top(header, LATE_RUNEWORD_ROW) + 8)
    first_highlights = (FIRST_RUNE_LABEL, FIRST_ITEM_LABEL, listed[LATE_RUNEWORD_ROW])

    # A second character, from the File menu by keyboard.
    x.focus(window.wid)
    x.keys("alt+f", "Return")
    fill_character_dialog(*SECOND)
    levels.append(SECOND[1])
    expect_boxes(window, set(), set(), "the second character's lists")
    roster = read_roster(work, 2, "after the second character was made,")
    # Making a character writes the record of the one left as well.
    expect_record(roster[0], 0, FIRST[0], FIRST[1], FIRST_RUNES, FIRST_ITEMS, first_highlights)
    expect_record(roster[1], 1, SECOND[0], SECOND[1], set(), set(), (0, 0, 0))
    for row in sorted(SECOND_RUNES):
        click_box(window, rune_icon(row), "rune", row, True, None)
    for row in sorted(SECOND_ITEMS):
        click_box(window, item_icon(row), "item", row, True, None)
    second_listed = data.listed(SECOND_RUNES, SECOND_ITEMS, FINAL_RULES, levels, 1)
    expect_runeword_rows(window, header, len(second_listed), "the second character's runewords")
    # A click on a box selects its row too, as the platform's list does; the
    # list of runewords selects its first row when it is rebuilt.
    second_highlights = (max(SECOND_RUNES), max(SECOND_ITEMS), second_listed[0] if second_listed else 0)

    # Switch to the first character, back to the second, and to the first
    # again, by clicking the labels of the character list's rows.
    def choose(row, runes, items, what):
        window.click(CHARACTER_LIST[0] + LIST_FRAME + 20, CHARACTER_LIST[1] + LIST_FRAME + header
                     + row * ROW_HEIGHT + 8)
        expect_boxes(window, runes, items, what)

    choose(0, FIRST_RUNES, FIRST_ITEMS, "back on the first character")
    expect_runeword_rows(window, header, len(listed), "back on the first character")
    roster = read_roster(work, 2, "after leaving the second character,")
    expect_record(roster[1], 1, SECOND[0], SECOND[1], SECOND_RUNES, SECOND_ITEMS, second_highlights)
    choose(1, SECOND_RUNES, SECOND_ITEMS, "back on the second character")
    roster = read_roster(work, 2, "after leaving the first character,")
    expect_record(roster[0], 0, FIRST[0], FIRST[1], FIRST_RUNES, FIRST_ITEMS, first_highlights)
    choose(0, FIRST_RUNES, FIRST_ITEMS, "on the first character again")

    # The Exit button ends the program, which saves the character and the
    # settings on its way out.
    left, top, right, bottom = EXIT_BUTTON
    window.click((left + right) // 2, (top + bottom) // 2)
    try:
        status = app.wait(timeout=15)
    except subprocess.TimeoutExpired:
        raise Failure("the program did not end within 15 s of a click on its Exit button")
    if status != 0:
        raise Failure("the program ended with status %d after Exit" % status)

    roster = read_roster(work, 2, "at the end,")
    expect_record(roster[0], 0, FIRST[0], FIRST[1], FIRST_RUNES, FIRST_ITEMS, first_highlights)
    expect_record(roster[1], 1, SECOND[0], SECOND[1], SECOND_RUNES, SECOND_ITEMS, second_highlights)
    settings = files.Settings(os.path.join(work, "settings.dat"))
    got = (settings.rune_rule, settings.character_rule, settings.clvl_over, settings.clvl_under,
           settings.ignore_clvl_limits)
    if got != FINAL_RULES:
        raise Failure("settings.dat holds the rules %s, expected %s" % (got, FINAL_RULES))
    if (settings.info_kind, settings.selected_character) != (3, 0):
        raise Failure("settings.dat holds info kind %d and character %d, expected 3 and 0"
                      % (settings.info_kind, settings.selected_character))
    extra = sorted(set(os.listdir(work)) - {"runes.dat", "items.dat", "runewords.dat", "chars.dat", "settings.dat"})
    if extra:
        raise Failure("the working folder holds unexpected files: %s" % ", ".join(extra))
    log("passed in %.1f s: 2 characters, %d and %d runewords listed, files as expected"
        % (time.monotonic() - t0, len(listed), len(second_listed)))


def failure_screenshot(out):
    """The whole screen, with open menus and dialogs drawn over it."""
    try:
        screen = x.capture()
        canvas = bytearray(screen.rgb)
        windows = subprocess.run(["xdotool", "search", "--class", "glyphmoor"], capture_output=True,
                                 text=True, timeout=15).stdout.split()
        for wid in windows:
            grab = subprocess.run(["xwd", "-id", wid, "-silent"], capture_output=True, timeout=15)
            if grab.returncode != 0:
                continue
            wx, wy, _, _ = x.geometry(wid)
            shot = x.decode_xwd(grab.stdout)
            for row in range(shot.height):
                sy = wy + row
                if not 0 <= sy < screen.height:
                    continue
                first = max(0, -wx)
                last = min(shot.width, screen.width - wx)
                if first >= last:
                    continue
                canvas[3 * (sy * screen.width + wx + first):3 * (sy * screen.width + wx + last)] = \
                    shot.rgb[3 * (row * shot.width + first):3 * (row * shot.width + last)]
        path = os.path.join(out, "failure.png")
        x.Shot(screen.width, screen.height, bytes(canvas)).save_png(path)
        return path
    except Exception as error:  # the picture is a help, not the verdict
        log("could not save a screenshot: %s" % error)
        return None


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    program, work, out = sys.argv[1:]
    try:
        return drive(program, work, out)
    except (Failure, subprocess.CalledProcessError, subprocess.TimeoutExpired, ValueError, OSError) as error:
        log("FAILED: %s" % error)
        return 1


if __name__ == "__main__":
    sys.exit(main())
