#!/usr/bin/python3
"""What a screen reader reads of the real window, through AT-SPI: the
keypad's names and descriptions with the slot empty, in Zentrax's menu and in
its play; the cartridge list as the shelf fills it, and the names a
cartridge written in Lua gives its keys. Run inside a session bus on an X
server:
    dbus-run-session -- screen_reader.py PROGRAM
"""
import os
import subprocess
import sys
import tempfile
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


def run(arguments, environment, check):
    """Runs the program until the check is done, then ends it with SIGTERM."""
    program = subprocess.Popen([sys.argv[1], "-platform", "xcb"] + arguments,
                               env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                                        **environment))
    try:
        check(wait_for(application))
        program.terminate()
        if program.wait(30) != 0:
            sys.exit("screen_reader: the program did not end with 0 on SIGTERM")
    finally:
        program.kill()


def zentrax(app):
    check_keypad(app, [f"Key {k}" for k in range(1, 13)])
    press(app, "Insert cartridge")
    names = ["Size", "Speed", "Targets", "Go", "Fire left", "Fire up", "Fire right"]
    wait_for(lambda: "Size" in buttons(app))
    check_keypad(app, names)
    press(app, "Go")
    check_keypad(app, names)


def shelf(app):
    """The list: Zentrax, then by name; "Beta" from the command line, chosen,
    over the user's; no user folder takes the name Zentrax."""
    combo = pyatspi.findDescendant(app, lambda n: n.getRole() == pyatspi.ROLE_COMBO_BOX)
    items = [i.name for i in pyatspi.findAllDescendants(
        combo, lambda n: n.getRole() == pyatspi.ROLE_LIST_ITEM)]
    if items != ["Zentrax", "Alpha", "Beta", "Glintmoor"] or combo.name != "Beta":
        sys.exit(f"screen_reader: the list reads {items}, showing {combo.name}")
    press(app, "Insert cartridge")
    wait_for(lambda: "From the command line" in buttons(app))
    check_keypad(app, ["From the command line", "Named"])


def cartridge(folder, name, script):
    os.makedirs(os.path.join(folder, name))
    with open(os.path.join(folder, name, "cartridge.lua"), "w") as out:
        out.write(script)


# The accessibility bus and its registry are up before the program asks for
# them, so that it registers as it starts.
pyatspi.Registry.getDesktop(0)
run([], {}, zentrax)
with tempfile.TemporaryDirectory() as scratch:
    user = os.path.join(scratch, "data", "lumidot", "cartridges")
    hidden = "for k = 3, 12 do key_visible(k, false) end\n"
    for name in ["Alpha", "Beta", "Zentrax"]:
        cartridge(user, name, hidden + "key_caption(1, 'From the user') wait_key()\n")
    cartridge(os.path.join(scratch, "given"), "Beta",
              hidden + "key_caption(1, 'From the command line')\n"
              "key_picture(2, nil) key_name(2, 'Named') wait_key()\n")
    run(["--cartridge", os.path.join(scratch, "given", "Beta")],
        {"XDG_DATA_HOME": os.path.join(scratch, "data")}, shelf)
print("screen_reader: 1 passed, 0 failed")
