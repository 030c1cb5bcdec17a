"""A screen reader's walk through the setup example: pyatspi reaches `zelvar run`'s wizard over
AT-SPI2, reads its buttons and pages, presses Next, hears the page announced, reads the licence
by line, chooses it, finds the folder edit's label and types into the edit. Run by
run-setup-wizard.sh on a private desktop."""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TIMEOUT = 20.0

tool, form = sys.argv[1], sys.argv[2]
heard = []


def fail(message):
    raise AssertionError(message)


def pump(seconds=0.05):
    """Lets libatspi's main context deliver events for a moment."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def wait_for(what, check):
    """The first true value of check(), or a failure naming what was awaited."""
    end = time.monotonic() + TIMEOUT
    last = None
    while time.monotonic() < end:
        try:
            value = check()
            if value:
                return value
        except Exception as e:  # a node may go while it is looked at; ask again
            last = e
        pump()
    fail(f"timed out waiting for {what}" + (f" (last error: {last})" if last else ""))


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find(root, role, name):
    for node in walk(root):
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def need(root, role, name):
    return wait_for(f"{role} '{name}'", lambda: find(root, role, name))


def press(node):
    action = node.queryAction()
    if action.nActions != 1 or action.getName(0) != "click":
        fail(f"{node.name} offers {action.nActions} actions")
    if not action.doAction(0):
        fail(f"{node.name} refused to be pressed")


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_toolkit_name() == "Zelvar":
            return app
    return None


def main():
    pyatspi.Registry.registerEventListener(
        lambda e: heard.append(str(e.any_data)), "object:announcement")
    program = subprocess.Popen([tool, "run", form])
    try:
        app = wait_for("the application on the desktop", application)
        if app.getRoleName() != "application":
            fail(f"the application's role is {app.getRoleName()}")
        window = wait_for("the wizard's window", lambda: app.childCount == 1 and app[0])
        if window.name != "Setup - Page 1 of 8":
            fail(f"window named '{window.name}'")
        if window.parent != app:
            fail("the window's parent is not the application")

        buttons = {n.name for n in walk(window) if n.getRoleName() == "push button"}
        for name in ("Back", "Next", "Cancel", "Help"):
            if name not in buttons:
                fail(f"no button '{name}' among {sorted(buttons)}")
        next_button = need(window, "push button", "Next")
        back = need(window, "push button", "Back")
        if back.getState().contains(pyatspi.STATE_ENABLED):
            fail("Back is enabled on the first page")
        if not next_button.getState().contains(pyatspi.STATE_SHOWING):
            fail("Next is not showing")
        extents = next_button.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        if extents.width <= 0 or extents.height <= 0:
            fail(f"Next has no size: {extents}")

        press(next_button)
        wait_for("the licence page's announcement", lambda: "Step 2 of 8: Licence" in heard)
        wait_for("the window's new name", lambda: window.name == "Setup - Page 2 of 8")

        # The licence reads line by line, as Orca's arrow keys read it.
        memo = wait_for("the licence text", lambda: next(
            (n for n in walk(window) if n.getRoleName() == "text"
             and n.getState().contains(pyatspi.STATE_MULTI_LINE)), None))
        line = memo.queryText().getStringAtOffset(16, pyatspi.TEXT_GRANULARITY_LINE)
        if list(line) != ["Copyright (c) the Zelvar authors.\n", 16, 50]:
            fail(f"the licence's third line reads {line}")

        accept = need(window, "radio button", "I accept the licence")
        need(window, "radio button", "I do not accept it")
        if accept.getState().contains(pyatspi.STATE_CHECKED):
            fail("the licence is accepted before the user chose")
        press(accept)
        wait_for("the accept button checked",
                 lambda: accept.getState().contains(pyatspi.STATE_CHECKED))
        press(next_button)
        wait_for("the options page", lambda: window.name == "Setup - Page 3 of 8")

        folder = need(window, "text", "Folder:")
        labels = [r.getTarget(0) for r in folder.getRelationSet()
                  if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        if [label.name for label in labels] != ["Folder:"]:
            fail(f"the folder is labelled by {[label.name for label in labels]}")
        text = folder.queryText()
        if text.getText(0, -1) != "/opt/zelvar":
            fail(f"the folder reads '{text.getText(0, -1)}'")
        editable = folder.queryEditableText()
        if not editable.setTextContents("/srv/zelvar"):
            fail("the folder refused new text")
        editable.insertText(4, "/apps", 5)
        editable.deleteText(0, 0)
        wait_for("the typed folder", lambda: text.getText(0, -1) == "/srv/apps/zelvar")
        if text.characterCount != len("/srv/apps/zelvar"):
            fail(f"the folder counts {text.characterCount} characters")
    finally:
        program.terminate()
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()
    # Asked to end, the wizard cancels and the program exits cleanly.
    if program.returncode != 0:
        fail(f"zelvar run ended with {program.returncode}")
    print("ok: heard", heard)


main()
