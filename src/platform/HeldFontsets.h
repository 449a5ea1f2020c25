#pragma once

// Keeps the font sets a painter's texts were laid out with alive for as long as the painter keeps
// their font descriptions.
//
// pango keeps the last 256 font sets it loaded (one per description, language and target); a set
// pushed out of that list is made again at its next use, and making one sorts every installed
// font on two threads of its own, which the painting thread then waits for: a millisecond or
// more per size on an idle machine, many when the machine is busy. The program draws at about a
// hundred cell heights (the warm-up after start loads them all) in two languages of items, more
// than that list keeps, so without a hold every screen sorted fonts again for sizes loaded
// before. A set held here stays alive when pango lets it go: loading its description again finds
// its sorted fonts and its fonts still there.

#include <map>
#include <utility>

typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;
typedef struct _PangoFontDescription PangoFontDescription;
typedef struct _PangoFontset PangoFontset;
typedef struct _PangoLanguage PangoLanguage;

namespace platform {

class HeldFontsets {
public:
    HeldFontsets() = default;
    ~HeldFontsets();
    HeldFontsets(const HeldFontsets&) = delete;
    HeldFontsets& operator=(const HeldFontsets&) = delete;
    // Takes over what `other` holds (the descriptions it holds them for move with it).
    void takeFrom(HeldFontsets& other);

    // Holds the sets `layout` (laid out in `context` with `description`, which must outlive the
    // hold or be released with clear()) used for its items and the height of its empty lines.
    void holdFor(PangoContext* context, PangoLayout* layout, const PangoFontDescription* description);
    // Holds the set an empty line in `description` takes its height from, before any is laid out.
    void holdForEmptyLines(PangoContext* context, const PangoFontDescription* description);
    void clear();
    std::size_t size() const { return held_.size(); }

private:
    void hold(PangoContext* context, const PangoFontDescription* description, PangoLanguage* language);

    std::map<std::pair<const PangoFontDescription*, PangoLanguage*>, PangoFontset*> held_;
};

}  // namespace platform
