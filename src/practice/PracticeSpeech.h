#pragma once

// Hearing the word in practice: once an answer is judged, a speaker button (and F5) speaks the
// card's foreign word with its article in the voice of its language; with the setting "speak each
// word when judged" (resources/ProgramSettings, a check box on the start page) it is spoken at
// once. The button shows only for a language with a voice.

class State;

// Adds the speaker button of the judged pages and the setting's check box of the start page.
void addPracticeSpeech(State* state);
// After a judging: the button for the card shown, and the word spoken when the setting says so.
void answerJudged();
