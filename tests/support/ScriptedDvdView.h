#pragma once
// The DVD dialog window played from a script: the lists it shows, what the
// user picks, the answers of its folder and image choosers.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "dvd/DvdDialogModel.h"

namespace pelorine::testing {

using Entries = std::vector<std::string>;

class ScriptedDvdView final : public DvdDialogView {
public:
    void setEntries(DvdList list, const Entries& entries) override {
        lists[at(list)] = entries;
        selected[at(list)] = -1;
    }
    void select(DvdList list, int index) override { selected[at(list)] = index; }
    int selection(DvdList list) const override { return selected[at(list)]; }
    void showHint(const std::string& text) override { hint = text; }
    void setBusy(bool busy) override { busyChanges.push_back(busy); }
    void message(const std::string& text) override { messages.push_back(text); }
    std::optional<std::string> chooseFolder() override {
        ++folderAsked;
        return folderAnswer;
    }
    std::optional<std::string> chooseImage() override {
        ++imageAsked;
        return imageAnswer;
    }
    void close(bool ok) override { closed = ok; }

    // The user picks entry `index` of `list`.
    void pick(DvdList list, int index) { selected[at(list)] = index; }
    const Entries& entries(DvdList list) const { return lists[at(list)]; }
    int chosen(DvdList list) const { return selected[at(list)]; }

    std::array<Entries, kDvdListCount> lists;
    std::array<int, kDvdListCount> selected{-1, -1, -1, -1, -1, -1, -1};
    std::string hint;
    std::vector<bool> busyChanges;
    std::vector<std::string> messages;
    std::optional<std::string> folderAnswer;
    std::optional<std::string> imageAnswer;
    int folderAsked = 0;
    int imageAsked = 0;
    std::optional<bool> closed;

private:
    static std::size_t at(DvdList list) { return static_cast<std::size_t>(list); }
};

}  // namespace pelorine::testing
