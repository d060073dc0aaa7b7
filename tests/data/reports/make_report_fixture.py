#!/usr/bin/env python3
"""Writes report_fixture.ged: the awkward cases of the printed reports.

I1 Root marries his cousin I3; their common grandparents I7/I8 appear twice in the pedigree.
I2 has two families as child. I20/I21 are each other's father (cyclic ancestry). F9 has 600
children. The names carry markup, quotes, braces, backslashes, Polish, Cyrillic and emoji
letters, and I1 has a note of 300 lines.
"""
import os

lines = ["0 HEAD", "1 SOUR FIXTURE", "1 GEDC", "2 VERS 5.5.1", "2 FORM LINEAGE-LINKED",
         "1 CHAR UTF-8", "1 SUBM @U1@", "0 @U1@ SUBM", "1 NAME Zoë {Brace} \\Back\\"]

def indi(n, name, sex, birth=None, famc=(), fams=(), extra=()):
    lines.append(f"0 @I{n}@ INDI")
    lines.append(f"1 NAME {name}")
    lines.append(f"1 SEX {sex}")
    if birth:
        lines.append("1 BIRT")
        lines.append(f"2 DATE {birth[0]}")
        lines.append(f"2 PLAC {birth[1]}")
    for f in famc:
        lines.append(f"1 FAMC @F{f}@")
    for f in fams:
        lines.append(f"1 FAMS @F{f}@")
    lines.extend(extra)

def fam(n, husb, wife, children, date=None):
    lines.append(f"0 @F{n}@ FAM")
    if husb:
        lines.append(f"1 HUSB @I{husb}@")
    if wife:
        lines.append(f"1 WIFE @I{wife}@")
    if date:
        lines.append("1 MARR")
        lines.append(f"2 DATE {date}")
        lines.append("2 PLAC Łódź & <b>Kyiv</b>")
    for c in children:
        lines.append(f"1 CHIL @I{c}@")

note = ["1 NOTE Line 1 of a long note."] + [f"2 CONT Line {k} of a long note, {'word ' * (k % 9)}end." for k in range(2, 301)]
indi(1, 'Root <b>Bold</b> & "Quoted" /Kowalski/', "M", ("1 JAN 1950", "Kraków, {Poland}"),
     famc=[1], fams=[2, 3], extra=note)
indi(2, "Ann /Лебедева/", "F", ("2 FEB 1952", "Москва"), famc=[5, 6], fams=[2])
indi(3, "Cousin 😀 /Kowalski/", "F", ("3 MAR 1951", "C:\\Temp\\Place"), famc=[4], fams=[3])
indi(4, "Father /Kowalski/", "M", ("1920", "Warszawa"), famc=[7], fams=[1])
indi(5, "Mother /Nowak/", "F", ("1922", "Poznań"), fams=[1])
indi(6, "Uncle /Kowalski/", "M", ("1918", "Warszawa"), famc=[7], fams=[4])
indi(7, "Grandfather /Kowalski/", "M", ("1890", "Lwów"), fams=[7])
indi(8, "Grandmother /Wiśniewska/", "F", ("1892", "Lwów"), fams=[7])
indi(9, "Aunt /Zielińska/", "F", ("1921", ""), fams=[4])
indi(10, "Birth Father /Petrov/", "M", None, fams=[5])
indi(11, "Adoptive Father /Ivanov/", "M", None, fams=[6])
indi(20, "Loop /One/", "M", None, famc=[21], fams=[20])
indi(21, "Loop /Two/", "M", None, famc=[20], fams=[21])
indi(30, "Many /Parent/", "M", None, fams=[9])
indi(31, "Many /Mother/", "F", None, fams=[9])
fam(1, 4, 5, [1], "5 MAY 1949")
fam(2, 1, 2, [], "6 JUN 1975")
fam(3, 1, 3, [40], None)
fam(4, 6, 9, [3])
fam(5, 10, None, [2])
fam(6, 11, None, [2])
fam(7, 7, 8, [4, 6], "1915")
fam(20, 20, None, [21])
fam(21, 21, None, [20])
children = list(range(100, 700))
fam(9, 30, 31, children)
indi(40, "Child /Kowalski/ Jr.", "U", ("1980", "Gdańsk"), famc=[3])
for c in children:
    indi(c, f"Kid{c} /Parent/", "M" if c % 2 else "F", (f"{1900 + c % 90}", "Town"), famc=[9])
lines.append("0 TRLR")
out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "report_fixture.ged")
with open(out, "w", encoding="utf-8", newline="\n") as f:
    f.write("\n".join(lines) + "\n")
