// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <vector>

namespace glyphmoor {

class DataStore;

class Rune {
public:
    virtual ~Rune() = default;

    const std::string& GetName() const { return name; }
    int GetClvl() const { return clvl; }
    const std::string& GetDescription() const { return description; }
    void SetName(std::string value) { name = std::move(value); }
    void SetClvl(int value) { clvl = value; }
    void SetDescription(std::string value) { description = std::move(value); }

    bool operator==(const Rune&) const = default;

private:
    std::string name;
    int clvl = 0;
    std::string description;
};

enum ItemCategory : int { NoCategory = 0, Melee = 1, Missile = 2, Defence = 3 };

class ItemType {
public:
    virtual ~ItemType() = default;

    const std::string& GetName() const { return name; }
    int GetMaxSockets() const { return maxSockets; }
    ItemCategory GetCategory() const { return category; }

    void Set(std::string newName, int newMaxSockets, ItemCategory newCategory);
    // The file's category code 1, 2 or 3; any other code leaves no category.
    void SetFromFile(std::string newName, int newMaxSockets, int code);

    bool IsWeapon() const { return category == Melee || category == Missile; }
    bool IsMeleeWeapon() const { return category == Melee; }
    bool IsMissileWeapon() const { return category == Missile; }
    bool IsDefence() const { return category == Defence; }

    bool operator==(const ItemType&) const = default;

private:
    std::string name;
    int maxSockets = -1;
    ItemCategory category = NoCategory;
};

enum RuneRule : int { AllRunes = 1, AnyRune = 2, IgnoreRunes = 3 };

class Runeword {
public:
    virtual ~Runeword() = default;

    const std::string& GetName() const { return name; }
    const std::string& GetAllowedItemsText() const { return allowedItemsText; }
    const std::string& GetDescription() const { return description; }
    void SetName(std::string value) { name = std::move(value); }
    void SetAllowedItemsText(std::string value) { allowedItemsText = std::move(value); }
    void SetDescription(std::string value) { description = std::move(value); }
    void SetStore(const DataStore* owner) { store = owner; }

    int GetRuneCount() const { return static_cast<int>(runes.size()); }
    int GetItemTypeCount() const { return static_cast<int>(itemTypes.size()); }
    int GetRune(int position) const { return runes[static_cast<std::size_t>(position)]; }
    int GetItemType(int position) const { return itemTypes[static_cast<std::size_t>(position)]; }
    void SetRunes(std::span<const int> indices) { runes.assign(indices.begin(), indices.end()); }
    void SetItemTypes(std::span<const int> indices) { itemTypes.assign(indices.begin(), indices.end()); }

    // The rune names and item tokens exactly as the file gave them, so that a
    // name the tables do not hold can still be shown and written back.
    const std::vector<std::string>& GetRuneNames() const { return runeNames; }
    const std::vector<std::string>& GetItemTokens() const { return itemTokens; }
    void SetRuneNames(std::vector<std::string> names) { runeNames = std::move(names); }
    void SetItemTokens(std::vector<std::string> tokens) { itemTokens = std::move(tokens); }

    // The rune names in socketing order joined by single spaces. A rune the
    // rune table does not hold shows under the name the file gave it.
    std::string RuneOrderText() const;
    // The rune at a position, by the rune table's name or else the file's.
    std::string RuneName(int position) const;
    // The highest clvl among the runes, at least 0; unknown runes are skipped.
    int ClvlRequirement() const;

private:
    const DataStore* store = nullptr;
    std::string name;
    std::vector<int> runes;
    std::vector<int> itemTypes;
    std::string allowedItemsText;
    std::string description;
    std::vector<std::string> runeNames;
    std::vector<std::string> itemTokens;
};

} // namespace glyphmoor
