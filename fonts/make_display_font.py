#!/usr/bin/python3
"""Builds one Tamil display font from a Unicode Tamil font.

The documents of Tamil Kalvem hold 8-bit font codes ("f" is the consonant
KA, ";" the pulli, ...). The display font draws those codes as Tamil glyphs
while keeping the base font's own Unicode Tamil mappings, so that a document
written in codes looks exactly like Unicode Tamil set in the base font.

What it takes to get there, given that a run of ASCII codes is shaped as
Latin script and not as Tamil:
  * cmap: the codes 0x20-0x7E point at the glyphs that the Unicode form of
    each code shapes to in the base font (found with hb-shape, so glyph ids
    are never hard-coded). Printable Latin-1 that is neither a code nor in
    the base font is copied from a Latin font of the same style and weight.
  * GDEF: Latin shaping zeroes the advance of every mark, so the spacing
    vowel signs (and anything else in the mark class that takes room of its
    own) move to the base class.
  * GSUB: an `rlig` feature (required ligatures are never switched off, not
    even by letter spacing) under DFLT and latn runs the base font's own
    Tamil lookups, plus one ligature lookup turning a u-form followed by "}"
    or "+" into the uu-form.
  * GPOS: DFLT and latn get the Tamil positioning features too.
  * name, OS/2, DSIG: new family names, the copyright kept, the trademark
    record dropped, the Latin ranges claimed, the stale signature removed.

Glyphs are only ever appended, so a glyph id means the same glyph in the
display font and in its base font.
"""

import argparse
import os
import subprocess
import sys
import tempfile

from fontTools.otlLib import builder as otl
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables import otTables

# Code -> the Unicode text it must look like.
CONSONANTS = {
    "f": "க", "q": "ங", "r": "ச", "Q": "ஞ", "l": "ட", "z": "ண", "j": "த",
    "e": "ந", "g": "ப", "k": "ம", "a": "ய", "u": "ர", "y": "ல", "t": "வ",
    "o": "ழ", "s": "ள", "w": "ற", "d": "ன", "[": "ஜ", "~": "ஷ", "\\": "ஷ",
    "]": "ஸ", "`": "ஹ",
}
VOWELS = {
    "m": "அ", "M": "ஆ", ",": "இ", "<": "ஈ", "c": "உ", "C": "ஊ", "v": "எ",
    "V": "ஏ", "I": "ஐ", "x": "ஒ", "X": "ஓ", "/": "ஃ", '"': "ஃ", "=": "ஸ்ரீ",
}
SIGNS = {
    ";": "்", "h": "ா", "p": "ி", "P": "ீ", "n": "ெ", "N": "ே", "i": "ை",
    "{": "ு", "_": "ூ",
}
# u-form code -> its consonant; the uu-form comes from the same consonant.
U_FORMS = {
    "F": "க", "R": "ச", "L": "ட", "J": "த", "G": "ப", "K": "ம", "A": "ய",
    "U": "ர", "Y": "ல", "T": "வ", "O": "ழ", "S": "ள", "W": "ற", "D": "ன",
    "Z": "ண", "E": "ந",
}
UU_FORMS = {"$": "க", "#": "ச", "^": "ட", "&": "ர", "*": "ழ", "@": "ள", "%": "ம"}
# A u-form followed by one of these is drawn as the uu-form.
UU_MARKERS = "}+"
LIGATURES = {"b": "டி", "B": "டீ"}

U_SIGN, UU_SIGN = "ு", "ூ"
DOTTED_CIRCLE = 0x25CC

# Features of the base font's Tamil script that the ASCII runs need.
GSUB_TAMIL_FEATURES = ("akhn", "abvs", "psts", "haln")
LATIN_SCRIPTS = ("DFLT", "latn")


def code_table():
    """Every code with the Unicode text it stands for."""
    table = {}
    table.update(CONSONANTS)
    table.update(VOWELS)
    table.update(SIGNS)
    table.update({code: c + U_SIGN for code, c in U_FORMS.items()})
    table.update({code: c + UU_SIGN for code, c in UU_FORMS.items()})
    table.update(LIGATURES)
    return table


def shape_all(hb_shape, font_path, texts):
    """Glyph ids each text shapes to in the font, in one hb-shape run."""
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".txt") as f:
        f.write("\n".join(texts) + "\n")
        f.flush()
        out = subprocess.run(
            [hb_shape, "--no-glyph-names", "--no-positions", "--no-clusters",
             "--text-file=" + f.name, font_path],
            check=True, capture_output=True, text=True).stdout
    runs = []
    for line in out.splitlines():
        line = line.strip()
        if not line.startswith("[") or not line.endswith("]"):
            raise SystemExit(f"unexpected hb-shape output: {line!r}")
        runs.append([int(g) for g in line[1:-1].split("|")])
    if len(runs) != len(texts):
        raise SystemExit(f"hb-shape shaped {len(runs)} lines, expected {len(texts)}")
    return dict(zip(texts, runs))


def find_code_glyphs(font, font_path, hb_shape):
    """Glyph name for each code, and for each u-form the uu-form's glyph."""
    order = font.getGlyphOrder()
    dotted = font.getBestCmap().get(DOTTED_CIRCLE)
    table = code_table()
    uu_texts = {c + UU_SIGN for c in U_FORMS.values()}
    shaped = shape_all(hb_shape, font_path, sorted(set(table.values()) | uu_texts))

    def one_glyph(text):
        # A sign on its own is shaped on a dotted circle; the sign is the rest.
        run = [order[g] for g in shaped[text] if order[g] != dotted]
        if len(run) != 1 or run[0] == ".notdef":
            raise SystemExit(f"{text!r} does not shape to one glyph: {run}")
        return run[0]

    code_glyphs = {code: one_glyph(text) for code, text in table.items()}
    uu_of_u = {code_glyphs[code]: one_glyph(c + UU_SIGN) for code, c in U_FORMS.items()}
    return code_glyphs, uu_of_u


def copy_glyph(font, donor, char):
    """Appends the donor's glyph for char, outlines only (the donor's hinting
    programs do not run in this font). Returns the new glyph's name."""
    donor_name = donor.getBestCmap()[ord(char)]
    name = donor_name
    while name in font["glyf"].glyphs:
        name += ".latn"
    scale = font["head"].unitsPerEm / donor["head"].unitsPerEm
    donor_glyphs = donor.getGlyphSet()
    outline = DecomposingRecordingPen(donor_glyphs)
    donor_glyphs[donor_name].draw(outline)
    pen = TTGlyphPen(None)
    outline.replay(TransformPen(pen, (scale, 0, 0, scale, 0, 0)))
    glyph = pen.glyph()
    font["glyf"][name] = glyph  # also appends the name to the glyph order
    advance, _ = donor["hmtx"][donor_name]
    glyph.recalcBounds(font["glyf"])
    font["hmtx"][name] = (round(advance * scale), getattr(glyph, "xMin", 0))
    return name


def rebuild_cmap(font, glyph_of_char):
    """The given characters override the mappings in every Unicode subtable;
    everything else the base font maps stays as it is."""
    for sub in font["cmap"].tables:
        if not sub.isUnicode():
            continue
        mapping = dict(sub.cmap)
        for char, glyph in glyph_of_char.items():
            mapping[ord(char)] = glyph
        sub.cmap = mapping


def spacing_marks_to_base(font):
    """Latin shaping zeroes the advance of marks: a mark that takes room of
    its own (the spacing vowel signs) becomes a base glyph."""
    classes = font["GDEF"].table.GlyphClassDef.classDefs
    hmtx = font["hmtx"]
    for glyph, cls in list(classes.items()):
        if cls == 3 and hmtx[glyph][0] > 0:
            classes[glyph] = 1


def tamil_langsys(table):
    records = {r.ScriptTag: r.Script for r in table.ScriptList.ScriptRecord}
    for tag in ("tml2", "taml"):
        if tag in records and records[tag].DefaultLangSys:
            return records[tag].DefaultLangSys
    raise SystemExit("the base font has no Tamil script")


def add_to_scripts(table, feature_indices):
    """Gives DFLT and latn (made if missing) the features, then sorts the
    script list, which HarfBuzz searches by binary search."""
    records = {r.ScriptTag: r for r in table.ScriptList.ScriptRecord}
    for tag in LATIN_SCRIPTS:
        if tag not in records:
            langsys = otTables.DefaultLangSys()
            langsys.LookupOrder = None
            langsys.ReqFeatureIndex = 0xFFFF
            langsys.FeatureIndex = []
            script = otTables.Script()
            script.DefaultLangSys = langsys
            script.LangSysRecord = []
            record = otTables.ScriptRecord()
            record.ScriptTag = tag
            record.Script = script
            table.ScriptList.ScriptRecord.append(record)
            records[tag] = record
        script = records[tag].Script
        for langsys in [script.DefaultLangSys] + [r.LangSys for r in script.LangSysRecord]:
            if langsys is None:
                continue
            for index in feature_indices:
                if index not in langsys.FeatureIndex:
                    langsys.FeatureIndex.append(index)
            langsys.FeatureIndex.sort()
            langsys.FeatureCount = len(langsys.FeatureIndex)
        script.LangSysCount = len(script.LangSysRecord)
    table.ScriptList.ScriptRecord.sort(key=lambda r: r.ScriptTag)
    table.ScriptList.ScriptCount = len(table.ScriptList.ScriptRecord)


def add_rlig(font, uu_of_u):
    gsub = font["GSUB"].table
    features = gsub.FeatureList.FeatureRecord
    by_tag = {}
    for index in tamil_langsys(gsub).FeatureIndex:
        by_tag.setdefault(features[index].FeatureTag, []).extend(
            features[index].Feature.LookupListIndex)
    lookups = []
    for tag in GSUB_TAMIL_FEATURES:
        lookups += [i for i in by_tag.get(tag, []) if i not in lookups]

    glyph_of = font.getBestCmap()
    ligatures = {}
    for u_form, uu_form in uu_of_u.items():
        for marker in UU_MARKERS:
            ligatures[(u_form, glyph_of[ord(marker)])] = uu_form
    lookup = otl.buildLookup([otl.buildLigatureSubstSubtable(ligatures)])
    gsub.LookupList.Lookup.append(lookup)
    gsub.LookupList.LookupCount = len(gsub.LookupList.Lookup)
    lookups.append(len(gsub.LookupList.Lookup) - 1)

    feature = otTables.Feature()
    feature.FeatureParams = None
    feature.LookupListIndex = lookups
    feature.LookupCount = len(lookups)
    record = otTables.FeatureRecord()
    record.FeatureTag = "rlig"
    record.Feature = feature
    features.append(record)
    gsub.FeatureList.FeatureCount = len(features)
    add_to_scripts(gsub, [len(features) - 1])


def add_tamil_positioning(font):
    gpos = font["GPOS"].table
    add_to_scripts(gpos, list(tamil_langsys(gpos).FeatureIndex))


def rename(font, family, base_family):
    name = font["name"]
    style = name.getDebugName(2)
    postscript = f"{family}-{style}"
    revision = f"{font['head'].fontRevision:.3f}"
    # The trademark belongs to the base font's name, which this font drops.
    name.names = [n for n in name.names if n.nameID not in (3, 4, 6, 7, 16, 17)]
    for record_id, text in ((1, family), (2, style), (3, f"{revision};TamilKalvem;{postscript}"),
                            (4, f"{family} {style}"), (6, postscript),
                            (10, f"Tamil display font of Tamil Kalvem, "
                                 f"derived from {base_family}")):
        name.setName(text, record_id, 3, 1, 0x409)


def claim_latin(font):
    os2 = font["OS/2"]
    os2.ulUnicodeRange1 |= (1 << 0) | (1 << 1)  # Basic Latin, Latin-1 Supplement
    os2.ulCodePageRange1 |= 1 << 0  # Latin 1


def build(base_path, latin_path, family, hb_shape, output):
    font = TTFont(base_path, recalcTimestamp=False)
    base_family = font["name"].getDebugName(1)
    code_glyphs, uu_of_u = find_code_glyphs(font, base_path, hb_shape)

    spacing_marks_to_base(font)

    # Printable Latin-1 that the base font lacks and that is no code: "H",
    # and the Latin-1 letters, which an 8-bit document may hold too. With
    # them the font covers the Latin ranges its OS/2 table claims, and
    # fontconfig (hence Qt) lists it as a Latin font.
    cmap = font.getBestCmap()
    missing = [chr(c) for c in list(range(0x21, 0x7F)) + list(range(0xA1, 0x100))
               if chr(c) not in code_glyphs and c not in cmap]
    copied = {}
    if missing:
        donor = TTFont(latin_path)
        classes = font["GDEF"].table.GlyphClassDef.classDefs
        for char in missing:
            copied[char] = copy_glyph(font, donor, char)
            classes[copied[char]] = 1

    rebuild_cmap(font, {**code_glyphs, **copied})
    add_rlig(font, uu_of_u)
    add_tamil_positioning(font)
    rename(font, family, base_family)
    claim_latin(font)
    if "DSIG" in font:
        del font["DSIG"]
    # Written aside and renamed, so that a failed run never leaves a
    # half-written font that the build would take as up to date.
    partial = output + ".partial"
    font.save(partial)
    os.replace(partial, output)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--base", required=True, help="Unicode Tamil font (TrueType)")
    parser.add_argument("--latin", required=True,
                        help="Latin font of the same weight, for ASCII the base font lacks")
    parser.add_argument("--family", required=True, help="family name of the new font")
    parser.add_argument("--hb-shape", default="hb-shape", help="HarfBuzz's hb-shape")
    parser.add_argument("--output", required=True)
    args = parser.parse_args(argv)
    build(args.base, args.latin, args.family, args.hb_shape, args.output)


if __name__ == "__main__":
    main(sys.argv[1:])
