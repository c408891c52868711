#!/usr/bin/env bash
# Writes the example files in the form the plug-in reads: code page 932 bytes, every line ending in CR LF.
# The texts below are UTF-8 (as every source file here); iconv turns them into code page 932. Also draws
# the three small wallpapers that some designs name (8-bit bitmaps, about 17 KB each).
#   examples/generate.sh      rewrites examples/lumisk.ini, examples/sample.dsg and examples/*.bmp
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

cp932() {  # stdin UTF-8 with LF  ->  $1 in code page 932 with CR LF
  iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$1.tmp"
  mv "$1.tmp" "$1"
}

# The wallpapers: a night sky, cherry blossoms, young leaves; 160 x 100, drawn with a fixed seed so that
# every run writes the same bytes. A design names them without a folder: the plug-in takes such a name
# to lie beside the file that holds the design.
python3 - "$here" <<'PY'
import math, random, struct, sys

W, H = 160, 100

def bmp8(path, pixels):
    colours = sorted(set(pixels))
    assert len(colours) <= 256, (path, len(colours))
    index = {c: i for i, c in enumerate(colours)}
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in colours)
    palette += b'\0' * (1024 - len(palette))
    rows = b''.join(bytes(index[pixels[y * W + x]] for x in range(W)) for y in reversed(range(H)))
    offset = 14 + 40 + 1024
    header = struct.pack('<2sIHHI', b'BM', offset + len(rows), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    with open(path + '.tmp', 'wb') as f:
        f.write(header + info + palette + rows)
    import os
    os.replace(path + '.tmp', path)

def lerp(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))

def vertical(top, bottom):
    return [lerp(top, bottom, y / (H - 1)) for y in range(H) for _ in range(W)]

def put(p, x, y, c):
    if 0 <= x < W and 0 <= y < H:
        p[y * W + x] = c

def disc(p, cx, cy, r, c):
    for y in range(int(cy - r) - 1, int(cy + r) + 2):
        for x in range(int(cx - r) - 1, int(cx + r) + 2):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                put(p, x, y, c)

def night(path):
    rnd = random.Random(7)
    p = vertical((10, 16, 46), (46, 32, 88))
    stars = [(255, 255, 255), (255, 244, 200), (200, 220, 255), (150, 160, 210)]
    for _ in range(90):
        put(p, rnd.randrange(W), rnd.randrange(H), rnd.choice(stars))
    for _ in range(7):
        x, y = rnd.randrange(4, W - 4), rnd.randrange(4, H - 4)
        for dx, dy in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1)):
            put(p, x + dx, y + dy, (255, 255, 255) if (dx, dy) == (0, 0) else (190, 200, 240))
    # A crescent moon: a disc less a disc beside it.
    for y in range(H):
        for x in range(W):
            if (x - 132) ** 2 + (y - 22) ** 2 <= 100 and (x - 137) ** 2 + (y - 18) ** 2 > 81:
                put(p, x, y, (255, 236, 170))
    bmp8(path, p)

def blossoms(path):
    rnd = random.Random(11)
    p = vertical((255, 244, 248), (250, 222, 234))
    petals = [(248, 200, 218), (244, 178, 204), (252, 214, 228), (240, 160, 192)]
    for _ in range(26):
        cx, cy = rnd.uniform(0, W), rnd.uniform(0, H)
        r = rnd.uniform(2.0, 4.0)
        colour = rnd.choice(petals)
        turn = rnd.uniform(0, math.tau)
        for k in range(5):
            a = turn + k * math.tau / 5
            disc(p, cx + math.cos(a) * r, cy + math.sin(a) * r, r * 0.75, colour)
        disc(p, cx, cy, max(1.0, r * 0.35), (224, 120, 160))
    bmp8(path, p)

def leaves(path):
    rnd = random.Random(5)
    top, bottom = (236, 248, 222), (196, 230, 174)
    p = [lerp(top, bottom, round(((x / W) * 0.4 + (y / H) * 0.6) * 80) / 80) for y in range(H) for x in range(W)]
    greens = [(150, 206, 110), (124, 190, 90), (172, 218, 130), (104, 170, 80)]
    for _ in range(16):
        cx, cy = rnd.uniform(0, W), rnd.uniform(0, H)
        a, b = rnd.uniform(7, 12), rnd.uniform(2.5, 4.0)
        turn = rnd.uniform(0, math.pi)
        colour = rnd.choice(greens)
        vein = tuple(max(0, v - 30) for v in colour)
        c, s = math.cos(turn), math.sin(turn)
        for y in range(int(cy - a) - 1, int(cy + a) + 2):
            for x in range(int(cx - a) - 1, int(cx + a) + 2):
                u = (x - cx) * c + (y - cy) * s
                v = -(x - cx) * s + (y - cy) * c
                if (u / a) ** 2 + (v / b) ** 2 <= 1:
                    put(p, x, y, vein if abs(v) < 0.5 else colour)
    bmp8(path, p)

folder = sys.argv[1]
night(folder + '/yozora.bmp')
blossoms(folder + '/sakura.bmp')
leaves(folder + '/wakaba.bmp')
PY

# The plug-in INI file: its settings, then five designs, each a look of its own: a night sky of glassy
# buttons over stars, cherry blossoms with captions below the icons, young leaves with captions beside
# small icons and a full scroll bar, ink with buttons numbered column by column, and a soda that carries
# only colours (applying it leaves the pad's size and bars as they are). Colours are 0x00BBGGRR in
# decimal. ImportDir and ExportDir are left out, so both default to the folder the file lies in.
cp932 "$here/lumisk.ini" <<'INI'
[Main]
Left=120
Top=80
Width=480
Height=400
Col0Width=140
Col1Width=90
HintHelp=1

[0]
Name=夜空
BtnVertical=0
DragBar=2
GroupName=1
DragBarSize=16
ScrollBar=0
ScrollBtn=0
GroupBtn=0
ScrollSize=12
BtnSmallIcon=0
BtnSquare=1
BtnWidth=44
BtnHeight=44
BtnCaption=0
BackColor=3807760
BtnColor=10508870
BtnFocusColor=4246783
HideColor=5251608
BtnTransparent=1
BtnSelTransparent=1
HideGroupName=1
HideSize=18
Cols=6
Rows=2
WallPaper=yozora.bmp

[1]
Name=桜
BtnVertical=0
DragBar=1
GroupName=1
DragBarSize=20
ScrollBar=3
ScrollBtn=1
GroupBtn=0
ScrollSize=14
BtnSmallIcon=0
BtnSquare=0
BtnWidth=64
BtnHeight=60
BtnCaption=1
BackColor=16051967
BtnColor=14865658
BtnFocusColor=9067234
HideColor=12097260
BtnTransparent=0
BtnSelTransparent=0
HideGroupName=1
HideSize=20
Cols=4
Rows=3
WallPaper=sakura.bmp

[2]
Name=若葉
BtnVertical=0
DragBar=2
GroupName=1
DragBarSize=18
ScrollBar=4
ScrollBtn=1
GroupBtn=1
ScrollSize=16
BtnSmallIcon=1
BtnSquare=0
BtnWidth=100
BtnHeight=28
BtnCaption=2
BackColor=14087396
BtnColor=11331268
BtnFocusColor=4757048
HideColor=6076024
BtnTransparent=0
BtnSelTransparent=1
HideGroupName=1
HideSize=16
Cols=2
Rows=5
WallPaper=wakaba.bmp

[3]
Name=墨
BtnVertical=1
DragBar=4
GroupName=0
DragBarSize=10
ScrollBar=1
ScrollBtn=0
GroupBtn=1
ScrollSize=12
BtnSmallIcon=1
BtnSquare=1
BtnWidth=32
BtnHeight=32
BtnCaption=0
BackColor=3025964
BtnColor=6315100
BtnFocusColor=15133932
HideColor=1183760
BtnTransparent=0
BtnSelTransparent=0
HideGroupName=0
HideSize=6
Cols=3
Rows=4
WallPaper=

[4]
Name=ソーダ
BackColor=16773340
BtnColor=15782550
BtnFocusColor=16777215

INI

# A design file to import: what the editor's export writes, sections numbered from 1.
cp932 "$here/sample.dsg" <<'DSG'
[1]
Name=夕焼け
BtnVertical=0
DragBar=2
GroupName=1
DragBarSize=14
ScrollBar=0
BtnSmallIcon=0
BtnSquare=0
BtnWidth=48
BtnHeight=40
BtnCaption=0
BackColor=9881855
BtnColor=5273840
BtnFocusColor=5908600
HideColor=3955400
BtnTransparent=0
BtnSelTransparent=1
HideGroupName=1
HideSize=14
Cols=5
Rows=2
WallPaper=

[2]
Name=深海
DragBar=3
GroupName=1
DragBarSize=16
ScrollBar=1
ScrollBtn=1
GroupBtn=1
ScrollSize=14
BackColor=4201992
BtnColor=7882260
BtnFocusColor=13163580
HideColor=2626568
BtnTransparent=1

DSG
