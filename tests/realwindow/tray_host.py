#!/usr/bin/env python3
"""A panel's StatusNotifierItem watcher and host on the session bus. Waits up to 12 s for an
item to register, then prints, a line each: the width of its largest icon picture, its menu's
labels joined by "|", and those once a left click on the item has had its effect. Then clicks
the menu's last entry."""

import sys
import time

from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION)
loop = GLib.MainLoop()
done = []


def call(name, path, interface, method, signature, *args):
    return bus.call_sync(name, path, interface, method, GLib.Variant(signature, args), None, 0,
                         5000, None).unpack()


def read(item, path):
    def get(key):
        return call(item, path, "org.freedesktop.DBus.Properties", "Get", "(ss)",
                    "org.kde.StatusNotifierItem", key)[0]

    def labels():
        layout = call(item, get("Menu"), "com.canonical.dbusmenu", "GetLayout", "(iias)", 0, -1, [])
        # As a panel draws it: entries marked invisible are left out.
        return [(entry[0], entry[1].get("label", "")) for entry in layout[1][2]
                if entry[1].get("visible", True)]

    print(max(picture[0] for picture in get("IconPixmap")))
    print("|".join(label for _, label in labels()))
    call(item, path, "org.kde.StatusNotifierItem", "Activate", "(ii)", 0, 0)
    for _ in range(100):
        if labels()[0][1] != "Hide":
            break
        time.sleep(0.1)
    print("|".join(label for _, label in labels()), flush=True)
    call(item, get("Menu"), "com.canonical.dbusmenu", "Event", "(isvu)", labels()[-1][0],
         "clicked", GLib.Variant("s", ""), 0)
    done.append(item)
    loop.quit()


def registered(_connection, sender, _path, _interface, _method, parameters, invocation):
    invocation.return_value(None)
    # An item names its service, or its object path on the connection it calls from.
    service = parameters.unpack()[0]
    GLib.idle_add(read, *((sender, service) if service.startswith("/")
                          else (service, "/StatusNotifierItem")))


watcher = Gio.DBusNodeInfo.new_for_xml("""<node>
<interface name="org.kde.StatusNotifierWatcher">
<method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
</interface></node>""").interfaces[0]
bus.register_object("/StatusNotifierWatcher", watcher, registered,
                    lambda *_: GLib.Variant("b", True), None)
Gio.bus_own_name_on_connection(bus, "org.kde.StatusNotifierWatcher", 0, None, None)
GLib.timeout_add_seconds(12, loop.quit)
loop.run()
sys.exit(0 if done else 1)
