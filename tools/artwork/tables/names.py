"""What screen readers call the program's groups and buttons.

The keys of the pictures name themselves: a key is called by the names of the
glyphs and the texts its sign is drawn from (see `Ink.says`). The tables here
name what no picture's sign can: the groups and pages, the buttons whose sign
is a drawing of shapes, the buttons laid over no sign, and the set buttons and
toggles, which are called by what they open.
"""

GROUPS = {
    # the pages
    "Panel1": "Sign keyboard",
    "Panel4": "Cursor keys",
    "Panel5": "Settings",
    "Panelmartyries": "Modal signatures",
    # the keyboard page
    "PanelIson1": "Ison letters",
    "PanelIson2": "Ison letters, second set",
    "Panelyfesi": "Flats and sharps",
    "PanelxronikiAgogi1": "Tempo signs",
    "PanelKatavasi1": "Descending signs",
    "PanelKatavasi2": "Descending signs, second set",
    "PanelLoipa": "Further step signs",
    "Panelanavasi1": "Ascending signs",
    "Panelanavasi2": "Ascending signs, second set",
    "PanelPoiotitas1": "Expression signs",
    "PanelPoiotitas2": "Expression signs, second set",
    "Paneldiastoles": "Bar lines and measure numbers",
    "PanelMartyries1": "Martyria letters",
    "PanelMartyries2": "Martyria signs",
    "Panelgorgo": "Time signs",
    "Panelgrammiergaleion": "Tools",
    "Panelkoumpiahxos": "Modes and letter indications",
    "Panelfthores": "Modulation signs",
    "Panelmetra": "Measure numbers 5 to 8",
    "Panelasterakia": "Asterisks",
    "Panelendikseis": "Letter indications",
    "Panelyfeseis2": "Further flats and sharps",
    "Panelentasi": "Dynamics",
    "Panelpena": "Arrows",
    # the modal signatures page
    "Panelhxos_a": "Mode α'",
    "Panelhxos_b": "Mode β'",
    "Panelhxos_c": "Mode γ'",
    "Panelhxos_d": "Mode δ'",
    "Panelhxos_pla": "Mode πλ α'",
    "Panelhxos_plb": "Mode πλ β'",
    "Panelhxos_varys": "Mode βαρύς",
    "Panelhxos_pld": "Mode πλ δ'",
}

# Set buttons and toggles: what they open (or close).
SWITCHES = {
    "enallagianavasi": "Other set of ascending signs",
    "enallagikatavasi": "Other set of descending signs",
    "CornerButton1": "Other set of expression signs",
    "enallagiIson": "Other set of ison letters",
    "enallagiMartyries": "Other martyria row",
    "enallagihfeseis": "Open or close further flats and sharps",
    "enallagifthores": "Open or close modulation signs",
    "enallaghentash": "Open or close dynamics",
    "enallaghvellh": "Open or close arrows",
    "enallagi_asterakia": "Open or close asterisks",
    "di6": "Open or close measure numbers 5 to 8",
    "enallagiendikseis": "Open or close letter indications",
    "ft_close": "Close further flats and sharps",
    "martyriesshow": "Open the modal signatures",
    "rythmiseisshow": "Open the settings",
    "move_client": "Open the cursor keys",
}

# Buttons whose sign is a drawing of shapes, or that lie over no sign.
CONTROLS = {
    "off": "Close the program",
    "SpeedButton35": "Backspace",
    "N5": "N5",
    "SpeedButton14": "Five text lines",
    "SpeedButton36": "Four text lines with a mark",
    "SpeedButton15": "Text lines over a dotted rectangle",
    "SpeedButton25": "SpeedButton25",
    "SpeedButton31": "Four-way arrow",
    "con_SpeedButton": "Look for the editor again",
    "SpeedButton7": "Cursor up",
    "SpeedButton8": "Cursor right",
    "SpeedButton9": "Cursor down",
    "SpeedButton10": "Cursor left",
    "moveL": "Large left arrow",
    "moveR": "Large right arrow",
    # the settings page's text boxes, which have no caption of their own
    "Edit2": "Editor's address",
    "Edit3": "Editor's port",
    "Memo1": "Connection log",
}


def key_name(key):
    """A key of a picture in words, or None where its table does not say."""
    if key.says:
        return key.says
    if key.sign is not None and key.sign.says:
        return ", ".join(key.sign.says)
    return None


def all_names(pictures):
    """Button name -> what it is called, and group name -> what it is called."""
    controls = {}
    for pic in pictures:
        for key in pic.keys:
            if key.button is None:
                continue
            name = key_name(key)
            if name:
                controls[key.button] = name
    controls.update(CONTROLS)
    controls.update(SWITCHES)
    return {"groups": dict(sorted(GROUPS.items())), "controls": dict(sorted(controls.items()))}
