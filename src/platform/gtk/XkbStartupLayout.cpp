#include "platform/gtk/XkbStartupLayout.h"

#include <vector>

#include "platform/XkbKeyboardLayouts.h"
#include "platform/XkbLayoutTable.h"

// After the program's headers: Xlib defines macros (None, Success) that clash with their names.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::gtk {

namespace {

// The property's fields: rules, model, layouts, variants, options.
constexpr std::size_t LayoutsField = 2;
constexpr std::size_t VariantsField = 3;

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::string_view trimmed(std::string_view text) {
    const char* blanks = " \t";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::optional<std::string> identifierFromRulesNames(std::string_view rulesNames,
                                                    unsigned group) {
    std::vector<std::string_view> fields = split(rulesNames, '\0');
    if (fields.size() <= LayoutsField) {
        return std::nullopt;
    }
    std::vector<std::string_view> layouts = split(fields[LayoutsField], ',');
    std::vector<std::string_view> variants;
    if (fields.size() > VariantsField) {
        variants = split(fields[VariantsField], ',');
    }
    const std::size_t index = group % layouts.size();
    std::string_view layout = trimmed(layouts[index]);
    if (layout.empty()) {
        return std::nullopt;
    }
    std::string_view variant = index < variants.size() ? trimmed(variants[index]) : "";
    return identifierForXkb(layout, variant);
}

std::string readStartupLayout(Display* display) {
    const std::string fallback = XkbKeyboardLayouts::DefaultIdentifier;
    if (display == nullptr) {
        return fallback;
    }
    Atom property = XInternAtom(display, "_XKB_RULES_NAMES", True);
    if (property == None) {
        return fallback;
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    // 1024 32-bit units are far more than any layout configuration needs.
    int status = XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1024, False,
                                    XA_STRING, &type, &format, &count, &remaining, &data);
    std::string names;
    if (status == Success && data != nullptr && type == XA_STRING && format == 8) {
        names.assign(reinterpret_cast<const char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    XkbStateRec state{};
    unsigned group = XkbGetState(display, XkbUseCoreKbd, &state) == Success ? state.group : 0;
    return identifierFromRulesNames(names, group).value_or(fallback);
}

}  // namespace platform::gtk
