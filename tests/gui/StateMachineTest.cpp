#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gui/support/ProbeElement.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::Held;
using mernolex::test::ProbeElement;
using mernolex::test::ScreenTest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> journal;

void logUpdate(const char* tag) { journal.push_back(std::string("update ") + tag); }
void logAlive() { journal.push_back("alive"); }
void logFocusFunc(const void* tag) { journal.push_back(std::string("focus func ") + static_cast<const char*>(tag)); }

// Queues a follow-up while the first update is being delivered.
void chainUpdate(const char* tag) {
    logUpdate(tag);
    if (std::strcmp(tag, "FIRST") == 0) {
        addUpdate("LATER", curState);
    }
}

class StateMachineTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        journal.clear();
    }

    ProbeElement* probe(State* s, const std::string& name, int x, int y, long conditions = -1) {
        return addElementToState(s, new ProbeElement(name, journal, x, y, 50, 20, conditions));
    }

    State* retained(const wchar_t* description, int mode = TRACEBACK_LINE) {
        State* s = createEmptyState(description);
        s->traceback = mode;
        return s;
    }

    // Switches to `s` as a button would, after one message.
    void goTo(State* s) {
        switchToState(s);
        updateStateStatus();
    }
    void goBack() {
        rollbackFlag = true;
        updateStateStatus();
    }

    std::vector<std::string> take() {
        std::vector<std::string> taken;
        taken.swap(journal);
        return taken;
    }
};

}  // namespace

TEST_F(StateMachineTest, TabWalksTheRingInTheOrderOfAddingAndSkipsHiddenElements) {
    State* s = createEmptyState(L"S");
    ProbeElement* a = probe(s, "A", 10, 100, 1);
    ProbeElement* b = probe(s, "B", 100, 100, 2);
    ProbeElement* c = probe(s, "C", 200, 100, 1 | 2);
    show(s);
    EXPECT_EQ(a, s->focus);
    EXPECT_TRUE(a->getFocus());
    take();

    type(L"\t");
    EXPECT_THAT(take(), ElementsAre("A:focus-", "B:focus+"));
    type(L"\t\t");
    EXPECT_EQ(a, s->focus);
    EXPECT_THAT(take(), ElementsAre("B:focus-", "C:focus+", "C:focus-", "A:focus+"));

    // On page 1, B does not take part and Tab passes it by.
    nextCondition = 1;
    updateStateStatus();
    type(L"\t\t");
    EXPECT_THAT(take(), ElementsAre("A:focus-", "C:focus+", "C:focus-", "A:focus+"));
    EXPECT_FALSE(b->getFocus());
    EXPECT_FALSE(c->getFocus());
}

TEST_F(StateMachineTest, TabWithoutAnyElementTakingPartLeavesTheFocusWhereItIs) {
    State* s = createEmptyState(L"S");
    ProbeElement* a = probe(s, "A", 10, 100, 2);
    probe(s, "B", 100, 100, 2);
    show(s);
    take();

    nextCondition = 1;  // neither takes part on page 1
    updateStateStatus();
    type(L"\t");
    paint();  // the paint's own focus check must end as well
    EXPECT_EQ(a, s->focus);
    EXPECT_TRUE(a->getFocus());
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(StateMachineTest, APageSwitchMovesTheFocusToAnElementOfTheNewPageAndRepaintsAll) {
    State* s = createEmptyState(L"S");
    probe(s, "A", 10, 100, 1);
    ProbeElement* b = probe(s, "B", 100, 100, 2);
    show(s);
    take();
    State* other = createEmptyState(L"Other");

    // A page switch requested with a screen switch goes first; the screen follows a message later.
    nextCondition = 2;
    switchToState(other);
    updateStateStatus();
    EXPECT_EQ(s, curState);
    EXPECT_EQ(2, s->condition);
    EXPECT_EQ(b, s->focus);
    EXPECT_THAT(take(), ElementsAre("A:focus-", "B:focus+"));
    EXPECT_EQ((platform::PixelRect{0, 0, 1000, 500}), window->updateRect());
    EXPECT_TRUE(paint());
    EXPECT_TRUE(painted(L"B"));
    EXPECT_FALSE(painted(L"A"));

    updateStateStatus();
    EXPECT_EQ(other, curState);
}

TEST_F(StateMachineTest, UpdatesQueuedDuringAMessageArriveAfterItOldestFirst) {
    State* s = createEmptyState(L"S");
    s->updateFunc = chainUpdate;
    ProbeElement* a = probe(s, "A", 10, 100);
    a->onClick = [](ProbeElement&) {
        addUpdate("FIRST", curState);
        addUpdate("SECOND", curState);
    };
    show(s);
    take();

    press(20, 110);
    // LATER was queued while FIRST was delivered: it waits for the next message.
    EXPECT_THAT(take(), ElementsAre("A:click", "update FIRST", "update SECOND"));
    release(20, 110);
    EXPECT_THAT(take(), ElementsAre("A:unclick", "update LATER"));

    // A screen without an update function simply loses its updates.
    State* silent = createEmptyState(L"Silent");
    goTo(silent);
    take();
    addUpdate("IGNORED", silent);
    updateStateStatus();
    EXPECT_EQ(nullptr, silent->updateQueue);
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(StateMachineTest, TheAliveFunctionRunsAfterMessagesThatSwitchNothing) {
    State* s = createEmptyState(L"S");
    s->aliveFunc = logAlive;
    show(s);
    take();
    move(5, 5);
    EXPECT_THAT(take(), ElementsAre("alive"));
    nextCondition = 4;
    updateStateStatus();
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(StateMachineTest, RetainedScreensFormATraceWalkedBackByTheBackStep) {
    State* one = retained(L"One");
    State* two = retained(L"Two");
    State* three = retained(L"Three");
    probe(one, "1", 10, 100);
    probe(two, "2", 10, 100);
    probe(three, "3", 10, 100);
    show(one);
    goTo(two);
    goTo(three);
    EXPECT_EQ(L" > One > Two > Three", three->trace);
    EXPECT_EQ(two, three->previous);
    repaintAll();
    EXPECT_TRUE(painted(L" > One > Two > Three"));
    take();

    goBack();
    EXPECT_EQ(two, curState);
    EXPECT_EQ(nullptr, nextState);
    EXPECT_THAT(take(), ElementsAre("3:destroyed"));
    EXPECT_TRUE(painted(L"3"));  // nothing painted since
    repaintAll();
    EXPECT_TRUE(painted(L" > One > Two"));
    EXPECT_FALSE(painted(L"3"));

    // The line is drawn only for mode 1, and for mode 3 on page 1 only.
    two->traceback = TRACEBACK_NO_LINE;
    repaintAll();
    EXPECT_FALSE(painted(L" > One > Two"));
    two->traceback = TRACEBACK_FIRST_PAGE;
    two->condition = 1;
    repaintAll();
    EXPECT_TRUE(painted(L" > One > Two"));
    two->condition = 2;
    repaintAll();
    EXPECT_FALSE(painted(L" > One > Two"));
}

TEST_F(StateMachineTest, AScreenNotRetainedEndsTheChainAndTheNextRetainedOneStartsANewTrace) {
    State* one = retained(L"One");
    State* two = retained(L"Two");
    State* three = createEmptyState(L"Three");
    State* four = retained(L"Four");
    probe(one, "1", 10, 100);
    probe(two, "2", 10, 100);
    probe(three, "3", 10, 100);
    probe(four, "4", 10, 100);
    show(one);
    goTo(two);
    take();

    goTo(three);
    EXPECT_EQ(three, curState);
    EXPECT_THAT(take(), ElementsAre("1:destroyed", "2:destroyed"));

    goTo(four);
    EXPECT_THAT(take(), ElementsAre("3:destroyed"));
    EXPECT_EQ(nullptr, four->previous);
    EXPECT_EQ(L" > Four", four->trace);
}

TEST_F(StateMachineTest, GoingBackFromTheFirstScreenReentersItAsItWas) {
    State* first = retained(L"Welcome");
    probe(first, "A", 10, 100);
    ProbeElement* b = probe(first, "B", 100, 100);
    show(first);
    type(L"\t");
    setKL("00000407");
    take();

    goBack();
    EXPECT_EQ(first, curState);
    EXPECT_EQ(b, first->focus);
    EXPECT_THAT(take(), IsEmpty());
    // Never left forward, it has no layout of its own: the active one stays.
    EXPECT_EQ("00000407", window->keyboardLayouts().activeLayout());
}

TEST_F(StateMachineTest, EachRetainedScreenGetsBackTheLayoutItWasLeftWith) {
    ASSERT_EQ("00000409", std::string(preApplicationKeyboard));
    State* one = retained(L"One");
    State* two = retained(L"Two");
    show(one);
    setKL("00000419");
    goTo(two);
    EXPECT_STREQ("00000419", one->keyboardTracebackLayout);
    EXPECT_EQ("00000409", window->keyboardLayouts().activeLayout());

    setKL("00000407");
    goBack();
    EXPECT_EQ("00000419", window->keyboardLayouts().activeLayout());
}

TEST_F(StateMachineTest, ABackStepRequestedWithAScreenSwitchWinsAndTheOtherScreenIsDestroyed) {
    State* one = retained(L"One");
    State* two = retained(L"Two");
    State* unwanted = createEmptyState(L"Unwanted");
    probe(unwanted, "U", 10, 10);
    show(one);
    goTo(two);
    take();

    switchToState(unwanted);
    rollbackFlag = true;
    updateStateStatus();
    EXPECT_EQ(one, curState);
    EXPECT_FALSE(rollbackFlag);
    EXPECT_THAT(take(), ElementsAre("U:destroyed"));

    // Likewise a screen requested twice in one message: the first request is dropped.
    State* first = createEmptyState(L"First");
    probe(first, "F", 10, 10);
    take();
    State* second = createEmptyState(L"Second");
    switchToState(first);
    switchToState(second);
    EXPECT_THAT(take(), ElementsAre("F:destroyed"));
    updateStateStatus();
    EXPECT_EQ(second, curState);
}

TEST_F(StateMachineTest, NothingPointsIntoAScreenOnceItIsDestroyed) {
    State* list = retained(L"List");
    State* editor = retained(L"Editor");
    show(list);
    // The editor is built with the conditional adders, then shown and left again.
    setConditional(editor, 2);
    addConditionElementToState(new ProbeElement("E", journal, 10, 100));
    goTo(editor);
    goBack();
    EXPECT_EQ(list, curState);

    // A later builder that forgets its own setConditional adds to nothing, not to freed memory.
    EXPECT_EQ(nullptr, getConditionalState());
    EXPECT_EQ(nullptr, addConditionElementToState(new ProbeElement("LOST", journal, 10, 100)));
    EXPECT_EQ(nullptr, addConTagedElTState(new ProbeElement("LOST", journal, 10, 100), "TAG"));

    // A screen destroyed while it is built and waits to be shown leaves no pending switch and
    // no pending focus function behind.
    State* pending = createEmptyState(L"Pending");
    setConditional(pending, 1);
    setFocusFunc(logFocusFunc, "PENDING");
    switchToState(pending);
    deleteState(pending);
    EXPECT_EQ(nullptr, nextState);
    EXPECT_EQ(nullptr, getConditionalState());
    updateStateStatus();
    EXPECT_EQ(list, curState);
    probe(list, "A", 10, 100);
    probe(list, "B", 100, 100);
    take();
    type(L"\t");
    EXPECT_THAT(take(), ElementsAre("A:focus-", "B:focus+"));
}

TEST_F(StateMachineTest, SwitchingToTheCurrentScreenKeepsIt) {
    State* s = retained(L"S");
    probe(s, "A", 10, 10);
    show(s);
    take();
    goTo(s);
    EXPECT_EQ(s, curState);
    EXPECT_EQ(nullptr, s->previous);
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(StateMachineTest, ASuperiorElementCapturesAllInputAndIsDrawnOnTop) {
    State* s = createEmptyState(L"S");
    ProbeElement* list = probe(s, "LIST", 10, 100);
    ProbeElement* other = probe(s, "OTHER", 200, 100);
    ProbeElement* picture = addElementToState(s, new ProbeElement("PICTURE", journal, 400, 100, 50, 20, -1, true));
    show(s);
    EXPECT_TRUE(painted(L"PICTURE"));

    list->maintainSuperiorFocus(true);
    // Until the next paint the element is only a candidate.
    press(210, 110);
    EXPECT_EQ(1, other->presses);
    repaintAll();
    EXPECT_EQ(list, s->superior);
    EXPECT_EQ(L"LIST", paintedTexts().back());  // a second time, on top
    repaintAll();
    EXPECT_TRUE(painted(L"OTHER"));
    EXPECT_FALSE(painted(L"PICTURE"));  // intense-only elements wait while it is open

    take();
    click(210, 110);
    move(410, 110);
    type(L"x");
    key(platform::key::Down);
    EXPECT_EQ(1, other->presses);
    EXPECT_EQ(0, other->moves + picture->moves);
    EXPECT_EQ(2, list->presses);
    EXPECT_EQ(1, list->moves);
    EXPECT_THAT(take(), ElementsAre("LIST:char 120", "LIST:key 40"));

    list->maintainSuperiorFocus(false);
    EXPECT_EQ(nullptr, s->superior);
    click(210, 110);
    EXPECT_EQ(2, other->presses);
}

TEST_F(StateMachineTest, ASuperiorClosedBeforeThePaintNeverCaptures) {
    State* s = createEmptyState(L"S");
    ProbeElement* list = probe(s, "LIST", 10, 100);
    ProbeElement* other = probe(s, "OTHER", 200, 100);
    show(s);
    list->maintainSuperiorFocus(true);
    list->maintainSuperiorFocus(false);
    repaintAll();
    EXPECT_EQ(nullptr, s->superior);
    click(210, 110);
    EXPECT_EQ(1, other->presses);
}

TEST_F(StateMachineTest, TheDragRectangleFollowsThePointerInsideTheWindowAndGoesOnRelease) {
    State* s = createEmptyState(L"S");
    show(s);
    auto outlines = [this] {
        std::vector<platform::PixelRect> found;
        for (const platform::DrawnRect& r : window->lastPaint()->rects) {
            if (!r.filled) {
                found.push_back(r.rect);
            }
        }
        return found;
    };

    press(300, 200);
    drag(200, 150);
    ASSERT_TRUE(paint());
    EXPECT_THAT(outlines(), ElementsAre(platform::PixelRect{200, 150, 300, 200}));

    leave();
    ASSERT_TRUE(paint());
    EXPECT_THAT(outlines(), IsEmpty());
    EXPECT_EQ((platform::PixelRect{200, 150, 300, 200}), window->lastPaint()->area);

    drag(350, 260);
    ASSERT_TRUE(paint());
    EXPECT_THAT(outlines(), ElementsAre(platform::PixelRect{300, 200, 350, 260}));

    release(350, 260);
    ASSERT_TRUE(paint());
    EXPECT_THAT(outlines(), IsEmpty());
    EXPECT_EQ((platform::PixelRect{300, 200, 350, 260}), window->lastPaint()->area);
}

TEST_F(StateMachineTest, PointerEventsGoTopmostFirstToTheElementsTakingPart) {
    State* s = createEmptyState(L"S");
    ProbeElement* below = probe(s, "BELOW", 100, 100);
    ProbeElement* above = probe(s, "ABOVE", 120, 105);
    ProbeElement* hidden = probe(s, "HIDDEN", 100, 100, 2);
    below->takesFocusOnClick = true;
    above->takesFocusOnClick = true;
    s->condition = 1;
    show(s);
    take();

    click(130, 110);
    // Both ask for the focus during one click; the one asked first (drawn on top) keeps it.
    EXPECT_THAT(take(), ElementsAre("ABOVE:click", "BELOW:focus-", "BELOW:click", "ABOVE:unclick",
                                    "BELOW:unclick"));
    EXPECT_EQ(above, s->focus);
    EXPECT_TRUE(above->getFocus());
    EXPECT_FALSE(below->getFocus());
    EXPECT_EQ(0, hidden->presses + hidden->releases);

    // The next click may move the focus again.
    click(101, 101);
    EXPECT_EQ(below, s->focus);
}

TEST_F(StateMachineTest, AnElementMayReleaseElementsWhileAClickIsHandedOut) {
    State* s = createEmptyState(L"S");
    ProbeElement* bottom = probe(s, "BOTTOM", 100, 100);
    ProbeElement* middle = probe(s, "MIDDLE", 100, 100);
    ProbeElement* top = probe(s, "TOP", 100, 100);
    // TOP removes MIDDLE, which must then hear nothing more; MIDDLE would remove itself.
    top->onClick = [](ProbeElement&) { releaseElementFromState(curState, "MIDDLE"); };
    middle->onClick = [](ProbeElement& self) {
        ProbeElement* me = &self;
        releaseElementFromState(curState, &me);
    };
    top->setTag("TOP");
    middle->setTag("MIDDLE");
    show(s);
    take();

    press(110, 110);
    EXPECT_THAT(take(), ElementsAre("TOP:click", "BOTTOM:click", "MIDDLE:destroyed"));
    EXPECT_EQ(nullptr, getElementByTag("MIDDLE", s));
    EXPECT_EQ(top, s->lastElement);
    EXPECT_EQ(bottom, top->prevElement);

    // An element removing itself is gone after the hand-out; the rest carry on.
    bottom->onClick = top->onClick = [](ProbeElement& self) {
        ProbeElement* me = &self;
        releaseElementFromState(curState, &me);
    };
    press(110, 110);
    EXPECT_THAT(take(), ElementsAre("TOP:click", "BOTTOM:click", "TOP:destroyed", "BOTTOM:destroyed"));
    EXPECT_EQ(nullptr, s->firstElement);
    EXPECT_EQ(nullptr, s->focus);
}

TEST_F(StateMachineTest, KeysWithoutCharacterFoldShiftAndCapsLockAndGoToTheFocus) {
    State* s = createEmptyState(L"S");
    probe(s, "A", 10, 10);
    show(s);
    take();
    key(platform::key::Left);
    key(platform::key::Left, Held::Shift);
    key(platform::key::Left, Held::None, true);
    key(platform::key::Left, Held::Shift, true);
    key(platform::key::Right, Held::ShiftCtrl);
    key(platform::key::Shift, Held::Shift);
    key(platform::key::Control, Held::Ctrl);
    key(platform::key::Capital, Held::None, true);
    type(L"\r");
    EXPECT_THAT(take(), ElementsAre("A:key 37", "A:key 37 shift", "A:key 37 shift", "A:key 37",
                                    "A:key 39 shift ctrl", "A:char 13"));

    // A screen without focusable elements ignores keys.
    goTo(createEmptyState(L"Empty"));
    type(L"\t a");
    key(platform::key::Left);
    EXPECT_THAT(take(), ElementsAre("A:destroyed"));
}

TEST_F(StateMachineTest, ReleasingTheFocusedElementHandsTheFocusOn) {
    State* s = createEmptyState(L"S");
    ProbeElement* a = probe(s, "A", 10, 10);
    ProbeElement* b = probe(s, "B", 100, 10);
    ProbeElement* c = probe(s, "C", 200, 10);
    show(s);
    a->maintainSuperiorFocus(true);
    paint();
    take();

    ProbeElement* target = a;
    releaseElementFromState(s, &target);
    EXPECT_EQ(nullptr, target);
    EXPECT_EQ(b, s->focus);
    EXPECT_EQ(nullptr, s->superior);
    EXPECT_THAT(take(), ElementsAre("B:focus+", "A:destroyed"));

    // The ring closes over the gap: B, C, B ...
    type(L"\t\t");
    EXPECT_THAT(take(), ElementsAre("B:focus-", "C:focus+", "C:focus-", "B:focus+"));

    // An element of another screen is not this screen's to destroy.
    State* other = createEmptyState(L"Other");
    ProbeElement* stranger = probe(other, "X", 10, 10);
    target = stranger;
    releaseElementFromState(s, &target);
    EXPECT_EQ(stranger, target);
    EXPECT_EQ(stranger, other->firstElement);
    deleteState(other);

    target = c;
    releaseElementFromState(s, &target);
    target = b;
    releaseElementFromState(s, &target);
    EXPECT_EQ(nullptr, s->focus);
    EXPECT_EQ(nullptr, s->firstElement);
    EXPECT_EQ(nullptr, s->lastElement);
}

TEST_F(StateMachineTest, PendingFocusFunctionsGoToTheElementsAddedWhileSet) {
    static const char* const tagA = "A";
    static const char* const tagB = "B";
    State* s = createEmptyState(L"S");
    probe(s, "FIRST", 10, 10);  // focused when added: no focus function yet
    setFocusFunc(logFocusFunc, tagA);
    ProbeElement* a = probe(s, "A", 100, 10);
    setFocusFunc(logFocusFunc, tagB);
    ProbeElement* b = probe(s, "B", 200, 10);
    unsetFocusFuncs();
    ProbeElement* plain = probe(s, "PLAIN", 300, 10);
    a->takesFocusOnClick = true;
    show(s);
    take();

    type(L"\t\t\t");
    EXPECT_THAT(take(), ElementsAre("FIRST:focus-", "A:focus+", "focus func A", "A:focus-", "B:focus+",
                                    "focus func B", "B:focus-", "PLAIN:focus+"));
    click(110, 15);
    EXPECT_THAT(take(), ElementsAre("A:click", "focus func A", "PLAIN:focus-", "A:unclick"));
    EXPECT_FALSE(plain->getFocus());
    EXPECT_TRUE(b != nullptr);

    // A screen switch clears whatever is pending.
    setFocusFunc(logAlive);
    goTo(createEmptyState(L"Next"));
    probe(curState, "LATE", 10, 100);
    probe(curState, "LATER", 100, 100);
    take();
    type(L"\t");
    EXPECT_THAT(take(), ElementsAre("LATE:focus-", "LATER:focus+"));
}

TEST_F(StateMachineTest, TagsFindElementsAndCopiedTagsOutliveTheirBuffer) {
    State* s = createEmptyState(L"S");
    setConditional(s, 4);
    char buffer[16] = "ITEM_7";
    ProbeElement* copied = addConTagedElTState(new ProbeElement("C", journal, 0, 0), buffer);
    ProbeElement* stored = addConTagedElTState(new ProbeElement("S", journal, 0, 0), "SAVE");
    std::strcpy(buffer, "OTHER");
    EXPECT_EQ(copied, getElementByTag("ITEM_7", s));
    EXPECT_EQ(stored, getElementByTag<ProbeElement>("SAVE", s));
    EXPECT_EQ(nullptr, getElementByTag("OTHER", s));
    EXPECT_EQ(4, copied->getConditions());
    EXPECT_EQ(4, getConditional());

    // Adding to no screen destroys the element instead of losing it.
    setConditional(nullptr, 1);
    take();
    EXPECT_EQ(nullptr, addConditionElementToState(new ProbeElement("LOST", journal, 0, 0)));
    EXPECT_THAT(take(), ElementsAre("LOST:destroyed"));
    deleteState(s);
}

TEST_F(StateMachineTest, TheEndOfTheProgramTellsTheCurrentScreen) {
    State* s = createEmptyState(L"S");
    s->updateFunc = logUpdate;
    show(s);
    killState();
    EXPECT_THAT(take(), ElementsAre("update FORCED_EXIT"));
    EXPECT_EQ(s, curState);
}

TEST_F(StateMachineTest, OnlyElementsOverlappingTheUpdateAreaPaint) {
    State* s = createEmptyState(L"S");
    probe(s, "TOUCHING", 100, 0);
    probe(s, "OVERLAPPING", 99, 30);
    addElementToState(s, new ProbeElement("PICTURE", journal, 0, 0, 50, 20, -1, true));
    show(s);
    framewRepaint(0, 0, 100, 100, false, false);
    ASSERT_TRUE(paint());
    EXPECT_THAT(paintedTexts(), ElementsAre(L"OVERLAPPING"));
}
