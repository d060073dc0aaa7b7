#!/usr/bin/env python3
"""Writes sample_ansel.ged: a small ANSEL-encoded GEDCOM file with LF line ends.

The records are written here as ordinary text and encoded to ANSEL byte by byte:
a letter with a diacritic becomes the combining mark byte followed by the base
letter (ANSEL puts the mark first), and the special letters (Ł, ł, Ø, ø, Æ, ß, ...)
become their single ANSEL bytes. Run it from anywhere; the output is byte-identical
on every run.
"""
import os
import sys
import unicodedata

# Unicode combining mark -> ANSEL combining byte.
COMBINING = {
    "\u0300": 0xE1,  # grave
    "\u0301": 0xE2,  # acute
    "\u0302": 0xE3,  # circumflex
    "\u0303": 0xE4,  # tilde
    "\u0304": 0xE5,  # macron
    "\u0306": 0xE6,  # breve
    "\u0307": 0xE7,  # dot above
    "\u0308": 0xE8,  # diaeresis (umlaut)
    "\u030C": 0xE9,  # caron (hacek)
    "\u030A": 0xEA,  # ring above
    "\u030B": 0xEE,  # double acute
    "\u0327": 0xF0,  # cedilla
    "\u0328": 0xF1,  # ogonek (right hook)
    "\u0323": 0xF2,  # dot below
}

# Characters that ANSEL codes as one byte of their own.
SPECIAL = {
    "Ł": 0xA1, "Ø": 0xA2, "Đ": 0xA3, "Þ": 0xA4, "Æ": 0xA5, "Œ": 0xA6,
    "ł": 0xB1, "ø": 0xB2, "đ": 0xB3, "þ": 0xB4, "æ": 0xB5, "œ": 0xB6,
    "ı": 0xB8, "£": 0xB9, "ð": 0xBA, "©": 0xC3, "ß": 0xCF,
}


def to_ansel(text):
    out = bytearray()
    for ch in text:
        if ord(ch) < 0x80:
            out.append(ord(ch))
            continue
        if ch in SPECIAL:
            out.append(SPECIAL[ch])
            continue
        parts = unicodedata.normalize("NFD", ch)
        base, marks = parts[0], parts[1:]
        if ord(base) >= 0x80 or not marks or any(m not in COMBINING for m in marks):
            raise ValueError("no ANSEL form for %r" % ch)
        for mark in marks:
            out.append(COMBINING[mark])
        out.append(ord(base))
    return bytes(out)


LINES = """\
0 HEAD
1 SOUR KINDREL
2 NAME Kindrel Self-Viewing GEDCOM
2 VERS 1.7.0
1 DEST KINDREL
1 DATE 14 MAR 2024
2 TIME 10:45:00
1 SUBM @U1@
1 FILE sample_ansel.ged
1 GEDC
2 VERS 5.5.1
2 FORM LINEAGE-LINKED
1 CHAR ANSEL
0 @U1@ SUBM
1 NAME Hélène Garnier
1 ADDR 9 rue des Tanneurs
2 CONT Besançon
2 CTRY France
0 @I1@ INDI
1 NAME René /Lefèvre/
1 SEX M
1 BIRT
2 DATE 1820
2 PLAC Besançon, Doubs, France
1 OCCU Maître d'école
1 DEAT
2 DATE 1889
2 PLAC Besançon, Doubs, France
1 FAMS @F1@
0 @I2@ INDI
1 NAME Françoise /Müller/
1 SEX F
1 BIRT
2 DATE 1824
2 PLAC Zürich, Switzerland
1 DEAT
2 DATE 1901
1 FAMS @F1@
0 @I3@ INDI
1 NAME Chloë /Lefèvre/
1 SEX F
1 BIRT
2 DATE 1848
2 PLAC Besançon, Doubs, France
1 DEAT
2 DATE 1920
2 PLAC Łódź, Poland
1 FAMC @F1@
1 FAMS @F2@
0 @I4@ INDI
1 NAME Jérôme /Lefèvre/
1 SEX M
1 BIRT
2 DATE 1851
2 PLAC Besançon, Doubs, France
1 OCCU Prêtre
1 NOTE Curé of Saint-Étienne; his sister wrote to him from Łódź every Whitsun.
1 FAMC @F1@
0 @I5@ INDI
1 NAME Łukasz /Wójcik/
1 SEX M
1 BIRT
2 DATE 1845
2 PLAC Białystok, Poland
1 DEAT
2 DATE 1912
2 PLAC Łódź, Poland
1 FAMS @F2@
0 @I6@ INDI
1 NAME Šárka /Wójcik/
1 SEX F
1 BIRT
2 DATE 1872
2 PLAC Łódź, Poland
1 DEAT
2 DATE 1950
2 PLAC Ærøskøbing, Denmark
1 FAMC @F2@
1 FAMS @F3@
0 @I7@ INDI
1 NAME Søren /Åberg/
1 SEX M
1 BIRT
2 DATE 1868
2 PLAC Ærøskøbing, Denmark
1 OCCU Skibsfører
1 DEAT
2 DATE 1939
2 PLAC Ærøskøbing, Denmark
1 FAMS @F3@
0 @I8@ INDI
1 NAME Doğan /Şahin/
1 SEX M
1 BIRT
2 DATE 1880
2 PLAC Großenhain, Saxony, Germany
1 NOTE A lodger in the Åberg house in 1910; not related to the family.
0 @F1@ FAM
1 HUSB @I1@
1 WIFE @I2@
1 MARR
2 DATE 1847
2 PLAC Besançon, Doubs, France
1 CHIL @I3@
1 CHIL @I4@
0 @F2@ FAM
1 HUSB @I5@
1 WIFE @I3@
1 MARR
2 DATE 1870
2 PLAC Łódź, Poland
1 CHIL @I6@
0 @F3@ FAM
1 HUSB @I7@
1 WIFE @I6@
1 MARR
2 DATE 1895
2 PLAC Ærøskøbing, Denmark
0 TRLR
"""


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "sample_ansel.ged")
    data = b"".join(to_ansel(line) + b"\n" for line in LINES.splitlines())
    with open(target, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
