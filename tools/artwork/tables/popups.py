"""Pop-up groups of the keyboard page: one table per picture.

Rows as in keyboard.py: button name (its rect from the layout table), tile
colour (None: the picture's ground shows), sign.
"""

from artlib.ink import Ink, circle, line, path, rect, row, stack, text
from artlib.picture import Key, Picture

from .keyboard import K, blank
from .signs import *  # noqa: F401,F403

GREEN = "#3c9a3c"
LIME = "#b6e35a"
YELLOW = "#f7e35c"
TAN = "#d5b48c"
ORANGE = "#f5a442"
OLIVE = "#b5b866"
BLUE = "#8fb6ea"
LIGHT_GREY = "#e2e2e2"
GREY_LINE = "#8c8c8c"
WORD_BLUE = "#1d4fb8"
ARROW_GREEN = "#1e9a3a"

GREY_GRADIENT = ("vgradient", "#f6f6f6", "#c9c9c9")
WHITE_GRADIENT = ("vgradient", "#ffffff", "#d3d3d3")


def r(cp):
    """A red sign."""
    return g(cp, RED)


# ======================================================================
# Modulation signs
# ======================================================================

Panelfthores = Picture(
    "Panelfthores", em=85, radius=3, gap=1.5, ground="#f0f0f0",
    keys=[
        # row 1
        K("ft17", GREEN,  r(GENIKI_DIESIS)),
        K("ft18", GREEN,  r(GENIKI_YFESIS)),
        K("ft21", LIME,   r(CHROA_SPATHI)),
        blank(    109,  3, 36, 36, LIGHT_GREY),
        blank(    145,  3, 36, 36, LIGHT_GREY),
        blank(    181,  3, 36, 36, LIGHT_GREY),
        blank(    217,  3, 36, 36, LIGHT_GREY),
        blank(    253,  3, 36, 36, LIGHT_GREY),
        # row 2
        K("ft11", YELLOW, r(FTHORA_MALAKON_DIFONIAS)),
        K("ft12", YELLOW, r(FTHORA_MALAKON_MONOFONIAS)),
        K("ft9",  TAN,    r(FTHORA_SKLIRON_SYNAFI)),
        K("ft10", TAN,    r(FTHORA_NENANO)),
        K("ft13", ORANGE, r(FTHORA_YFESIS_TETARTIMORION)),
        K("ft14", OLIVE,  r(CHROA_ZYGOS)),
        K("ft15", OLIVE,  r(CHROA_KLITON)),
        K("ft16", OLIVE,  r(FTHORA_SKLIRON_VASIS)),
        # row 3
        K("ft1", BLUE,   r(FTHORA_NI_KATO)),
        K("ft2", BLUE,   r(FTHORA_DIATONIKI_PA)),
        K("ft3", BLUE,   r(0x1D0B6)),  # zigzag ending in a curl
        K("ft4", BLUE,   r(FTHORA_DIATONIKI_NANA)),
        K("ft5", BLUE,   r(FTHORA_DIATONIKI_DI)),
        K("ft6", BLUE,   r(FTHORA_DIATONIKI_KE)),
        K("ft7", BLUE,   r(FTHORA_DIATONIKI_ZO)),
        K("ft8", BLUE,   r(FTHORA_NI_ANO)),
    ],
)

# ======================================================================
# Measure numbers 5 to 8
# ======================================================================


def digit_with_bar(d):
    """A red digit with a small grey double bar below it at the left."""
    dig = text(d, "serif-bold", RED)
    b = dig.bounds()
    x = b[0] - 120
    y0, y1 = b[3] + 50, b[3] + 330
    bar = line([(x, y0), (x, y1)], colour=GREY_LINE, width=70) + line([(x + 130, y0), (x + 130, y1)], colour=GREY_LINE, width=70)
    return dig + bar


Panelmetra = Picture(
    "Panelmetra", em=38, ground=GREY_GRADIENT,
    keys=[
        K("dm13", None, digit_with_bar("5")),
        K("dm14", None, digit_with_bar("6")),
        K("dm15", None, digit_with_bar("7")),
        K("dm16", None, digit_with_bar("8")),
    ],
)

# ======================================================================
# Asterisks
# ======================================================================


def asterisk(index=None):
    star = text("*", "sans-bold", RED).scaled(1.6)
    if index is None:
        return star
    b = star.bounds()
    small = text(index, "sans-bold", RED).scaled(0.7)
    sb = small.bounds()
    return star + small.moved(b[2] + 20 - sb[0], b[1] - sb[1] - 80)


Panelasterakia = Picture(
    "Panelasterakia", em=30, ground=GREY_GRADIENT,
    keys=[
        K("par4",          None, text("✂", "dejavu", RED)),
        K("SpeedButton11", None, None),  # the strip between the scissors and the first asterisk
        K("par3",          None, asterisk("2")),
        K("par2",          None, asterisk("1")),
        K("par1",          None, asterisk()),
    ],
)

# ======================================================================
# Letter indications
# ======================================================================


def indication(letter, letter_at):
    """A grey horizontal stroke hooked at its left end, with a small red letter.

    letter_at: "below" (under the middle), "left" or "right" (above that end).
    """
    stroke = path("M140 0 C60 0 20 -40 40 -110", fill="none", stroke=GREY_LINE, width=50)
    stroke += line([(140, 0), (1200, 0)], colour=GREY_LINE, width=50)
    ch = text(letter, "serif", RED).scaled(0.5)
    cb = ch.bounds()
    if letter_at == "below":
        return stroke + ch.moved(620 - (cb[0] + cb[2]) / 2, 90 - cb[1])
    x = 160 if letter_at == "left" else 1180 - (cb[2] - cb[0])
    return stroke + ch.moved(x - cb[0], -70 - cb[3])


Panelendikseis = Picture(
    "Panelendikseis", em=52, ground=WHITE_GRADIENT,
    keys=[
        K("en16", None, indication("π", "below")),
        K("en7",  None, indication("ζ", "left")),
        K("en6",  None, indication("ϰ", "left")),
        K("en5",  None, indication("Δ", "left")),
        K("en4",  None, indication("Γ", "left")),
        K("en3",  None, indication("ϐ", "left")),
        K("en2",  None, indication("π", "left")),
        K("en1",  None, indication("ν", "left")),
        K("en8",  None, indication("Δ", "below")),
        K("en15", None, indication("ζ", "right")),
        K("en14", None, indication("ϰ", "right")),
        K("en13", None, indication("Δ", "right")),
        K("en12", None, indication("Γ", "right")),
        K("en11", None, indication("ϐ", "right")),
        K("en10", None, indication("π", "right")),
        K("en9",  None, indication("ν", "right")),
    ],
)

# ======================================================================
# Further flats and sharps
# ======================================================================


def struck_eye():
    """A green eye struck through by a red X, on a white square."""
    eye = path("M60 500 Q500 120 940 500 Q500 880 60 500 Z", fill="#ffffff", stroke="#1e8a32", width=70)
    eye += circle(500, 500, 150, fill="#1e8a32")
    x = line([(120, 140), (880, 860)], colour=RED, width=90) + line([(880, 140), (120, 860)], colour=RED, width=90)
    return eye + x


Panelyfeseis2 = Picture(
    "Panelyfeseis2", em=150, ground=GREY_GRADIENT, radius=2, gap=4,
    keys=[
        K("ft_close", "#ffffff", struck_eye(), k=0.2),
        K("ft20",     None, r(YFESIS_TRIGRAMMOS)),
        K("sa6",      None, r(YFESIS_DIGRAMMOS)),
        K("ft19",     None, r(DIESIS_TRIGRAMMOS)),
        K("sa3",      None, r(DIESIS_DIGRAMMOS)),
    ],
)

# ======================================================================
# Dynamics words
# ======================================================================


def word(s):
    return text(s, "sans-bold", WORD_BLUE)


Panelentasi = Picture(
    "Panelentasi", em=15, ground=WHITE_GRADIENT, pad=0.06,
    keys=[
        K("is7", None, word("ΜΟΝΩΔΙΑ")),
        K("is6", None, word("ΙΣΟΝ ΔΥΝΑΤΑ")),
        K("is5", None, word("ΙΣΟΝ ΚΑΝΟΝΙΚΑ")),
        K("is4", None, word("ΙΣΟΝ ΣΙΓΑ")),
        K("is3", None, word("ΔΥΝΑΤΑ")),
        K("is2", None, word("ΚΑΝΟΝΙΚΑ")),
        K("is1", None, word("ΣΙΓΑ")),
    ],
)

# ======================================================================
# Arrows
# ======================================================================


def arrow(s):
    return text(s, "dejavu-bold", ARROW_GREEN)


Panelpena = Picture(
    "Panelpena", em=24, ground=GREY_GRADIENT,
    keys=[
        K("pen4", None, arrow("(↓)")),
        K("pen3", None, arrow("(↑)")),
        K("pen2", None, arrow("↓")),
        K("pen1", None, arrow("↑")),
    ],
)

PICTURES = [Panelfthores, Panelmetra, Panelasterakia, Panelendikseis, Panelyfeseis2, Panelentasi, Panelpena]
