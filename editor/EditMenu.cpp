#include "editor/EditMenu.h"

#include <array>
#include <vector>

namespace lumisk {
namespace {

constexpr Shortcut ctrl(char key, std::string_view text) { return {true, false, static_cast<uint16_t>(key), text}; }
constexpr Shortcut kNoShortcut{};
constexpr Shortcut kDel{false, false, kKeyDelete, "Del"};

constexpr MenuItemSpec separator(std::string_view name) {
  return {name, kCmdNone, "-", kNoShortcut, "", EnableRule::Always};
}

constexpr std::array<MenuItemSpec, 7> kFileItems = {{
    {"mnImport", kCmdImport, "インポート(&I)", ctrl('I', "Ctrl+I"), "外部ファイルからデザインを入力する",
     EnableRule::Always},
    {"mnExport", kCmdExport, "エクスポート(&E)", ctrl('E', "Ctrl+E"), "選択したデザインを外部ファイルに出力する",
     EnableRule::AnyDesign},
    separator("mnSep3"),
    {"mnHelp", kCmdHelp, "ヒントヘルプの表示(&H)", kNoShortcut, "ステータスバーの表示/非表示を切り替える",
     EnableRule::Always},
    separator("mnSep1"),
    {"mnExit", kCmdExit, "設定して閉じる(&X)", kNoShortcut,
     "編集した結果をメニューに設定して本画面を閉じる(OKボタン)", EnableRule::Always},
    {"mnCancel", kCmdCancel, "キャンセルして閉じる(&C)", kNoShortcut,
     "編集した結果を破棄して本画面を閉じる(キャンセルボタン)", EnableRule::Always},
}};

constexpr std::array<MenuItemSpec, 7> kDesignItems = {{
    {"mnRename", kCmdRename, "名前変更(&R)", ctrl('R', "Ctrl+R"),
     "選択したデザインの名前を変更する(ダブルクリックでも可能)", EnableRule::OneDesign},
    {"mnUpper", kCmdUpper, "上へ(&U)", ctrl('U', "Ctrl+U"),
     "選択したデザインの順序を上に移動する(ドラッグ&ドロップでも可能)", EnableRule::OneDesign},
    {"mnLower", kCmdLower, "下へ(&L)", ctrl('L', "Ctrl+L"),
     "選択したデザインの順序を下に移動する(ドラッグ&ドロップでも可能)", EnableRule::OneDesign},
    {"mnDelete", kCmdDelete, "削除(&D)", kDel, "選択したデザインを削除する", EnableRule::AnyDesign},
    separator("mnSep2"),
    {"mnAdd", kCmdAdd, "現デザインの登録(&G)", ctrl('G', "Ctrl+G"), "現在のパッドデザインを新規に登録する",
     EnableRule::Always},
    {"mnPad", kCmdPad, "パッドに適用(&A)", ctrl('A', "Ctrl+A"), "選択したデザインをパッドに適用する",
     EnableRule::OneDesign},
}};

constexpr std::array<MenuItemSpec, 2> kValueItems = {{
    {"mnModify", kCmdModify, "値の変更(&M)", ctrl('M', "Ctrl+M"),
     "選択した項目の設定値を変更する(ダブルクリックでも可能)", EnableRule::ValueModify},
    {"mnClear", kCmdClear, "値の消去(&C)", ctrl('C', "Ctrl+C"),
     "選択した項目の設定値を消去する。再入力するときは\"値の変更\"を行う", EnableRule::ValueClear},
}};

constexpr std::array<MenuSpec, 3> kMenuBar = {{
    {"mnFile", "ファイル(&F)", kFileItems},
    {"mnDesign", "デザイン(&D)", kDesignItems},
    {"mnValue", "設定値(&V)", kValueItems},
}};

std::vector<AcceleratorSpec> makeAccelerators() {
  std::vector<AcceleratorSpec> list;
  for (const MenuSpec& menu : kMenuBar)
    for (const MenuItemSpec& item : menu.items)
      if (item.shortcut.key != 0)
        list.push_back({item.shortcut.control, item.shortcut.alt, item.shortcut.key, item.command});
  list.push_back({false, true, kKeyS, kCmdFocusDesignList});
  return list;
}

}  // namespace

std::span<const MenuSpec> editMenuBar() { return kMenuBar; }

const MenuItemSpec* findMenuItem(EditCommand command) {
  if (command == kCmdNone) return nullptr;
  for (const MenuSpec& menu : kMenuBar)
    for (const MenuItemSpec& item : menu.items)
      if (item.command == command) return &item;
  return nullptr;
}

std::span<const AcceleratorSpec> editAccelerators() {
  static const std::vector<AcceleratorSpec> list = makeAccelerators();
  return list;
}

std::string menuItemText(const MenuItemSpec& item) {
  std::string text(item.caption);
  if (!item.shortcut.text.empty()) {
    text += '\t';
    text += item.shortcut.text;
  }
  return text;
}

}  // namespace lumisk
