#pragma once

// Couples a foreign and a known language to a screen: it shows the flag picture of each and the
// keyboard picture of the language being typed, and activates the keyboard layout stored with
// that language whenever the user enters a field meant for it. Screens wire it up with focus
// functions (a foreign-word field switches to "FOREIGN", a known-word field to "KNOWN") and with
// special functions (a language selection changes the foreign or known language).
//
// The toolkit knows languages only by record id: the screen hands the switch a lookup that tells,
// for an id, the layout and the picture files of that language (model/ui offers the one reading
// the language table). A language is looked up whenever it is shown or switched to, so the switch
// never holds on to a record that may have gone.
//
//   call                                 pictures                      layout
//   setForeign(id), "FOREIGN" active     foreign flag and keyboard     the new language's
//   setForeign(id), otherwise            foreign flag                  unchanged
//   switchLanguage(target) again         nothing                       unchanged
//   switchLanguage(target), new target   keyboard of the target's      the target's, or the one
//                                        language (none without one)   active at start without one
//
// A missing picture file shows no picture; the layout is activated all the same.

#include <array>
#include <memory>
#include <string>

#include "gui/GuiBitmap.h"
#include "gui/GuiElement.h"

// What the switch needs to know of a language.
struct SwitchLanguage {
    std::string keyboardLocalID;  // the layout to type it in, eight hexadecimal digits
    std::string flagPicture;      // the path of its flag picture file
    std::string keyboardPicture;  // the path of its keyboard picture file
};
// Fills `found` for the language with that record id; false when there is none.
using SwitchLanguageLookup = bool (*)(unsigned languageId, SwitchLanguage& found);

class GuiLanguageSwitch : public GuiElement {
public:
    // Bits of the mode: what is shown.
    static constexpr char SHOW_KEYBOARD = 1;
    static constexpr char SHOW_KNOWN_FLAG = 2;
    static constexpr char SHOW_FOREIGN_FLAG = 4;

    // The targets of switchLanguage.
    static constexpr const char* FOREIGN = "FOREIGN";
    static constexpr const char* KNOWN = "KNOWN";

    // On every page, no languages, no pictures, nothing active; the keyboard picture is placed
    // at centre (500, 450), 400 x 100, the flags nowhere until placed. A null lookup knows no
    // language.
    GuiLanguageSwitch(char mode, SwitchLanguageLookup lookup);

    void render(const RECT& rc) override;
    bool click(int x, int y) override;
    bool unclick(int x, int y) override;
    bool hover(int x, int y) override;
    void reRender() override;

    // Choose the language by record id (0 for none). Nothing happens when it is already the one
    // chosen. Otherwise the flag is replaced (when shown), the keyboard picture and layout follow
    // when that language is the active one, and the update tag set for it is handed to the
    // current screen's update function at once, not through the queue.
    void setForeign(unsigned foreignId);
    void setKnown(unsigned knownId);
    // Makes "FOREIGN" or "KNOWN" the active language; nothing when it already is.
    void switchLanguage(const char* target);

    // Where each picture goes, by centre and size; a picture already shown moves there.
    void setKeyboardPosition(int centreX, int centreY, int width, int height);
    void setForeignFlagPosition(int centreX, int centreY, int width, int height);
    void setKnownFlagPosition(int centreX, int centreY, int width, int height);

    // The update tags for a change of the foreign / known language; null for none. The text must
    // outlive the switch (a literal).
    void setUpdateForeign(const char* tag) { updateForeign = tag; }
    void setUpdateKnown(const char* tag) { updateKnown = tag; }

    // Focus and special functions. `voidSwitch` is the switch; `target` one of FOREIGN and
    // KNOWN; `field` the GuiElement of an item list or selection field whose active entry's id
    // names the language.
    static void switchLanguage(const void* voidSwitch, const void* target);
    static void changeForeignLanguage(const void* voidSwitch, const void* field);
    static void changeKnownLanguage(const void* voidSwitch, const void* field);
    // The active id of an item list or selection field; 0 for any other element and for null.
    static unsigned evalLanguageId(const GuiElement* element);

    unsigned getForeignId() const { return foreignId; }
    unsigned getKnownId() const { return knownId; }
    // "FOREIGN", "KNOWN" or "" before the first switch.
    const std::string& getCurrentlyActive() const { return currentlyActive; }
    // The pictures shown; null where there is none.
    const GuiBitmap* keyboardPicture() const { return bitmapKeyboard.get(); }
    const GuiBitmap* foreignFlag() const { return bitmapForeignFlag.get(); }
    const GuiBitmap* knownFlag() const { return bitmapKnownFlag.get(); }

private:
    struct Placement {
        int centreX = 0;
        int centreY = 0;
        int width = 0;
        int height = 0;
    };
    // One of the two languages with what belongs to it.
    struct Side {
        unsigned& id;
        const char* name;  // FOREIGN or KNOWN
        char flagBit;
        std::unique_ptr<GuiBitmap>& flag;
        const Placement& flagPlace;
        const char* updateTag;
    };
    Side foreignSide() { return {foreignId, FOREIGN, SHOW_FOREIGN_FLAG, bitmapForeignFlag, foreignFlagPlace, updateForeign}; }
    Side knownSide() { return {knownId, KNOWN, SHOW_KNOWN_FLAG, bitmapKnownFlag, knownFlagPlace, updateKnown}; }

    // The language with that id, looked up now; false when there is none (or it has gone).
    bool lookUp(unsigned languageId, SwitchLanguage& found) const;
    void changeLanguage(const Side& side, unsigned languageId);
    // Shows the picture at `path` in `place` ("" or a missing file: none), repainting the place.
    static void replacePicture(std::unique_ptr<GuiBitmap>& picture, const std::string& path, const Placement& place);
    static void place(std::unique_ptr<GuiBitmap>& picture, Placement& stored, const Placement& wanted);
    bool shows(char bit) const { return (mode & bit) != 0; }
    // Keyboard, known flag, foreign flag: each when its mode bit is set and it exists, else null.
    std::array<GuiBitmap*, 3> shownPictures() const;

    char mode;
    SwitchLanguageLookup lookup;
    std::string currentlyActive;
    const char* updateForeign = nullptr;
    const char* updateKnown = nullptr;
    unsigned foreignId = 0;
    unsigned knownId = 0;
    std::unique_ptr<GuiBitmap> bitmapKeyboard;
    std::unique_ptr<GuiBitmap> bitmapForeignFlag;
    std::unique_ptr<GuiBitmap> bitmapKnownFlag;
    Placement keyboardPlace{500, 450, 400, 100};
    Placement foreignFlagPlace;
    Placement knownFlagPlace;
};
