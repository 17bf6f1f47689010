#!/usr/bin/env python3
"""Reads `dates-convert ics 1446 1447` with the icalendar parser and checks it
against the month command: 24 all-day events on the months' first days, CRLF
lines of at most 75 octets, stable UIDs. Usage: check-ics.py <dates-convert>"""
import datetime
import json
import subprocess
import sys

import icalendar


def run(binary, *arguments):
    return subprocess.run([binary, *arguments], check=True, capture_output=True).stdout


def main():
    binary = sys.argv[1]
    raw = run(binary, "ics", "1446", "1447")
    faults = []
    lines = raw.split(b"\r\n")
    if lines[-1] != b"" or any(b"\n" in line or b"\r" in line for line in lines):
        faults.append("lines must end in CRLF and only there")
    longest = max(len(line) for line in lines)
    if longest > 75:
        faults.append(f"a line of {longest} octets")
    if not any(line.startswith(b" ") for line in lines):
        faults.append("the descriptions should have needed folding")

    calendar = icalendar.Calendar.from_ical(raw)
    if not str(calendar.get("PRODID", "")).strip():
        faults.append("no PRODID")
    if str(calendar.get("VERSION")) != "2.0":
        faults.append("VERSION is not 2.0")
    events = [c for c in calendar.walk() if c.name == "VEVENT"]
    if len(events) != 24:
        faults.append(f"{len(events)} events, not 24")
    uids = set()
    for event, (year, month) in zip(events, [(y, m) for y in (1446, 1447) for m in range(1, 13)]):
        report = json.loads(run(binary, "month", f"{year}-{month:02d}", "--json"))
        start = event.decoded("DTSTART")
        end = event.decoded("DTEND")
        if isinstance(start, datetime.datetime) or start.isoformat() != report["first_day"]:
            faults.append(f"{year}-{month:02d}: DTSTART {start}, month says {report['first_day']}")
        if end - start != datetime.timedelta(days=1):
            faults.append(f"{year}-{month:02d}: not one whole day")
        name = report["name"]  # "Ramadhan 1446"
        if str(event.get("SUMMARY")) != f"1 {name}":
            faults.append(f"{year}-{month:02d}: summary {event.get('SUMMARY')!r}")
        description = str(event.get("DESCRIPTION"))
        if report["new_moon_ut"] not in description:
            faults.append(f"{year}-{month:02d}: no new moon in {description!r}")
        rule = "on the next day" if report["rule"] == "next-day" else "on the day after next"
        if rule not in description:
            faults.append(f"{year}-{month:02d}: no rule branch in {description!r}")
        if report["borderline"] != ("Borderline" in description):
            faults.append(f"{year}-{month:02d}: borderline note does not match")
        if not isinstance(event.decoded("DTSTAMP"), datetime.datetime):
            faults.append(f"{year}-{month:02d}: no DTSTAMP")
        uids.add(str(event.get("UID")))
    if len(uids) != 24:
        faults.append("UIDs are not unique")
    if raw.split(b"DTSTAMP")[0] != run(binary, "ics", "1446", "1447").split(b"DTSTAMP")[0]:
        faults.append("two runs differ before the first stamp")

    for fault in faults:
        print(fault)
    print(f"{len(events)} events checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
