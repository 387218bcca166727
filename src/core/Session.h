// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DataStore.h"
#include "core/Roster.h"
#include "core/Settings.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace glyphmoor {

// The three lists whose rows the player picks; numbered as the info kinds.
enum class Pick : int { Rune = RuneInfo, ItemType = ItemInfo, Runeword = RunewordInfo };

// The sets of rows the button column ticks at once.
enum class TickSet {
    AllRunes, CommonRunes, SemiRareRunes, ExtremelyRareRunes,
    AllItems, AllWeapons, MeleeWeapons, MissileWeapons, AllDefence,
};

// What a session tells the window after an operation.
class SessionObserver {
public:
    virtual ~SessionObserver() = default;
    // The ticks of the rune list or the item list are no longer those shown.
    virtual void TicksChanged(Pick list) = 0;
    // A filter rule changed: the runeword list is to be built again.
    virtual void RulesChanged() = 0;
};

// A run of the program on its files, with no window: the reference data, the
// roster and its selected character, the filter rules, the info kind, the
// ticks shown and the highlighted rows, and the runewords listed from them.
// The window forwards the player's input as operations and shows the texts it
// answers.
class Session {
public:
    explicit Session(Io io);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void SetObserver(SessionObserver* value) { observer = value; }

    // Start: the three tables and the roster. False when chars.dat is there
    // but does not read: then the session must save nothing.
    bool Load();
    bool RosterUnreadable() const { return roster.unreadable; }
    // The settings file, once the roster has its characters.
    void LoadSettingsFile();
    // The end, or a save while the run goes on: the selected character's
    // ticks and highlights, then the settings.
    void Save();
    // The settings only; never over a file that did not read.
    void SaveSettingsFile();

    const DataStore& Store() const { return store; }
    const Roster& GetRoster() const { return roster; }
    const FilterSettings& Filter() const { return filter; }
    InfoKind GetInfoKind() const { return infoKind; }

    // Ticks and highlighted rows of the rune and item lists.
    bool Ticked(Pick list, int row) const;
    void SetTick(Pick list, int row, bool ticked);
    void FlipTick(Pick list, int row);
    // Ticks every member of the set unless all are ticked, then unticks them.
    void TickGroup(TickSet set);
    int Highlighted(Pick list) const;
    void SetHighlighted(Pick list, int row);

    // The filter rules and the info kind, as the Filters and Options menus
    // set them.
    void SetRuneRule(RuneRule rule);
    void SetCharacterRule(CharacterRule rule);
    void SetClvlOver(int bound);
    void SetClvlUnder(int bound);
    void FlipIgnoreClvlLimits();
    void SetInfoKind(InfoKind kind) { infoKind = kind; }

    // The runewords listed under the current ticks and rules, in table
    // order; rebuilt by ListRunewords. Rows are positions in this list.
    void ListRunewords();
    const std::vector<int>& Listed() const { return listed; }
    int ListedRuneword(int row) const;
    int RowOf(int runeword) const;
    int ListingCount() const { return listings; }

    // Characters. The one left keeps its ticks and highlights, on disk too.
    bool RosterFull() const { return roster.characterCount == RosterSize; }
    void AddCharacter(std::string name, int clvl);
    void EditSelected(std::string name, int clvl);
    // Removes the selected character and writes the roster and the settings.
    // The last one leaves an empty roster, cleared ticks and highlights on
    // the first rows, and nothing written until FinishDeletion, once a new
    // first character is made. True when the roster is left empty.
    bool DeleteSelected();
    void FinishDeletion();
    // The selected character's ticks and highlights into the lists' state.
    void ApplySelected();
    void SwitchTo(int k);
    void CaptureSelected();

    // The texts the window shows, in the files' code page.
    std::string StatusText(Pick list, int row) const;
    std::string InfoText() const; // of the highlighted row of the info kind's list
    std::string TipText(Pick list, int row, int capacity) const;
    std::string DeleteQuestion() const;
    // The runes of a runeword that are not ticked, in socketing order, with
    // where each stands in the runeword's rune order text (in bytes).
    struct MissingRune {
        int start = 0;
        int length = 0;
        std::string name;
        bool operator==(const MissingRune&) const = default;
    };
    std::vector<MissingRune> MissingRunes(int runeword) const;
    // "needs Pem, Olv", or nothing when no rune is missing.
    static std::string NeedsText(const std::vector<MissingRune>& missing);

private:
    std::vector<int> Members(TickSet set) const;
    void TellTicksChanged(Pick list);
    void TellRulesChanged();

    Io io;
    SessionObserver* observer = nullptr;
    DataStore store;
    Roster roster;
    FilterSettings filter;
    InfoKind infoKind = DefaultInfoKind;
    bool settingsUnreadable = false;
    std::array<bool, RuneCount> runeTicks{};
    std::array<bool, ItemTypeCount> itemTicks{};
    std::array<int, 3> highlighted{-1, -1, -1};
    std::vector<int> listed;
    int listings = 0;
};

} // namespace glyphmoor
