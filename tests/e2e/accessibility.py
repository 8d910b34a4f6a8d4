#!/usr/bin/python3
"""End-to-end check of what a screen reader finds, through AT-SPI:
    tests/e2e/accessibility.py PATH/TO/dorvane

Runs itself again inside a private D-Bus session, starts Xvfb and the program
with Qt's accessibility bridge on, walks the program's tree as a screen
reader does, checks the roles and names of the main window's controls, then
ticks cbR1 through its toggle action and checks that it is ticked and that
the update rule ran (R1's box becomes enabled), and that keys with Alt type
nothing in a value box. Then it opens the finder from the keyboard, checks
its controls the same way, and that a load the load dialog refuses is
refused there too. Exit 77 when a tool is missing. Every process it starts
is stopped by its PID.
"""
import importlib.util
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time


def skip(message):
    print("SKIP: " + message)
    sys.exit(77)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def enter_private_session(program):
    for tool in ("Xvfb", "dbus-run-session", "xdotool"):
        if not shutil.which(tool):
            skip(tool + " not installed")
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        skip("at-spi2-core not installed")
    if importlib.util.find_spec("pyatspi") is None:
        skip("python3-pyatspi not installed")
    if not os.access(program, os.X_OK):
        skip(program + " not built")
    env = dict(os.environ, DORVANE_A11Y_SESSION="1")
    os.execvpe("dbus-run-session",
               ["dbus-run-session", "--", sys.executable, os.path.abspath(__file__), program], env)


def start_xvfb(processes):
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    processes.append(xvfb)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            fail("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return ":" + number.decode().strip()


def wait_for(what, probe, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.1)
    fail(what)


def walk(node, found):
    """Every accessible below node by name, with its role and object."""
    for child in node:
        if child is None:
            continue
        found.setdefault(child.name, []).append(child)
        walk(child, found)
    return found


def states(node):
    node.clearCache()
    return node.getState()


def check(pyatspi, app):
    frame = wait_for("main window not in the tree",
                     lambda: next((w for w in app if w and w.name.startswith("Potentiom")), None))
    found = walk(frame, {})

    def one(name, role):
        nodes = [n for n in found.get(name, []) if n.getRole() == role]
        if len(nodes) != 1:
            roles = [n.getRoleName() for n in found.get(name, [])]
            fail("expected one %s named %r, found roles %s" % (pyatspi.Role(role), name, roles))
        return nodes[0]

    boxes = {name: one(name, pyatspi.ROLE_CHECK_BOX) for name in (
        "Ajouter résistance R1", "Ajouter résistance R2", "Afficher courbe originale",
        "Afficher courbe log (Pos) théorique", "Afficher courbe modifiée")}
    edits = {name: one(name, pyatspi.ROLE_TEXT) for name in ("P1", "R1", "R2")}
    for name, text in (("P1", "100K"), ("R1", "10K2"), ("R2", "10K")):
        shown = edits[name].queryText().getText(0, -1)
        if shown != text:
            fail("value box %s holds %r, not %r" % (name, shown, text))
    shown = one("Type et valeur du potentiomètre original (P1)", pyatspi.ROLE_COMBO_BOX).queryText().getText(0, -1)
    if shown != "Linéaire":
        fail("the list shows %r, not 'Linéaire'" % shown)
    for caption in ("Ra", "Rb", "Montage en Pseudo Log (Log Pos)"):
        one(caption, pyatspi.ROLE_LABEL)
    chart = one("Montage en Pseudo Log (Log Pos)", pyatspi.ROLE_CHART)
    if not re.match(r"Courbe originale : 25[,.]0 à 25 %, 50[,.]0 à 50 %, 75[,.]0 à 75 % de la course\. "
                    r"Courbe modifiée : ", chart.description):
        fail("chart description: %r" % chart.description)

    r1, r2 = boxes["Ajouter résistance R1"], boxes["Ajouter résistance R2"]
    if states(r1).contains(pyatspi.STATE_CHECKED) or not states(r2).contains(pyatspi.STATE_CHECKED):
        fail("R2, not R1, should be fitted at start")
    if states(edits["R1"]).contains(pyatspi.STATE_ENABLED):
        fail("R1's value box should be disabled at start")

    action = r1.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    toggle = next((i for i, n in enumerate(names) if n.lower() == "toggle"), None)
    if toggle is None:
        fail("cbR1 offers no toggle action, only %s" % names)
    action.doAction(toggle)
    wait_for("cbR1 not ticked by its toggle action", lambda: states(r1).contains(pyatspi.STATE_CHECKED), 5)
    wait_for("the update rule did not run: R1's box still disabled",
             lambda: states(edits["R1"]).contains(pyatspi.STATE_ENABLED), 5)
    if states(r2).contains(pyatspi.STATE_CHECKED):
        fail("ticking R1 left R2 ticked")

    # Alt+X, Alt+Q type nothing; the "2" after them is typed.
    edits["P1"].queryComponent().grabFocus()
    xdotool("key", "End", "alt+x", "alt+q", "2")
    wait_for("P1 holds %r after Alt+X, Alt+Q, 2, not '100K2'" % text_of(edits["P1"]),
             lambda: text_of(edits["P1"]) == "100K2", 5)
    xdotool("key", "BackSpace")
    check_finder(pyatspi, app, frame)


def text_of(node):
    return node.queryText().getText(0, -1)


def xdotool(*args):
    subprocess.run(["xdotool"] + list(args), check=True)
    time.sleep(0.3)


def check_finder(pyatspi, app, frame):
    """The finder, opened from the keyboard: every control named by its
    caption, the preview described, a bad load refused as the load dialog
    refuses it, and Alt+A typing nothing while "Appliquer" is disabled."""
    window = subprocess.run(["xdotool", "search", "--name", "^Potentiom"], capture_output=True, text=True)
    xdotool("windowfocus", "--sync", window.stdout.split()[0])
    xdotool("key", "alt+o")
    xdotool("key", "t")
    dialog = wait_for("the finder did not open",
                      lambda: next((w for w in app if w and w.name == "Trouver la résistance"), None))
    found = walk(dialog, {})

    def one(name, role):
        nodes = [n for n in found.get(name, []) if n.getRole() == role]
        if len(nodes) != 1:
            roles = [n.getRoleName() for n in found.get(name, [])]
            fail("finder: expected one %s named %r, found roles %s" % (pyatspi.Role(role), name, roles))
        return nodes[0]

    for name, value in (("Loi visée :", "Loi idéale"), ("Série normalisée :", "E24")):
        shown = text_of(one(name, pyatspi.ROLE_COMBO_BOX))
        if shown != value:
            fail("finder: the list %r shows %r, not %r" % (name, shown, value))
    one("Valeurs normalisées autour de la résistance exacte :", pyatspi.ROLE_TREE)
    preview = one("Aperçu des courbes", pyatspi.ROLE_CHART)
    # R1 is fitted by now: the mirror of 10^(x/50), and the 6K2 it gives.
    if not re.match(r"Loi visée : 68[,.]4 à 25 %, 90[,.]0 à 50 %, 96[,.]8 à 75 % de la course\. "
                    r"Valeur choisie 6[,.]2K : 81[,.]4 à 25 %.* Bande de tolérance : 77[,.]3 à 84[,.]4 % à 25 %",
                    preview.description):
        fail("finder: preview description %r" % preview.description)

    load = one("Charge sur le curseur :", pyatspi.ROLE_TEXT)
    load.queryComponent().grabFocus()
    xdotool("type", "+47K")
    apply = one("Appliquer", pyatspi.ROLE_PUSH_BUTTON)
    wait_for("finder: Appliquer still enabled with the load '+47K'",
             lambda: not states(apply).contains(pyatspi.STATE_ENABLED), 5)
    message = next((n for n in walk(dialog, {}) if "n'est pas une résistance" in n), "")
    if "« +47K »" not in message:
        fail("finder: no word on the load '+47K'")
    xdotool("key", "alt+a")
    if text_of(load) != "+47K":
        fail("finder: Alt+A with Appliquer disabled typed into the load: %r" % text_of(load))
    xdotool("key", "Escape")
    wait_for("finder: Escape did not close it",
             lambda: not any(w and w.name == "Trouver la résistance" for w in app), 5)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: accessibility.py PATH/TO/dorvane")
    program = os.path.realpath(sys.argv[1])
    if os.environ.get("DORVANE_A11Y_SESSION") != "1":
        enter_private_session(program)

    processes = []
    try:
        display = start_xvfb(processes)
        env = dict(os.environ, DISPLAY=display, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        log = tempfile.TemporaryFile()
        app_process = subprocess.Popen([program], env=env, stdout=log, stderr=subprocess.STDOUT)
        processes.append(app_process)
        os.environ["DISPLAY"] = display
        import pyatspi

        def find_app():
            # Without a main loop the library misses the registration
            # signal: ask for the list afresh each time.
            if app_process.poll() is not None:
                log.seek(0)
                fail("the program exited with %d: %s" % (app_process.returncode, log.read()[-500:]))
            desktop = pyatspi.Registry.getDesktop(0)
            desktop.clearCache()
            for app in desktop:
                if app is not None and app.get_process_id() == app_process.pid:
                    return app
            return None

        check(pyatspi, wait_for("the program never reached the accessibility bus", find_app))
        print("PASS")
    finally:
        for process in reversed(processes):
            process.terminate()
        for process in processes:
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()


if __name__ == "__main__":
    main()
