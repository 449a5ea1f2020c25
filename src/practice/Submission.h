#pragma once

// Judging a whole submission of the card shown: its word (primary or inverted), its article and
// its verb table, as far as they are asked (practiceRun.headParts). A minor error in the word with
// a right article and table stays minor; any wrong article or verb cell makes the answer wrong.
//
// A normal submission fills the result pages with the solutions (the correct word or known words,
// the article, a table of the correct forms) and makes the answer read-only. A forced one
// (re-typing after a wrong answer) judges the forced pages' elements and shows no solutions; they
// stay editable, so the learner can try again.

class Practice_container;

// The result code (AnswerJudging.h).
int checkSubmission(const Practice_container& card, bool forced);
