#!/usr/bin/python3
# A bare WebKitGTK view for the page checks, where WebKitWebDriver falls
# short: it has page zoom and prints. Run with the system python3 (it has gi)
# under xvfb-run, GDK_SCALE set to the display's scale (whole numbers only):
#
#   GDK_SCALE=2 xvfb-run -a -s "-screen 0 4200x3400x24" /usr/bin/python3 webkit_gtk.py
#
# It takes one command a line, as JSON, on standard input and answers each
# with one line of JSON on standard output: {"value": ...} or {"error": TEXT}.
#
#   {"op": "open", "url": U, "width": W, "height": H, "zoom": Z}
#       loads U in a view of W x H pixels (the window at zoom 1, in CSS
#       pixels; the page sees W / Z x H / Z) and answers once it has loaded
#   {"op": "eval", "script": S, "args": [...]}
#       calls the function S (its source; it may be async) with the args and
#       answers its value, which must go through JSON
#   {"op": "snapshot"}   the view as shown, a base64 PNG of its device pixels
#   {"op": "print", "path": P}
#       prints the page to the PDF file P on Letter paper, portrait, and
#       answers once the file is whole
import base64
import io
import json
import os
import sys
import threading

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

window = Gtk.Window()
view = WebKit2.WebView()
window.add(view)


def answer(value=None, error=None):
    print(json.dumps({"error": error} if error is not None else {"value": value}), flush=True)
    commands.release()


def size(width, height, then):
    # The view's size is settled once GTK has allocated it and the page has
    # laid out at it; a view already at that size answers at once.
    window.resize(width, height)
    window.show_all()

    def allocated(*_):
        rect = view.get_allocation()
        if (rect.width, rect.height) != (width, height):
            return
        view.disconnect(handler[0])
        GLib.timeout_add(50, lambda: then() and False)

    handler = [view.connect("size-allocate", allocated)]
    view.queue_resize()


def do_open(c):
    view.set_zoom_level(c.get("zoom", 1))

    def loaded(_, event):
        if event == WebKit2.LoadEvent.FINISHED:
            view.disconnect(handlers[0])
            view.disconnect(handlers[1])
            settle()

    def failed(_, event, uri, error):
        view.disconnect(handlers[0])
        view.disconnect(handlers[1])
        answer(error=f"{uri}: {error.message}")
        return True

    def settle():
        do_eval({"script": "() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(() => r())))"})

    handlers = [view.connect("load-changed", loaded), view.connect("load-failed", failed)]
    size(c["width"], c["height"], lambda: view.load_uri(c["url"]))


def do_eval(c):
    # The value goes through JSON both ways, so any value JSON can hold passes.
    body = (f"return Promise.resolve().then(() => ({c['script']})(...JSON.parse(args)))"
            ".then((value) => JSON.stringify([value === undefined ? null : value]));")
    arguments = GLib.Variant("a{sv}", {"args": GLib.Variant("s", json.dumps(c.get("args", [])))})

    def done(_, result):
        try:
            answer(json.loads(view.call_async_javascript_function_finish(result).to_string())[0])
        except GLib.Error as error:
            answer(error=error.message)

    view.call_async_javascript_function(body, -1, arguments, None, None, None, done)


def do_snapshot(_):
    def done(_, result):
        try:
            surface = view.get_snapshot_finish(result)
        except GLib.Error as error:
            return answer(error=error.message)
        png = io.BytesIO()
        surface.write_to_png(png)
        answer(base64.b64encode(png.getvalue()).decode())

    view.get_snapshot(WebKit2.SnapshotRegion.VISIBLE, WebKit2.SnapshotOptions.NONE, None, done)


def do_print(c):
    settings = Gtk.PrintSettings()
    settings.set_printer("Print to File")
    settings.set(Gtk.PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf")
    settings.set(Gtk.PRINT_SETTINGS_OUTPUT_URI, GLib.filename_to_uri(c["path"]))
    setup = Gtk.PageSetup()
    setup.set_paper_size(Gtk.PaperSize.new(Gtk.PAPER_NAME_LETTER))
    setup.set_orientation(Gtk.PageOrientation.PORTRAIT)
    operation = WebKit2.PrintOperation.new(view)
    operation.set_print_settings(settings)
    operation.set_page_setup(setup)
    failures = []
    operation.connect("failed", lambda _, error: failures.append(error.message))

    def finished(_):
        # The print job may still be writing: wait for the file's end mark.
        def whole():
            try:
                with open(c["path"], "rb") as pdf:
                    pdf.seek(max(0, os.path.getsize(c["path"]) - 32))
                    if b"%%EOF" not in pdf.read():
                        return True
            except OSError:
                return True
            answer(c["path"])
            return False

        if failures:
            answer(error=failures[0])
        else:
            GLib.timeout_add(20, whole)

    operation.connect("finished", finished)
    operation.print_()


def run(line):
    try:
        c = json.loads(line)
        globals()["do_" + c["op"]](c)
    except Exception as error:  # a bad command is answered, not fatal
        answer(error=f"{type(error).__name__}: {error}")
    return False


# Commands are read on a thread of their own and run one at a time in GTK's loop.
commands = threading.Semaphore(1)


def read():
    for line in sys.stdin:
        if line.strip():
            commands.acquire()
            GLib.idle_add(run, line)
    commands.acquire()  # the last answer first
    GLib.idle_add(Gtk.main_quit)


window.connect("destroy", Gtk.main_quit)
threading.Thread(target=read, daemon=True).start()
Gtk.main()
os._exit(0)  # GTK's teardown at exit can crash, after every answer is out
