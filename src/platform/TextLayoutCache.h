#pragma once

// The texts a painter measured or drew, laid out, kept across paints by a key that names the text,
// its font and its layout flags: a label painted again is neither itemized nor shaped again. An
// entry holds the text's extents once measured, and its glyph runs once drawn (ShapedText). The
// painter forgets them all when its target lays text out differently.
//
// Two generations: texts found in either are kept; once the newer one holds `perGeneration`
// texts, the older one is dropped and the newer one becomes the older. So what a screen paints
// again and again stays, while what a long list showed once goes after a while, and memory stays
// bounded.

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>

#include <pango/pango.h>

#include "platform/ShapedText.h"

namespace platform {

class TextLayoutCache {
public:
    struct Entry {
        PangoRectangle logical{};  // the logical extents, in pango units
        int unknownGlyphs = 0;
        std::unique_ptr<ShapedText> shaped;  // null until the text is drawn
    };

    explicit TextLayoutCache(std::size_t perGeneration) : perGeneration_(perGeneration) {}

    // The entry kept under `key`, or null.
    Entry* find(const std::string& key) {
        if (auto found = newer_.find(key); found != newer_.end()) {
            return &found->second;
        }
        auto found = older_.find(key);
        if (found == older_.end()) {
            return nullptr;
        }
        Entry moved = std::move(found->second);
        older_.erase(found);
        return &keep(key, std::move(moved));
    }

    Entry& keep(const std::string& key, Entry entry) {
        if (newer_.size() >= perGeneration_) {
            older_ = std::move(newer_);
            newer_.clear();
        }
        return newer_.insert_or_assign(key, std::move(entry)).first->second;
    }

    void clear() {
        newer_.clear();
        older_.clear();
    }

private:
    using Generation = std::unordered_map<std::string, Entry>;
    std::size_t perGeneration_;
    Generation newer_;
    Generation older_;
};

}  // namespace platform
