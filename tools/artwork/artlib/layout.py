"""The window's layout table (base/window-layout.json) as the pictures need it.

The program places its groups and buttons from that table, and the pictures
take the same numbers from it, so that a sign stays under its button when a
rectangle changes there and nowhere else:

- a picture's size and its place in its group (`at`): the group's `picture`
  rect, for the group whose picture name (`image`, else the group's name) is
  the picture's name; a picture that is itself a member of its page (the mode
  strip) has its member rect, in page units, and its keys are the page's
  members;
- each key's button rect, by the button's name, in the same units;
- how much wider the group is drawn (`stretch`), which the signs are narrowed by;
- where each group lies on its page, for the debug views of a whole page.

Pictures that are no group's picture (the indicator, the arrow discs, the
icon) keep the size their table gives them.
"""

import json
from dataclasses import dataclass, replace


class LayoutError(ValueError):
    """A picture table and the layout table do not fit together."""


@dataclass
class Frame:
    """Where a picture lies and the buttons over it, in one frame of units."""

    member: str  # the group (or page member) whose picture it is
    rect: tuple  # (x, y, w, h) of the picture in that frame
    buttons: dict  # button name -> (x, y, w, h) in that frame
    stretch: float | None = None


class Layout:
    def __init__(self, table):
        self.pages = {}  # page -> {member name: member}, in child order
        self.frames = {}  # picture name -> Frame
        for page, members in table["pages"].items():
            self.pages[page] = {m["name"]: m for m in members}
            for m in members:
                if m["kind"] == "group" and "picture" in m:
                    buttons = {b[0]: tuple(b[1:5]) for b in m.get("buttons", [])}
                    self._add(m.get("image", m["name"]),
                              Frame(m["name"], tuple(m["picture"]), buttons, m.get("stretch")))
                elif m["kind"] == "picture":
                    buttons = {o["name"]: tuple(o["rect"]) for o in members if o is not m}
                    self._add(m["name"], Frame(m["name"], tuple(m["rect"]), buttons))

    @classmethod
    def load(cls, path):
        with open(path, encoding="utf-8") as f:
            return cls(json.load(f))

    def _add(self, picture, frame):
        if picture in self.frames:
            raise LayoutError(f"two groups show the picture {picture}")
        self.frames[picture] = frame

    def frame(self, picture):
        return self.frames.get(picture)

    def place(self, pic):
        """The picture with its size, `at` and button rects taken from the layout."""
        frame = self.frame(pic.name)
        if frame is None:
            unplaced = [k.button for k in pic.keys if k.button and k.rect is None]
            if pic.size is None or unplaced:
                raise LayoutError(f"{pic.name} is no group's picture in the layout table")
            return pic
        if pic.size is not None or pic.at is not None:
            raise LayoutError(f"{pic.name}: its rectangle is the layout table's, not the picture table's")
        keys = []
        for key in pic.keys:
            if key.button:
                if key.rect is not None:
                    raise LayoutError(f"{pic.name}: {key.button}'s rect is the layout table's")
                if key.button not in frame.buttons:
                    raise LayoutError(f"{pic.name}: {key.button} is not a button of {frame.member}")
                key = replace(key, rect=frame.buttons[key.button])
            keys.append(key)
        x, y, w, h = frame.rect
        placed = replace(pic, size=(w, h), at=(x, y), keys=keys)
        if frame.stretch:
            if pic.sign_sx != 1.0:
                raise LayoutError(f"{pic.name}: its stretch is the layout table's")
            placed.sign_sx = 1 / frame.stretch
        return placed

    def group_places(self, page):
        """Every group of the page with (x, y, stretch), in child order: bottom to top."""
        return {
            name: (m["rect"][0], m["rect"][1], m.get("stretch", 1))
            for name, m in self.pages[page].items()
            if m["kind"] == "group"
        }

    def shown_groups(self, page):
        """The page's groups shown at start, in child order."""
        return [name for name, m in self.pages[page].items() if m["kind"] == "group" and m.get("shown", True)]
