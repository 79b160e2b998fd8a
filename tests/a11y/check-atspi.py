#!/usr/bin/python3
"""The programs as a screen reader finds them, through the desktop's
accessibility bus (AT-SPI): every control shown that a person operates has a
name, the option buttons are radio buttons, the lists are labelled, message
and input boxes read their text, and a coil that changes state changes its
name and says so.

    check-atspi.py BIN_DIR

runs the real programs of BIN_DIR on a virtual X display (Xvfb) with the
AT-SPI bus of a D-Bus session of its own (it starts itself again under
dbus-run-session). Exit status 0 when every case passes, 1 when one fails,
77 when a tool it needs is missing (scripts/deps installs them).
"""

import importlib.util
import os
import re
import shutil
import signal
import subprocess
import sys
import time

try:
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, Gio, GLib
except (ImportError, ValueError):
    Atspi = None
pyatspi = None  # imported once the bus is up: importing it reaches for the bus

BIN = os.path.abspath(sys.argv[-1])
IN_SESSION = "--in-session"
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
LIMIT = 60  # seconds any awaited condition may take on a loaded machine

started = []  # every process this test starts, ended in reverse order


class Failure(Exception):
    pass


def start(args, **kw):
    p = subprocess.Popen(args, **kw)
    started.append(p)
    return p


def end(p):
    if p.poll() is None:
        p.terminate()
        try:
            p.wait(10)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
    if p in started:
        started.remove(p)


def wait(condition, what, limit=LIMIT):
    """Waits until condition() gives something true, handling the bus's
    events meanwhile; fails naming what did not happen."""
    deadline = time.monotonic() + limit
    while True:
        pump()
        got = condition()
        if got:
            return got
        if time.monotonic() > deadline:
            raise Failure("waited %d s in vain for %s" % (limit, what))
        time.sleep(0.05)


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


# ---- The desktop: X display and accessibility bus ---------------------------


def x_display():
    """Xvfb on a free display; its number is written once it takes clients."""
    r, w = os.pipe()
    start(["Xvfb", "-displayfd", str(w), "-nolisten", "tcp", "-screen", "0", "1024x768x24"],
          pass_fds=[w], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    with os.fdopen(r) as f:
        number = f.readline().strip()
    if not number:
        raise Failure("Xvfb did not start")
    os.environ["DISPLAY"] = ":" + number


def accessibility_bus():
    start([LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    global pyatspi
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def bus_up():
        return session.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                 "org.freedesktop.DBus", "NameHasOwner",
                                 GLib.Variant("(s)", ("org.a11y.Bus",)), GLib.VariantType("(b)"),
                                 Gio.DBusCallFlags.NONE, -1, None).unpack()[0]

    wait(bus_up, "the accessibility bus")
    import pyatspi as module
    pyatspi = module
    # A program busy with the island answers late on a loaded machine.
    Atspi.set_timeout(20000, 30000)
    # Every read asks the program, so a name read is the name it has now.
    pyatspi.Registry.getDesktop(0).set_cache_mask(Atspi.Cache.NONE)


# ---- Reading the tree ------------------------------------------------------

# Roles of the controls a person operates (besides anything focusable).
OPERABLE = {"push button", "toggle button", "check box", "radio button", "combo box", "text",
            "password text", "entry", "spin button", "slider", "list item", "menu item",
            "page tab", "link"}


def role(node):
    return node.getRoleName()


def states(node):
    return node.getState()


def shown(node):
    return states(node).contains(pyatspi.STATE_SHOWING)


def walk(node):
    """The node and every node shown below it (the children of a node that
    is not shown are not shown either)."""
    yield node
    for child in node:
        if child is not None and shown(child):
            yield from walk(child)


def labels_of(node):
    """The names of the labels a control is labelled by (a label's buddy)."""
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def spoken(node):
    """What a screen reader says of a control: its name, after its label."""
    labels = [label for label in labels_of(node) if label]
    return " ".join(labels + [node.name] if node.name and node.name not in labels else labels)


def operable(node):
    return role(node) in OPERABLE or states(node).contains(pyatspi.STATE_FOCUSABLE)


def controls(app):
    return [n for window in app if window is not None and shown(window)
            for n in walk(window) if n is not window and operable(n)]


def unnamed(app):
    return ["%s in %s" % (role(n), n.parent.name or role(n.parent)) for n in controls(app)
            if not (n.name or "").strip() and not "".join(labels_of(n)).strip()]


def find(app, wanted_role, name=None, pattern=None):
    for window in app:
        if window is None:
            continue
        for n in walk(window):
            if role(n) == wanted_role and (name is None or n.name == name) and \
                    (pattern is None or re.search(pattern, n.name or "")):
                return n
    return None


def table(app, title):
    print("-- %s" % title)
    for n in controls(app):
        print("   %-13s %s" % (role(n), spoken(n)))


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        raise Failure("%s %r cannot be pressed (%s)" % (role(node), node.name, names))
    action.doAction(names.index("Press"))


def enabled(node):
    return node is not None and states(node).contains(pyatspi.STATE_ENABLED) and shown(node)


def checked(node):
    return states(node).contains(pyatspi.STATE_CHECKED)


def program(name, *args):
    p = start([os.path.join(BIN, name)] + list(args), stdout=subprocess.DEVNULL)

    def app():
        if p.poll() is not None:
            raise Failure("%s ended with status %s" % (name, p.returncode))
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == name:
                return a
        return None

    return p, wait(app, name + " on the accessibility bus")


def expect(condition, message):
    if not condition:
        raise Failure(message)


def every_control_named(app, where):
    table(app, where)
    missing = unnamed(app)
    expect(not missing, "%s: controls without a name: %s" % (where, ", ".join(missing)))


# ---- The cases -------------------------------------------------------------

COIL = r"^CORPO \d+, POSIZIONE \d+(, INDICE \d+)?: BOBINA "
INPUT = r"^MODULO \d+, INGRESSO \d+: INGRESSO "


def outputs_view(app, where):
    wait(lambda: find(app, "push button", pattern=COIL), "the coil buttons after the start-up")
    every_control_named(app, where + ", outputs")
    inputs, outputs = find(app, "radio button", "INGRESSI"), find(app, "radio button", "USCITE")
    expect(inputs and outputs, "the option buttons are no radio buttons named INGRESSI, USCITE")
    expect(checked(outputs) and not checked(inputs), "USCITE is not the option selected")
    for label in ("ELENCO ESPANSIONI:", "ELENCO INGRESSI:"):
        expect(any(label in labels_of(c) for window in app for c in walk(window)
                   if role(c) == "combo box"), "no list labelled " + label)


def inputs_view(app, where):
    press(find(app, "radio button", "INGRESSI"))
    wait(lambda: find(app, "push button", pattern=INPUT), "the input lamps")
    every_control_named(app, where + ", inputs")
    expect(checked(find(app, "radio button", "INGRESSI")), "INGRESSI is not selected")


def coil_changes_and_says_so(app):
    """Energising a coil changes its name, and a name-changed event says so."""
    heard = []
    listener = lambda e: heard.append(e.source)
    pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-name")
    try:
        coil = find(app, "push button", pattern=COIL + "PRESENTE NON ATTIVATA")
        before = coil.name
        press(coil)
        energise = wait(lambda: enabled(find(app, "push button", "ATTIVA BOBINA")) and
                        find(app, "push button", "ATTIVA BOBINA"), "ATTIVA BOBINA enabled")
        del heard[:]
        press(energise)
        wait(lambda: coil in heard, "a name-changed event from the coil")
        after = coil.name
        print("-- heard: %r -> %r" % (before, after))
        expect(after.split(":")[0] == before.split(":")[0], "the coil's place changed")
        expect("BOBINA PRESENTE ATTIVATA" in after, "the name does not say the new state")
    finally:
        pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-name")


def dialog_reads(app, button, role_wanted, check, answer):
    press(find(app, "push button", button))
    box = wait(lambda: find(app, role_wanted), "the %s of %s" % (role_wanted, button))
    every_control_named(app, "the %s of %s" % (role_wanted, button))
    check(box)
    press(wait(lambda: find(app, "push button", answer), answer))
    wait(lambda: not find(app, role_wanted), "the %s to close" % role_wanted)


def message_box(app):
    def reads(box):
        texts = [n.name for n in walk(box) if role(n) == "label" and n.name]
        expect(any("BOBINE" in t for t in texts), "the message box does not read its text")
    dialog_reads(app, "DISABILITA TUTTO", "alert", reads, "No")


def input_box(app):
    def reads(box):
        field = find(app, "text", pattern="INDIRIZZO SLAVE")
        expect(field, "the input box's field is not named by its prompt")
    dialog_reads(app, "CAMBIA INDIRIZZO", "dialog", reads, "Cancel")


def administrator_mode(app):
    """A double click on the picture asks for the password; the password box
    is named, and the counter box it shows too."""
    window = next(w for w in app if w is not None and role(w) not in ("dialog", "alert"))
    # The picture is the panel at the right of the window's header.
    pictures = [n for n in window if n is not None and role(n) == "filler" and shown(n)]
    picture = max(pictures, key=lambda n: n.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x)
    box = picture.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    field = None
    for attempt in range(3):
        subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                        str(box.y + box.height // 2), "click", "--repeat", "2", "--delay", "80", "1"],
                       check=True)
        try:
            field = wait(lambda: find(app, "text", "PASSWORD"), "a password field named PASSWORD",
                         LIMIT // 3)
            break
        except Failure:
            # Two clicks a loaded machine delivered too far apart to be a double click.
            if attempt == 2:
                raise
    every_control_named(app, "the password box")
    field.queryEditableText().setTextContents("VELIROMANTICO")
    press(find(app, "push button", "OK"))
    wait(lambda: find(app, "text", "CONTACOLPI"), "the counter box named CONTACOLPI")
    every_control_named(app, "administrator mode")


def case_demo():
    demo, app = program("ondrix-configuratore-demo")
    try:
        outputs_view(app, "demo")
        coil_changes_and_says_so(app)
    finally:
        end(demo)


def case_configurator():
    simulator = start([os.path.join(BIN, "ondrix-simulatore"), "--stdin"], stdin=subprocess.PIPE,
                      stdout=subprocess.PIPE, text=True)
    try:
        device = simulator.stdout.readline().strip()
        expect(device, "the simulator gave no device")
        configurator, app = program("ondrix-configuratore", "--port", device)
        try:
            outputs_view(app, "configurator")
            message_box(app)
            input_box(app)
            administrator_mode(app)
            inputs_view(app, "configurator")
        finally:
            end(configurator)
    finally:
        simulator.stdin.close()
        end(simulator)


def main():
    tools = [t for t in ("Xvfb", "xdotool", "dbus-run-session") if not shutil.which(t)]
    tools += [LAUNCHER] if not os.access(LAUNCHER, os.X_OK) else []
    if not Atspi or not importlib.util.find_spec("pyatspi"):
        tools.append("python3-pyatspi")
    if tools:
        print("missing: " + ", ".join(tools))
        return 77
    if IN_SESSION not in sys.argv:
        # Never the desktop's own session: one of its own, ended with it.
        os.execvp("dbus-run-session", ["dbus-run-session", "--", "/usr/bin/python3",
                                       os.path.abspath(__file__), IN_SESSION, BIN])
    os.environ.update(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8")
    # In the sanitizer build: the X keyboard library every X client loads
    # hands strndup a buffer without an end, which strict string checks report.
    if "ASAN_OPTIONS" in os.environ:
        os.environ["ASAN_OPTIONS"] += ":strict_string_checks=0"
    failed = 0
    try:
        x_display()
        accessibility_bus()
        for case in (case_demo, case_configurator):
            try:
                case()
                print("PASS %s" % case.__name__)
            except (Failure, GLib.Error) as e:
                failed += 1
                print("FAIL %s: %s" % (case.__name__, e))
    finally:
        for p in reversed(list(started)):
            end(p)
    return 1 if failed else 0


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    sys.exit(main())
