#pragma once

// The practice screen's update function. Reactions by tag:
//
//   tag                       reaction
//   null, INIT                options back to their defaults (parts ticked, no time limit, every
//                             language, lesson and category in the use lists, "n/a" first in the
//                             lesson and category lists), any run destroyed, start page
//   BIT_BACK / BIT_NEXT       one filter page back / on
//   ROLLBACK                  leave the screen back along the traceback
//   START                     build the queue and show its first card; with no due card passing
//                             the filters the page stays and a box says all is done for today
//   ARR_BACK / ARR_NEXT       the card's page before / after (ARR_NEXT does LOAD_INPUT first)
//   LOAD_INPUT                the typed foreign word names the word on the article and verb pages
//   HINT                      pronunciation, hint text and picture show
//   EXIT                      the run ends, then INIT
//   ADD_WORD                  the typed known word goes into the answer list (the forced one
//                             while re-typing) with the id of the known-language word of exactly
//                             that text, or 0; an empty text adds nothing
//   REMOVE_WORD               the selected entry of that list goes
//   SUBMIT                    judge the answer (the forced one while re-typing)
//   CONTINUE                  act on the result
//   CORRECT / MINOR / WRONG   override the result, then CONTINUE
//   FINISH                    the arrows hidden, then ROLLBACK
// Any other tag is ignored.

inline constexpr const char* UPDATE_TAG_INIT = "INIT";

void practiceUpdate(const char* tag);
