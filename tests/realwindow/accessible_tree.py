#!/usr/bin/env python3
"""Prints the accessible tree of one application as a screen reader reads it, as JSON.

Usage: accessible_tree.py APPLICATION-NAME

Each showing window is one object with name, role, description, states and children; nodes
that are not showing are left out. Prints {"windows": []} while the application is not yet
on the accessibility bus. The walk is bounded in depth and in nodes.
"""

import json
import sys

import pyatspi

MAX_DEPTH = 12
MAX_NODES = 2000
WATCHED_STATES = {
    pyatspi.STATE_FOCUSED: "focused",
    pyatspi.STATE_FOCUSABLE: "focusable",
    pyatspi.STATE_CHECKED: "checked",
    pyatspi.STATE_SHOWING: "showing",
}


class Walk:
    def __init__(self):
        self.nodes = 0

    def node(self, accessible, depth):
        self.nodes += 1
        states = accessible.getState()
        if not states.contains(pyatspi.STATE_SHOWING):
            return None
        try:
            actions = accessible.queryAction()
            action_names = [actions.getName(i) for i in range(actions.nActions)]
        except NotImplementedError:
            action_names = []
        result = {
            "name": accessible.name or "",
            "role": accessible.getRoleName(),
            "description": accessible.description or "",
            "states": [name for state, name in WATCHED_STATES.items() if states.contains(state)],
            "actions": action_names,
            "children": [],
        }
        if depth >= MAX_DEPTH:
            return result
        for index in range(min(accessible.childCount, MAX_NODES)):
            if self.nodes >= MAX_NODES:
                break
            child = accessible.getChildAtIndex(index)
            if child is None:
                continue
            shown = self.node(child, depth + 1)
            if shown is not None:
                result["children"].append(shown)
        return result


def main():
    wanted = sys.argv[1]
    desktop = pyatspi.Registry.getDesktop(0)
    windows = []
    for index in range(desktop.childCount):
        application = desktop.getChildAtIndex(index)
        if application is None or application.name != wanted:
            continue
        walk = Walk()
        for window_index in range(application.childCount):
            window = application.getChildAtIndex(window_index)
            if window is None:
                continue
            shown = walk.node(window, 0)
            if shown is not None:
                windows.append(shown)
    json.dump({"windows": windows}, sys.stdout)
    return 0


if __name__ == "__main__":
    sys.exit(main())
