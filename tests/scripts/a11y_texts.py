"""Prints what a screen reader finds in every showing window of an application over AT-SPI,
one "role 'name'" line each: the titles, labels, buttons and boxes the player meets.

a11y_texts.py APP_NAME
"""
import sys

from a11y_tree import find_app, walk


def main(name):
    app = find_app(name)
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is None:
            continue
        rows = []
        walk(window, 0, rows)
        for _, role, text in rows:
            print("%s '%s'" % (role, text))


if __name__ == "__main__":
    main(sys.argv[1])
