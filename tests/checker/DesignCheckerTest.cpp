#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checker/DesignChecker.h"

namespace lumisk {
namespace {

const AsciiCollation kCollation;

std::vector<std::string> texts(const CheckReport& r) {
  std::vector<std::string> out;
  for (const auto& f : r.findings) out.push_back("[" + f.section + "] " + f.design + ": " + f.text);
  return out;
}

TEST(DesignCheckerTest, ReportsWhatLoadingDropsRenamesOrCannotShow) {
  const TMemIniFile file("C:\\d\\x.dsg",
                         "[Main]\r\nLeft=1\r\n"
                         "[1]\r\nName=ok\r\nDragBar=4\r\nBtnWidth=128\r\nBackColor=16777215\r\nHideSize=0\r\n"
                         "WallPaper=bg.bmp\r\n"
                         "[2]\r\nName=bad\r\nDragBar=9\r\nBtnWidth=30\r\nCols=abc\r\nBtnColor=$FF000000\r\n"
                         "HideSize=101\r\nRows=-5\r\nWallPaper=C:\\gone.bmp\r\n"
                         "[3]\r\nName=ok\r\n"
                         "[4]\r\nCols=3\r\n"
                         "[1]\r\nName=hidden\r\n",
                         kCollation);
  DesignList into;
  into.append("bad", TDesign::unset());
  const CheckReport r =
      checkDesignFile(file, into, [](const std::string& p) { return p == "C:\\d\\bg.bmp"; });
  EXPECT_EQ(r.designNames, (std::vector<std::string>{"ok", "bad2", "ok2", "ok3"}));
  EXPECT_EQ(texts(r), (std::vector<std::string>{
                          "[2] bad2: 名前 \"bad\" は重複するため \"bad2\" になります",
                          "[2] bad2: DragBar の値 9 はエディタの範囲外です (0〜4 のいずれか)",
                          "[2] bad2: BtnWidth の値 30 はエディタの範囲外です (8〜128 の 4 の倍数)",
                          "[2] bad2: BtnColor の値 $FF000000 はエディタの範囲外です (00000000〜00FFFFFF の色)",
                          "[2] bad2: HideSize の値 101 はエディタの範囲外です (0〜100)",
                          "[2] bad2: Cols の値 \"abc\" は整数として読めないため、捨てられます",
                          "[2] bad2: Rows の値 -5 はエディタの範囲外です (1〜150)",
                          "[2] bad2: 壁紙 \"C:\\gone.bmp\" が見つかりません",
                          "[3] ok2: 名前 \"ok\" は重複するため \"ok2\" になります",
                          "[4] : Name がないため、デザインとして読み込まれません",
                          "[1] ok3: 同じ見出し [1] が前にあるため、この節は読まれず前の節が読み込まれます",
                          "[1] ok3: 名前 \"ok\" は重複するため \"ok3\" になります",
                      }));
}

TEST(DesignCheckerTest, ACleanFileHasNoFindings) {
  const TMemIniFile file("x.dsg", "[1]\r\nName=a\r\nCols=200\r\nRows=1\r\nBtnHeight=8\r\nWallPaper=\r\n[2]\r\nName=b\r\n",
                         kCollation);
  const CheckReport r = checkDesignFile(file, DesignList{}, [](const std::string&) { return false; });
  EXPECT_EQ(r.designNames.size(), 2u);
  EXPECT_TRUE(r.findings.empty()) << texts(r).front();
}

}  // namespace
}  // namespace lumisk
