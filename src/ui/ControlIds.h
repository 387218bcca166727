// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The ids of the window's controls, its menu and its commands. Each control also
// carries its id as its objectName, so tests find it by number.
namespace ids {

// The menu resource.
constexpr int MainMenu = 104;

// The frame.
constexpr int StatusBar = 40000;
constexpr int Panel = 59648; // the frame's one pane

// The panel's lists and info box.
constexpr int RunewordList = 50001;
constexpr int RuneList = 50002;
constexpr int ItemList = 50003;
constexpr int CharacterList = 50004;
constexpr int InfoBox = 50100;

// The button column.
constexpr int AllRunesButton = 50200;
constexpr int CommonButton = 50201;
constexpr int SemiRareButton = 50202;
constexpr int ExtremelyRareButton = 50203;
constexpr int AllItemsButton = 50210;
constexpr int AllWeaponsButton = 50211;
constexpr int MeleeWeaponsButton = 50212;
constexpr int MissileWeaponsButton = 50213;
constexpr int AllDefenceButton = 50214;
constexpr int ExitButton = 50220;
constexpr int RunesLabel = 50300;
constexpr int ItemsLabel = 50301;
constexpr int UnnamedStatic = 0xFFFF;

// Menu commands.
constexpr int NewCharacterCommand = 40001;
constexpr int EditCharacterCommand = 40002;
constexpr int DeleteCharacterCommand = 40003;
constexpr int AllRunesRule = 40101;
constexpr int AnyRuneRule = 40102;
constexpr int IgnoreRunesRule = 40103;
constexpr int SelectedCharacterRule = 40201;
constexpr int AnyCharacterRule = 40202;
constexpr int IgnoreCharactersRule = 40203;
constexpr int ClvlOverFirst = 40300; // 15, 20, ... 60
constexpr int ClvlOverLast = 40309;
constexpr int ClvlUnderFirst = 40310; // 20, 25, ... 65
constexpr int ClvlUnderLast = 40319;
constexpr int IgnoreClvlLimits = 40399;
constexpr int ShowRuneInfo = 41201;
constexpr int ShowItemInfo = 41202;
constexpr int ShowRunewordInfo = 41203;
constexpr int AboutCommand = 57664;
constexpr int ExitCommand = 57665;

} // namespace ids
