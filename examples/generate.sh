#!/usr/bin/env bash
# Writes the example files in the form the plug-in reads: code page 932 bytes, every line ending in CR LF.
# The texts below are UTF-8 (as every source file here); iconv turns them into code page 932.
#   examples/generate.sh      rewrites examples/lumisk.ini and examples/sample.dsg
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

cp932() {  # stdin UTF-8 with LF  ->  $1 in code page 932 with CR LF
  iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$1.tmp"
  mv "$1.tmp" "$1"
}

# The plug-in INI file: its settings, then five designs. Colours are 0x00BBGGRR in decimal. ImportDir and
# ExportDir are left out, so both default to the folder the file lies in. The last design carries only
# colours: applying it leaves the pad's size and bars as they are.
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
DragBarSize=14
ScrollBar=0
BtnSmallIcon=0
BtnSquare=1
BtnWidth=36
BtnHeight=36
BtnCaption=0
BackColor=3151892
BtnColor=6304808
BtnFocusColor=5294320
HideColor=3151892
BtnTransparent=0
BtnSelTransparent=0
HideGroupName=1
HideSize=4
Cols=6
Rows=2
WallPaper=

[1]
Name=桜
BtnVertical=0
DragBar=1
GroupName=0
DragBarSize=10
ScrollBar=0
BtnSmallIcon=0
BtnSquare=0
BtnWidth=56
BtnHeight=44
BtnCaption=1
BackColor=15920383
BtnColor=14207224
BtnFocusColor=7885020
HideColor=14207224
BtnTransparent=0
BtnSelTransparent=0
Cols=4
Rows=3

[2]
Name=若葉
BtnVertical=0
DragBar=2
GroupName=1
DragBarSize=16
ScrollBar=3
ScrollBtn=1
GroupBtn=0
ScrollSize=12
BtnSmallIcon=1
BtnSquare=0
BtnWidth=72
BtnHeight=28
BtnCaption=2
BackColor=14742760
BtnColor=10541232
BtnFocusColor=3178560
HideColor=10541232
BtnTransparent=0
BtnSelTransparent=1
Cols=3
Rows=3

[3]
Name=墨
BtnVertical=1
DragBar=4
GroupName=1
DragBarSize=12
ScrollBar=0
BtnSquare=1
BtnWidth=40
BtnHeight=40
BtnCaption=0
BackColor=4210752
BtnColor=8421504
BtnFocusColor=15132390
HideColor=4210752
Cols=3
Rows=3

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
DragBar=2
DragBarSize=12
BtnWidth=44
BtnHeight=36
BtnCaption=0
BackColor=12640511
BtnColor=6332656
BtnFocusColor=2109600
Cols=5
Rows=2

[2]
Name=深海
DragBar=3
DragBarSize=10
BackColor=4202496
BtnColor=7884800
BtnFocusColor=13158400

DSG
