#pragma once

// What the first visit of a screen would otherwise wait for, made ready once the start-up is done.
//
// Fonts: the first text the program draws at a size costs a few milliseconds: fontconfig sorts the
// installed fonts for that size, and every glyph is rendered for it. A screen draws a dozen sizes
// (each label is fitted to its box), so the first visit of each screen waited for that. Once the
// start-up is done, the window's idle time loads the program's font at every cell height the
// canvas is drawn at (the common box heights first), a size per slice, with the glyphs of the
// interface: a screen opened later finds them ready.

//
// Keyboard layouts: the first switch to a layout compiled its keymap (milliseconds); the layouts
// of the stored languages are compiled ahead on the keyboard's own thread.

namespace platform {
class CairoPainter;
class KeyboardLayouts;
}

// Leaves the warming to the window's idle time (gui/IdleWork.h); `painter` (the window's) must
// outlive it, as the window does until the state machine is reset at the end.
void warmFontSizesWhenIdle(platform::CairoPainter& painter);
// The layouts of the stored languages, loaded ahead (KeyboardLayouts::loadAhead).
void loadLanguageLayoutsAhead(platform::KeyboardLayouts& layouts);
// The synthesiser's thread (which lists its voices) started in idle time after the first frame:
// started with the database's load it took a core from the start on a two-core machine.
void warmSpeechWhenIdle();
