#pragma once

#include <cstdint>

// The daily roll-over of the flashcards' due counters. A direction of a card is due when its
// counter is 0 or below; when the program starts on a new UTC day, every counter drops by one
// (the inverted one only for cards practised inverted). Exactly one step is taken however many
// days passed, and any change of the day counts, also to an earlier one (a clock set back).
//
// The day stamp, Data/timestamp.dat:
//   offset 0   size 4   signed seconds since 1970-01-01 00:00 UTC of the last roll-over (or of
//                       the first run), little-endian; nothing else
// A file that is missing or shorter than 4 bytes counts as a first run. The day number of a
// stamp is seconds / 86400, truncated: days begin at midnight UTC.

inline constexpr const char* TIMESTAMP_FILE = "Data/timestamp.dat";
inline constexpr std::int32_t SECONDS_PER_DAY = 86400;

// Runs the daily check with the current time.
void testDay();

// The daily check as of `now` (seconds since 1970, taken as the 32-bit value the stamp holds). On
// a new day the counters are lowered and saved together with the new stamp, as one unit: after a
// crash at any moment the next start finds both or neither, so no day is skipped and none
// counted twice. If that save fails, the counters go back to what the files hold (silently; the
// next start tries again). A first run writes the stamp and changes nothing; a second check on
// the same day does nothing.
void testDayAt(std::int64_t now);

// Makes `timestamp` the whole content of the day stamp, replaced whole and durably; a failure is
// silent.
void writeTimestamp(std::int32_t timestamp);
