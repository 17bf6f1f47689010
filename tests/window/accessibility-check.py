#!/usr/bin/python3
"""The converter window as a screen reader meets it, through AT-SPI.

Starts dates-converter, finds it on the accessibility bus, dumps its tree,
reads the six number fields and the summary line, clicks the up half of the
Gregorian day spin button and then "&Today's Date" with xdotool, and checks
the new values and the text-changed and value-changed events that announced
them. Rests the pointer on a field and reads the hint as a tooltip.

    accessibility-check.py <dates-converter>

Runs inside an X server and a D-Bus session (see accessibility-test.sh).
Exits 0 when everything holds, 1 on a failure, 77 when the accessibility
bus cannot be reached.
"""
import os
import subprocess
import sys
import time

SKIP = 77

try:
    import pyatspi
    from gi.repository import GLib
except ImportError as error:
    print(f"accessibility check skipped: no AT-SPI client ({error})")
    sys.exit(SKIP)

FIELDS = ["Hijri day", "Hijri month", "Hijri year", "Gregorian day", "Gregorian month", "Gregorian year"]
WEEKDAYS = ["Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"]
HIJRI_MONTHS = ["Muharram", "Safar", "Rabi Awal", "Rabi Thani", "Jumad Awal", "Jumad Thani", "Rajab",
                "Shabaan", "Ramadhan", "Shawal", "Thul-Quada", "Thul-Hujja"]
CIVIL_MONTHS = ["January", "February", "March", "April", "May", "June", "July", "August", "September",
                "October", "November", "December"]
LINE_NAME = "Corresponding dates"

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print(f"FAIL: {what}")
    return condition


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def value_of(node):
    try:
        return node.queryValue().currentValue
    except NotImplementedError:
        return None


def walk(node, depth=0):
    yield node, depth
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def spoken(node):
    """What a screen reader says for a node: its name, its role, what it shows."""
    parts = [node.name or "", node.getRoleName()]
    text = text_of(node)
    if text:
        parts.append(text)
    value = value_of(node)
    if value is not None:
        parts.append(f"value {value:g}")
    if node.getState().contains(pyatspi.STATE_FOCUSABLE):
        parts.append("focusable")
    return ", ".join(p for p in parts if p)


def dump(app, title):
    print(f"--- {title}")
    for node, depth in walk(app):
        print("  " * depth + spoken(node))


def find_app(name, timeout=30):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.2)
    return None


def by_name(app, name):
    for node, _ in walk(app):
        if node.name == name:
            return node
    return None


def centre(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def click(node):
    x, y = centre(node)
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def fields(app):
    return {name: text_of(by_name(app, name)) for name in FIELDS}


def expected_line(f, weekday):
    return (f"{weekday}, {f['Hijri day']} {HIJRI_MONTHS[int(f['Hijri month']) - 1]} {f['Hijri year']}  =  "
            f"{f['Gregorian day']} {CIVIL_MONTHS[int(f['Gregorian month']) - 1]} {f['Gregorian year']}")


def check_window_reads_right(app, when):
    shown = fields(app)
    for name in FIELDS:
        node = by_name(app, name)
        if not check(node is not None, f"{when}: no field named {name}"):
            return shown
        text = shown[name]
        check(text is not None and text.lstrip("-").isdigit(), f"{when}: {name} reads {text!r}, not a number")
        if text is not None and text.lstrip("-").isdigit():
            check(value_of(node) == float(text), f"{when}: {name} has value {value_of(node)}, shows {text}")
    line = by_name(app, LINE_NAME)
    if check(line is not None, f"{when}: no summary line named {LINE_NAME}"):
        text = text_of(line) or ""
        weekday = text.split(",")[0]
        check(weekday in WEEKDAYS, f"{when}: the line {text!r} starts with no weekday")
        if weekday in WEEKDAYS and all(v is not None and v.lstrip("-").isdigit() for v in shown.values()):
            check(text == expected_line(shown, weekday), f"{when}: the line {text!r} is not what the fields say")
    return shown


def run_events(action, seconds):
    """Runs action inside the event loop and collects the events for a while."""
    events = []

    def listener(event):
        events.append((event.type, event.source.name if event.source else None,
                       str(event.any_data) if event.any_data is not None else ""))

    kinds = ("object:text-changed", "object:property-change:accessible-value", "object:value-changed",
             "object:state-changed:focused")
    pyatspi.Registry.registerEventListener(listener, *kinds)

    def start():
        action()
        GLib.timeout_add(int(seconds * 1000), stop)
        return False

    def stop():
        pyatspi.Registry.stop()
        return False

    GLib.timeout_add(300, start)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(listener, *kinds)
    return events


def announced(events, name, kind):
    return any(source == name and event_type.startswith(kind) for event_type, source, _ in events)


def main():
    program = sys.argv[1]
    try:
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as error:  # the bus did not come up
        print(f"accessibility check skipped: the accessibility bus cannot be reached ({error})")
        return SKIP

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb")
    process = subprocess.Popen([program], env=env)
    try:
        app = find_app("dates-converter")
        if app is None:
            print("FAIL: dates-converter never appeared on the accessibility bus")
            return 1
        time.sleep(1.5)  # the opening animation
        dump(app, "at start")
        before = check_window_reads_right(app, "at start")

        # Only the two push buttons take the focus.
        focusable = sorted(node.name for node, _ in walk(app)
                           if node.getState().contains(pyatspi.STATE_FOCUSABLE)
                           and node.getRole() != pyatspi.ROLE_FRAME)
        check(focusable == ["Close", "Today's Date"], f"focusable: {focusable}")
        focused = [node.name for node, _ in walk(app) if node.getState().contains(pyatspi.STATE_FOCUSED)
                   and node.getRole() != pyatspi.ROLE_FRAME]
        check(focused == ["Today's Date"], f"focused at start: {focused}")
        events = run_events(lambda: subprocess.run(["xdotool", "key", "Tab"], check=True), 1.5)
        check(any(t == "object:state-changed:focused" and source == "Close" for t, source, _ in events),
              f"Tab: no focus event from Close ({events})")
        events = run_events(lambda: subprocess.run(["xdotool", "key", "Tab"], check=True), 1.5)
        check(any(t == "object:state-changed:focused" and source == "Today's Date" for t, source, _ in events),
              f"Tab again: no focus event from Today's Date ({events})")

        # Each spin half says what it changes.
        for side in ["Hijri", "Gregorian"]:
            for part in ["day", "month", "year"]:
                for half in ["Up", "Down"]:
                    name = f"{half}, Change {side} {part}"
                    node = by_name(app, name)
                    check(node is not None and node.getRole() == pyatspi.ROLE_PUSH_BUTTON, f"no button {name!r}")

        up = by_name(app, "Up, Change Gregorian day")
        events = run_events(lambda: click(up), 2.5)
        dump(app, "after one click on Up, Change Gregorian day")
        after = check_window_reads_right(app, "after the click")
        check(after["Gregorian day"] != before["Gregorian day"], "the click did not change the Gregorian day")
        check(announced(events, "Gregorian day", "object:text-changed"), "no text-changed from Gregorian day")
        check(announced(events, "Gregorian day", "object:property-change:accessible-value")
              or announced(events, "Gregorian day", "object:value-changed"), "no value change from Gregorian day")
        check(announced(events, "Hijri day", "object:text-changed"), "no text-changed from Hijri day")
        check(announced(events, LINE_NAME, "object:text-changed"), "no text-changed from the summary line")
        print("--- events of the click")
        for event in events:
            print("  ", event)

        events = run_events(lambda: click(by_name(app, "Today's Date")), 2.5)
        again = check_window_reads_right(app, "after Today's Date")
        check(again == before, f"Today's Date shows {again}, the start showed {before}")
        check(announced(events, "Gregorian day", "object:text-changed"), "Today's Date: no text-changed")
        check(announced(events, LINE_NAME, "object:text-changed"), "Today's Date: no text-changed from the line")

        # A hint: the pointer rests on a field; a tooltip reads the hint.
        x, y = centre(by_name(app, "Gregorian year"))
        subprocess.run(["xdotool", "mousemove", str(x + 3), str(y + 2)], check=True)
        tip = None
        deadline = time.monotonic() + 5
        while tip is None and time.monotonic() < deadline:
            time.sleep(0.2)
            for node, _ in walk(app):
                if node.getRole() == pyatspi.ROLE_TOOL_TIP and node.getState().contains(pyatspi.STATE_SHOWING):
                    tip = node
        if check(tip is not None, "no tooltip while the pointer rests on a field"):
            check(text_of(tip) == "Gregorian year", f"the tooltip reads {text_of(tip)!r}")
            print(f"--- the hint: {spoken(tip)}")
    finally:
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()

    if failures:
        print(f"{len(failures)} failure(s)")
        return 1
    print("accessibility check: fields, line, spin halves, focus, events and hint read right")
    return 0


if __name__ == "__main__":
    sys.exit(main())
