#!/usr/bin/python3
"""What a screen reader reads of the real window, through AT-SPI: the
keypad's names and descriptions with the slot empty, in Zentrax's menu and in
its play. Run inside a session bus on an X server:
    dbus-run-session -- screen_reader.py PROGRAM
"""
import os
import subprocess
import sys
import time

import pyatspi


def wait_for(what, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = what()
        if found:
            return found
        time.sleep(0.05)
    sys.exit(f"screen_reader: gave up waiting for {what.__doc__}")


def application():
    """the program on the accessibility bus"""
    desktop = pyatspi.Registry.getDesktop(0)
    return next((a for a in desktop if a is not None and a.name == "Lumidot"), None)


def buttons(app):
    """every push button, by name"""
    found = pyatspi.findAllDescendants(app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
    return {b.name: b for b in found if b.getState().contains(pyatspi.STATE_SHOWING)}


def check_keypad(app, names):
    """The shown keys by name, in order, each described with the keyboard keys
    that the README's table gives it."""
    keys = [b for b in buttons(app).values() if b.parent.name == "Keypad"]
    if [k.name for k in keys] != names:
        sys.exit(f"screen_reader: the keypad reads {[k.name for k in keys]}, not {names}")
    keyboard = {5: ["5", "Return"], 7: ["7", "Left"], 8: ["8", "Up"], 9: ["9", "Right"]}
    for key in keys:
        index = key.getIndexInParent() + 1
        for word in keyboard.get(index, [str(index)] if index <= 9 else []):
            if word not in key.description:
                sys.exit(f"screen_reader: {key.name} says '{key.description}', not '{word}'")


def press(app, name):
    wait_for(lambda: name in buttons(app))
    buttons(app)[name].queryAction().doAction(0)


# The accessibility bus and its registry are up before the program asks for
# them, so that it registers as it starts.
pyatspi.Registry.getDesktop(0)
program = subprocess.Popen([sys.argv[1], "-platform", "xcb"],
                           env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
try:
    app = wait_for(application)
    check_keypad(app, [f"Key {k}" for k in range(1, 13)])
    press(app, "Insert cartridge")
    zentrax = ["Size", "Speed", "Targets", "Go", "Fire left", "Fire up", "Fire right"]
    wait_for(lambda: "Size" in buttons(app))
    check_keypad(app, zentrax)
    press(app, "Go")
    check_keypad(app, zentrax)
    program.terminate()
    if program.wait(30) != 0:
        sys.exit("screen_reader: the program did not end with 0 on SIGTERM")
finally:
    program.kill()
print("screen_reader: 1 passed, 0 failed")
