"""The chant signs, by name, as glyphs of the music font (Byzantine Musical
Symbols, U+1D000 to U+1D0F5), and the small compositions the keyboard draws.

Each name below is a function returning fresh ink, 1000 units per em, black
unless a colour is given. The tables of the pictures combine them.
"""

from artlib.ink import Ink, glyph, line, on, path, row, stack, text, circle

# ---- code points (Unicode names in comments)
ISON = 0x1D046
OLIGON = 0x1D047
OXEIA = 0x1D048
PETASTI = 0x1D049
KOUFISMA = 0x1D04A
PELASTON = 0x1D04D
KENTIMATA = 0x1D04E  # two small upright strokes
KENTIMA = 0x1D04F  # one small upright stroke
YPSILI = 0x1D050  # the tall hooked stroke
APOSTROFOS = 0x1D051  # small hook
APOSTROFOI_SYNDESMOS = 0x1D052  # two hooks joined
YPORROI = 0x1D053
KRATIMOYPORROON = 0x1D054
ELAFRON = 0x1D055  # arc
CHAMILI = 0x1D056  # hooked upright stroke with a cross-stroke
MIKRON_ISON = 0x1D057
VAREIA = 0x1D058  # slanting stroke
PIASMA = 0x1D059
PSIFISTON = 0x1D05A
OMALON = 0x1D05B
ANTIKENOMA = 0x1D05C
LYGISMA = 0x1D05D
PARAKLITIKI = 0x1D05E
PARAKALESMA = 0x1D05F
ETERON_PARAKALESMA = 0x1D060
KYLISMA = 0x1D061
ANTIKENOKYLISMA = 0x1D062
TROMIKON = 0x1D063
EKSTREPTON = 0x1D064
SYNAGMA = 0x1D065
SYRMA = 0x1D066
CHOREVMA = 0x1D067
SEISMA = 0x1D069
XIRON_KLASMA = 0x1D06A
OYRANISMA = 0x1D075
YFEN_KATO = 0x1D07C  # arc opening upwards
YFEN_ANO = 0x1D07D  # arc opening downwards
KLASMA_ANO = 0x1D07F
APLI = 0x1D085  # one dot
DIPLI = 0x1D086  # two dots
TRIPLI = 0x1D087  # three dots
KORONIS = 0x1D089  # arc over a dot
GORGON = 0x1D08F  # the corner
GORGON_DOT_LEFT = 0x1D090
GORGON_DOT_RIGHT = 0x1D091
DIGORGON = 0x1D092  # steps up twice
DIGORGON_DOT_LEFT_BELOW = 0x1D093
DIGORGON_DOT_LEFT_ABOVE = 0x1D094
DIGORGON_DOT_RIGHT = 0x1D095
TRIGORGON = 0x1D096  # steps up three times
ARGON = 0x1D097
AGOGI_POLI_ARGI = 0x1D09A
AGOGI_ARGOTERI = 0x1D09B
AGOGI_ARGI = 0x1D09C
AGOGI_METRIA = 0x1D09D
AGOGI_GORGI = 0x1D09F
AGOGI_GORGOTERI = 0x1D0A0
AGOGI_POLI_GORGI = 0x1D0A1
MARTYRIA_PROTOS = 0x1D0A2  # loop run into a hook
MARTYRIA_ALLI_PROTOS = 0x1D0A3  # q
MARTYRIA_DEYTEROS = 0x1D0A4
MARTYRIA_ALLI_DEYTEROS = 0x1D0A5
MARTYRIA_TRIFONIAS = 0x1D0A7  # double hook
MARTYRIA_TETARTOS = 0x1D0A8  # the δ-like letter
MARTYRIA_TETARTOS_LEGETOS = 0x1D0A9  # cursive λ
MARTYRIA_PLAGIOS = 0x1D0AB  # λ above π
MARTYRIA_VARYS = 0x1D0B1
FTHORA_DIATONIKI_PA = 0x1D0BA  # circle on a short stem
FTHORA_DIATONIKI_NANA = 0x1D0BB  # circle crossed by a vertical line
FTHORA_NAOS = 0x1D0BC
FTHORA_DIATONIKI_DI = 0x1D0BD  # circle crossed by a falling line
FTHORA_SKLIRON_DI = 0x1D0BE
FTHORA_DIATONIKI_KE = 0x1D0BF  # circle with a stem on top
FTHORA_DIATONIKI_ZO = 0x1D0C0  # zigzag with a mark on top
FTHORA_NI_KATO = 0x1D0C1  # circle with a curl beneath
FTHORA_NI_ANO = 0x1D0C2
FTHORA_MALAKON_DIFONIAS = 0x1D0C3
FTHORA_MALAKON_MONOFONIAS = 0x1D0C4
FTHORA_SKLIRON_VASIS = 0x1D0C5
FTHORA_SKLIRON_SYNAFI = 0x1D0C6
FTHORA_NENANO = 0x1D0C7
CHROA_ZYGOS = 0x1D0C8
CHROA_KLITON = 0x1D0C9
CHROA_SPATHI = 0x1D0CA
FTHORA_YFESIS_TETARTIMORION = 0x1D0CB
FTHORA_ENARMONIOS = 0x1D0CC
DIESIS_TRITIMORION = 0x1D0CE
DIESIS_TETARTIMORION = 0x1D0CF
DIESIS_APLI = 0x1D0D0  # circle, stroke to the upper right
DIESIS_MONOGRAMMOS = 0x1D0D1  # the same with one cross-bar
DIESIS_DIGRAMMOS = 0x1D0D2
DIESIS_TRIGRAMMOS = 0x1D0D3
YFESIS_APLI = 0x1D0D4  # circle, stroke to the lower left
YFESIS_MONOGRAMMOS = 0x1D0D5
YFESIS_DIGRAMMOS = 0x1D0D6
YFESIS_TRIGRAMMOS = 0x1D0D7
GENIKI_DIESIS = 0x1D0D8  # circle, cross on top
GENIKI_YFESIS = 0x1D0D9  # circle, cross below
DIASTOLI_APLI = 0x1D0DB
DIASTOLI_DIPLI = 0x1D0DC
DIASTOLI_THESEOS = 0x1D0DD  # bar under an arc
DIFTOGGOS_OU = 0x1D0E7  # the ου ligature
KLASMA_KATO = 0x1D0F4
GORGON_KATO = 0x1D0F5

RED = "#cc0000"
DARK_RED = "#800000"
BLACK = "#000000"
WHITE = "#ffffff"


def g(cp, colour=BLACK, pieces=None):
    return glyph(cp, colour=colour, pieces=pieces)


def outlined(cp, fill=WHITE, stroke=BLACK, width=28):
    """A glyph drawn hollow: white inside, thin black outline."""
    ink = glyph(cp)
    p = ink.parts[0]
    p.fill = fill
    p.stroke = stroke
    p.width = width
    return ink


# ---- compositions used by the keyboard


def over(base, mark, anchor="centre", gap=40, dx=0, dy=0):
    """`mark` above `base`."""
    return on(base, mark, where="above", anchor=anchor, gap=gap, dx=dx, dy=dy)


def under(base, mark, anchor="centre", gap=40, dx=0, dy=0):
    """`mark` below `base`."""
    return on(base, mark, where="below", anchor=anchor, gap=gap, dx=dx, dy=dy)


def ypsili_on(base_cp, anchor="right", gap=-30, dx=0):
    """The tall hooked stroke standing on a bar or a hook."""
    return over(g(base_cp), g(YPSILI), anchor=anchor, gap=gap, dx=dx)


def several(cp, n, step=(90, -60)):
    """n copies of a glyph, each shifted by step."""
    out = Ink()
    for i in range(n):
        out += g(cp).moved(step[0] * i, step[1] * i)
    return out


def gorgo_steps(n, colour=RED):
    """A red line stepping up n times (the corners of the time signs)."""
    if n == 1:
        return g(GORGON, colour)
    if n == 2:
        return g(DIGORGON, colour)
    if n == 3:
        return g(TRIGORGON, colour)
    # four steps: a three-step line continued by one more corner
    three = g(TRIGORGON, colour)
    b = three.bounds()
    one = g(GORGON, colour)
    ob = one.bounds()
    return three + one.moved(b[2] - ob[0] - 75, b[1] - ob[3] + 10 - (ob[3] - ob[1]) * 0.0 - 50)


def dot(colour=RED):
    return g(APLI, colour)


def bracket_of(cp, colour=RED):
    """Only the bracket line of a tempo sign, without its χ."""
    ink = glyph(cp, colour=colour)
    from artlib.ink import split_contours, Part

    p = ink.parts[0]
    keep = []
    for c in split_contours(p.ops):
        q = Part(c, p.matrix)
        b = q.bounds()
        if b and b[3] < -325:  # the bracket lies above the χ
            keep += c
    return Ink([Part(keep, p.matrix, fill=colour)], [ink.says[0] + ", bracket"])
