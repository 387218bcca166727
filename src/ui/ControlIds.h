// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The ids of the window's controls, its menu and its commands. Each control also
// carries its id as its objectName, so tests find it by number.
namespace ids {

// The menu resource.
constexpr int MainMenu = 104;

// The icons: the program's, and the empty and the ticked box of a row.
constexpr int ProgramIcon = 102;
constexpr int UntickedIcon = 108;
constexpr int TickedIcon = 109;

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
constexpr int ClvlOver15 = 40300;
constexpr int ClvlOver20 = 40301;
constexpr int ClvlOver25 = 40302;
constexpr int ClvlOver30 = 40303;
constexpr int ClvlOver35 = 40304;
constexpr int ClvlOver40 = 40305;
constexpr int ClvlOver45 = 40306;
constexpr int ClvlOver50 = 40307;
constexpr int ClvlOver55 = 40308;
constexpr int ClvlOver60 = 40309;
constexpr int ClvlUnder20 = 40310;
constexpr int ClvlUnder25 = 40311;
constexpr int ClvlUnder30 = 40312;
constexpr int ClvlUnder35 = 40313;
constexpr int ClvlUnder40 = 40314;
constexpr int ClvlUnder45 = 40315;
constexpr int ClvlUnder50 = 40316;
constexpr int ClvlUnder55 = 40317;
constexpr int ClvlUnder60 = 40318;
constexpr int ClvlUnder65 = 40319;
// The two submenus' id ranges, in menu order.
constexpr int ClvlOverFirst = ClvlOver15;
constexpr int ClvlOverLast = ClvlOver60;
constexpr int ClvlUnderFirst = ClvlUnder20;
constexpr int ClvlUnderLast = ClvlUnder65;
constexpr int IgnoreClvlLimits = 40399;
constexpr int ShowRuneInfo = 41201;
constexpr int ShowItemInfo = 41202;
constexpr int ShowRunewordInfo = 41203;
constexpr int AboutCommand = 57664;
constexpr int ExitCommand = 57665;

} // namespace ids
