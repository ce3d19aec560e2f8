// The translatable texts a dialog carries: the texts as stored with the dialog (the keys) and
// their current form, matched by position.
#pragma once

#include <string>
#include <utility>
#include <vector>

class TTextStorage {
public:
    TTextStorage() = default;
    explicit TTextStorage(std::vector<std::string> items) : items_(std::move(items)) {}

    // Called once when the dialog has finished loading: the stored texts become the keys.
    void Loaded() { loadedItems_ = items_; }

    // Replaces the current texts; the keys stay.
    void SetItems(std::vector<std::string> items) { items_ = std::move(items); }

    const std::vector<std::string>& Items() const { return items_; }
    const std::vector<std::string>& LoadedItems() const { return loadedItems_; }

    // The current form of a stored text; the key itself when it is not stored, when its entry
    // is "unused", or when the current texts have no entry at its position.
    std::string Lookup(const std::string& key) const;

private:
    std::vector<std::string> items_;
    std::vector<std::string> loadedItems_;
};
