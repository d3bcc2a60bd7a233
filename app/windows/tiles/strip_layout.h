#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ZuvraKestrum::Tiles {

// Which stream a tile shows: the fields of its participant record that the strip orders by.
struct TileKey {
    int32_t streamId = -1;  // the tile's key: the engine uid of the stream
    std::string uid;        // the participant's uid text
    int32_t shareId = -1;   // the participant's screen-share stream
    uint8_t isShare = 0;    // non-zero on the participant's screen-share entry
};

// The column of video tiles in the strip: their order, their rectangles and the scroll offset,
// without any window. Tile i lies at x kLeft and y offset + kStep x i + kGap, kTileWidth x
// kTileHeight; every operation keeps that, so the owner only moves each item to slot(i) after
// a change. The offset is 0 at the top and drops by one step per tile scrolled away.
//
// Item is the owner's handle of a tile (a window in the strip, a label in tests); the layout
// stores and hands it back but never uses it. A tile is found by its stream without a walk of the
// column, so that a participant list forwarded tile by tile costs no more than its length. A
// plain value; no thread affinity.
template <class Item>
class StripLayout {
public:
    static constexpr int kLeft = 13;
    static constexpr int kGap = 24;
    static constexpr int kTileWidth = 170;
    static constexpr int kTileHeight = 174;
    static constexpr int kStep = kGap + kTileHeight;

    struct Tile {
        TileKey key;
        Item item;
    };

    const std::vector<Tile>& tiles() const { return tiles_; }
    int count() const { return static_cast<int>(tiles_.size()); }
    int offset() const { return offset_; }
    // The bottom of the last tile's slot in client coordinates.
    int lastBottom() const { return offset_ + kStep * count(); }

    // The rectangle of slot index at the current offset.
    RECT slot(int index) const {
        const int bottom = offset_ + kStep * (index + 1);
        return RECT{kLeft, bottom - kTileHeight, kLeft + kTileWidth, bottom};
    }

    // Appends a tile below the last one; its slot is slot(count() - 1).
    void add(const TileKey& key, Item item) {
        tiles_.push_back(Tile{key, std::move(item)});
        if (indexed_) byStream_.emplace(key.streamId, tiles_.size() - 1);
    }

    // The first tile with this stream, null when none has it.
    const Tile* find(int32_t streamId) const {
        const size_t at = indexOf(streamId);
        return at == kNone ? nullptr : &tiles_[at];
    }
    // The first tile of this participant, null when none has it.
    const Tile* findUid(const std::string& uid) const {
        auto found = std::find_if(tiles_.begin(), tiles_.end(),
                                  [&](const Tile& tile) { return tile.key.uid == uid; });
        return found == tiles_.end() ? nullptr : &*found;
    }
    // The item of the first tile with this stream, null when none has it.
    Item* itemOf(int32_t streamId) {
        const size_t at = indexOf(streamId);
        return at == kNone ? nullptr : &tiles_[at].item;
    }
    // The item of tile index.
    Item& itemAt(int index) { return tiles_[static_cast<size_t>(index)].item; }
    // The first tile with this stream shows what key says from now on (another stream, say);
    // false when none has the stream.
    bool rekey(int32_t streamId, const TileKey& key) {
        const size_t at = indexOf(streamId);
        if (at == kNone) return false;
        if (key.streamId != streamId) indexed_ = false;
        tiles_[at].key = key;
        return true;
    }

    // Takes the first tile with this stream out and hands its item back (false when none has
    // it). The tiles below close the gap, and a scrolled strip scrolls back by one step so that
    // the removal does not leave the column hanging above an empty slot.
    bool remove(int32_t streamId, Item& removed) {
        const size_t at = indexOf(streamId);
        if (at == kNone) return false;
        removed = std::move(tiles_[at].item);
        tiles_.erase(tiles_.begin() + static_cast<std::ptrdiff_t>(at));
        indexed_ = false;
        if (offset_ < 0) offset_ += kStep;
        return true;
    }

    // Takes every tile out, handing their items back in order, and returns to the top.
    std::vector<Item> clear() {
        std::vector<Item> items;
        for (Tile& tile : tiles_) items.push_back(std::move(tile.item));
        tiles_.clear();
        indexed_ = false;
        offset_ = 0;
        return items;
    }

    // One step down (the column moves up) while the column reaches below the client area;
    // false when there is nothing more to show.
    bool scrollDown(int clientBottom) {
        if (clientBottom >= lastBottom()) return false;
        offset_ -= kStep;
        return true;
    }

    // One step up while the strip is scrolled; false at the top.
    bool scrollUp() {
        if (offset_ >= 0) return false;
        offset_ += kStep;
        return true;
    }

    // Puts each participant's screen-share tile right after that participant's camera tile
    // (the share tile carries the owner's uid, its streamId is the owner's shareId) and lays
    // the column out again from the top.
    void placeSharesAfterOwners() {
        for (size_t owner = 0; owner < tiles_.size(); ++owner) {
            const TileKey& key = tiles_[owner].key;
            if (key.shareId < 1 || key.isShare != 0) continue;
            const size_t share = findShareOf(key);
            if (share == kNone) continue;
            Tile moved = std::move(tiles_[share]);
            tiles_.erase(tiles_.begin() + static_cast<std::ptrdiff_t>(share));
            if (share < owner) --owner;
            tiles_.insert(tiles_.begin() + static_cast<std::ptrdiff_t>(owner + 1),
                          std::move(moved));
            indexed_ = false;
            ++owner;  // the walk goes on after the share tile
        }
        offset_ = 0;
    }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    // The place of the first tile with this stream, kNone when none has it. The index is made
    // again after a change of places, once, on the next look-up.
    size_t indexOf(int32_t streamId) const {
        if (!indexed_) {
            byStream_.clear();
            for (size_t i = 0; i < tiles_.size(); ++i) byStream_.emplace(tiles_[i].key.streamId, i);
            indexed_ = true;
        }
        const auto found = byStream_.find(streamId);
        return found == byStream_.end() ? kNone : found->second;
    }

    size_t findShareOf(const TileKey& owner) const {
        for (size_t i = 0; i < tiles_.size(); ++i) {
            const TileKey& key = tiles_[i].key;
            if (key.streamId == owner.shareId && key.isShare != 0 && key.uid == owner.uid) return i;
        }
        return kNone;
    }

    std::vector<Tile> tiles_;
    mutable std::unordered_map<int32_t, size_t> byStream_;  // stream -> its first tile
    mutable bool indexed_ = false;
    int offset_ = 0;
};

}  // namespace ZuvraKestrum::Tiles
