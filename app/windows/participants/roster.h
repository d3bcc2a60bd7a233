#pragma once

#include <iterator>
#include <list>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/windows/participants/participant_rules.h"
#include "kestrum/records/user_info_record.h"

namespace ZuvraKestrum::Participants {

// The participants panel's rows in list order, each found by its uid (exact bytes; with
// duplicates the first row wins), and how a newly applied participant list changes them. Row is
// the list's record of one row; the roster reads its `uid`, `nickname` (UTF-8) and `status`.
// Records keep their addresses while they are listed, which the row controls' tags rely on.
//
// A plain value without window types, used on the UI thread by its one owner (the list control,
// which does what apply asks through View).
template <class Row>
class Roster {
public:
    using Item = typename std::list<Row>::iterator;

    // What the list does for apply, on its own rows and this roster.
    class View {
    public:
        // Takes every row out of the list and clears the roster.
        virtual void removeAllRows() = 0;
        // Takes item's row out of the list and erases it here.
        virtual void removeRow(Item item) = 0;
        // A new row for participant (its status as shown) at index, inserted before `before`;
        // false when none could be built or added.
        virtual bool insertRow(Item before, int index, const UserInfoRecord& participant) = 0;
        // Moves a kept row to index, before `before`; false (the row then gone) when it cannot
        // be added there again.
        virtual bool moveRow(Item item, Item before, int index) = 0;
        // A kept row takes participant's record, status as shown.
        virtual void refreshRow(Row& row, const UserInfoRecord& participant, int status) = 0;
        // A row is built or changes: the status reported and, when it differs, shown.
        virtual void logRowStatus(const UserInfoRecord& participant, int status) = 0;

    protected:
        ~View() = default;
    };

    Item begin() { return rows_.begin(); }
    Item end() { return rows_.end(); }
    typename std::list<Row>::const_iterator begin() const { return rows_.cbegin(); }
    typename std::list<Row>::const_iterator end() const { return rows_.cend(); }
    int size() const { return static_cast<int>(rows_.size()); }

    // uid's first row, end() when it has none.
    Item first(const std::string& uid) {
        const auto found = byUid_.find(uid);
        return found == byUid_.end() ? rows_.end() : found->second.first;
    }
    // The record of uid's first row, null when it has none.
    Row* find(const std::string& uid) {
        const Item item = first(uid);
        return item == rows_.end() ? nullptr : &*item;
    }
    const Row* find(const std::string& uid) const {
        const auto found = byUid_.find(uid);
        return found == byUid_.end() ? nullptr : &*found->second.first;
    }

    Item insert(Item before, Row row) {
        const Item item = rows_.insert(before, std::move(row));
        UidRows& rows = byUid_[item->uid];
        if (rows.count++ == 0) rows.first = item;
        return item;
    }
    // Moves item before `before`; which row of a uid with several comes first is settled when
    // apply ends.
    void move(Item item, Item before) { rows_.splice(before, rows_, item); }
    void erase(Item item);
    void clear() {
        rows_.clear();
        byUid_.clear();
    }

    // The rows become participants', in their order: the n-th row of a uid stays with its n-th
    // participant (MatchRows), rows that no participant keeps go first, then each participant in
    // turn gets its kept row, moved where it belongs, or a new one. Every row shows the status
    // RowStatus gives for videoOn. A row is logged when it is built or its status or nickname
    // changes: the program's log writes each line at once, and an unchanged row says nothing
    // its earlier lines did not.
    // With places, the participants were applied before, and only the participants at places
    // may show something new: just their rows are found (by uid) and refreshed, when the rows
    // are still the participants' one by one; otherwise the whole list is applied.
    void apply(const std::vector<UserInfoRecord>& participants,
               const std::map<std::string, bool>& videoOn, View& view,
               const std::vector<size_t>* places = nullptr);

private:
    bool applyInPlace(const std::vector<UserInfoRecord>& participants,
                      const std::map<std::string, bool>& videoOn, View& view,
                      const std::vector<size_t>& places);
    // Logs a kept row's participant when its status or nickname changes.
    static void logChange(const Row& row, const UserInfoRecord& participant, int status,
                          View& view) {
        if (row.status != status || row.nickname != participant.name) {
            view.logRowStatus(participant, status);
        }
    }
    // Removes the rows (in list order) that no participant keeps.
    void removeUnkept(const std::vector<Item>& rows, const std::vector<int>& kept, View& view);
    // The first row of each uid, from the last row to the first so that each uid ends on its
    // first.
    void reindex() {
        for (auto item = rows_.end(); item != rows_.begin();) {
            --item;
            byUid_[item->uid].first = item;
        }
    }

    std::list<Row> rows_;
    // The first row of each uid and how many rows share it, so that updates by uid and removals
    // stay cheap in long lists.
    struct UidRows {
        Item first;
        int count = 0;
    };
    std::unordered_map<std::string, UidRows> byUid_;
};

template <class Row>
void Roster<Row>::erase(Item item) {
    const auto rows = byUid_.find(item->uid);
    if (rows != byUid_.end() && --rows->second.count == 0) {
        byUid_.erase(rows);
    } else if (rows != byUid_.end() && rows->second.first == item) {
        // A later row of the same uid becomes the first.
        for (auto later = std::next(item); later != rows_.end(); ++later) {
            if (later->uid == item->uid) {
                rows->second.first = later;
                break;
            }
        }
    }
    rows_.erase(item);
}

template <class Row>
bool Roster<Row>::applyInPlace(const std::vector<UserInfoRecord>& participants,
                               const std::map<std::string, bool>& videoOn, View& view,
                               const std::vector<size_t>& places) {
    // One row per participant, none sharing a uid: the rows are the participants' still.
    if (rows_.size() != participants.size() || byUid_.size() != rows_.size()) return false;
    std::vector<Item> rows;
    rows.reserve(places.size());
    for (const size_t at : places) {
        rows.push_back(first(participants[at].uid));
        if (rows.back() == rows_.end()) return false;
    }
    for (size_t i = 0; i < places.size(); ++i) {
        const UserInfoRecord& participant = participants[places[i]];
        const int status = RowStatus(participant.status, videoOn, participant.uid);
        logChange(*rows[i], participant, status, view);
        view.refreshRow(*rows[i], participant, status);
    }
    return true;
}

template <class Row>
void Roster<Row>::apply(const std::vector<UserInfoRecord>& participants,
                        const std::map<std::string, bool>& videoOn, View& view,
                        const std::vector<size_t>* places) {
    if (places && applyInPlace(participants, videoOn, view, *places)) return;
    std::vector<Item> rows;
    std::vector<std::string_view> rowUids;
    rows.reserve(rows_.size());
    rowUids.reserve(rows_.size());
    for (auto item = rows_.begin(); item != rows_.end(); ++item) {
        rows.push_back(item);
        rowUids.push_back(item->uid);
    }
    const bool hadDuplicates = byUid_.size() != rows_.size();
    const std::vector<int> kept = MatchRows(rowUids, participants);
    removeUnkept(rows, kept, view);

    // The rows before `next` are placed; the kept ones from `next` on wait for their turn.
    Item next = rows_.begin();
    int placed = 0;
    for (size_t index = 0; index < participants.size(); ++index) {
        const UserInfoRecord& participant = participants[index];
        const int status = RowStatus(participant.status, videoOn, participant.uid);
        if (kept[index] == kNewRow) {
            view.logRowStatus(participant, status);
            UserInfoRecord shown = participant;
            shown.status = status;
            if (view.insertRow(next, placed, shown)) ++placed;
            continue;
        }
        const Item item = rows[kept[index]];
        logChange(*item, participant, status, view);
        if (item == next) {
            ++next;
        } else if (!view.moveRow(item, next, placed)) {
            continue;
        }
        ++placed;
        view.refreshRow(*item, participant, status);
    }
    if (hadDuplicates || byUid_.size() != rows_.size()) reindex();
}

template <class Row>
void Roster<Row>::removeUnkept(const std::vector<Item>& rows, const std::vector<int>& kept,
                               View& view) {
    std::vector<bool> keeps(rows.size(), false);
    bool keepsAny = false;
    for (const int row : kept) {
        if (row == kNewRow) continue;
        keeps[row] = true;
        keepsAny = true;
    }
    // All in one step when none stays: one by one, each removal moves the rows after it.
    if (!keepsAny) {
        view.removeAllRows();
        return;
    }
    for (size_t row = 0; row < rows.size(); ++row) {
        if (!keeps[row]) view.removeRow(rows[row]);
    }
}

}  // namespace ZuvraKestrum::Participants
