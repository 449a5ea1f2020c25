#include "practice/dayTester.h"

#include <climits>
#include <ctime>
#include <fstream>

#include "model/Database.h"
#include "model/Flashcard.h"

namespace {

std::int32_t dayNumber(std::int32_t timestamp) {
    return timestamp / SECONDS_PER_DAY;
}

// The stored stamp; false when there is none (missing or cut short).
bool readTimestamp(std::int32_t& timestamp) {
    std::ifstream in(TIMESTAMP_FILE, std::ios::binary);
    unsigned char bytes[4];
    if (!in || !in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
        return false;
    }
    const std::uint32_t raw = bytes[0] | bytes[1] << 8 | static_cast<std::uint32_t>(bytes[2]) << 16 |
                              static_cast<std::uint32_t>(bytes[3]) << 24;
    timestamp = static_cast<std::int32_t>(raw);
    return true;
}

// A counter left alone for decades must not overflow.
std::int32_t oneDayCloser(std::int32_t counter) {
    return counter == INT32_MIN ? counter : counter - 1;
}

void lowerDueCounters() {
    for (Flashcard::DATAITERATOR it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        Flashcard* card = *it;
        card->set_primaryNextDue(oneDayCloser(card->get_primaryNextDue()), true);
        if (card->get_useInverted()) {
            card->set_invertedNextDue(oneDayCloser(card->get_invertedNextDue()), true);
        }
    }
}

}  // namespace

void testDay() {
    testDayAt(static_cast<std::int64_t>(std::time(nullptr)));
}

void testDayAt(std::int64_t now) {
    const auto stamp = static_cast<std::int32_t>(static_cast<std::uint32_t>(now));
    std::int32_t last = 0;
    if (!readTimestamp(last)) {
        writeTimestamp(stamp);
        return;
    }
    if (dayNumber(last) == dayNumber(stamp)) {
        return;
    }
    lowerDueCounters();
    // Saved at once: the stamp below records the roll-over as done, so counters that waited for
    // some later save would be lost when the program ends without one. Should the save fail, the
    // cards stay marked and go with the next save of their table.
    saveDatabaseExternal(1, D_FLASHCARD);
    writeTimestamp(stamp);
}

void writeTimestamp(std::int32_t timestamp) {
    std::ofstream out(TIMESTAMP_FILE, std::ios::binary | std::ios::trunc);
    if (!out) {
        return;
    }
    const auto raw = static_cast<std::uint32_t>(timestamp);
    const char bytes[4] = {static_cast<char>(raw & 0xFF), static_cast<char>((raw >> 8) & 0xFF),
                           static_cast<char>((raw >> 16) & 0xFF), static_cast<char>(raw >> 24)};
    out.write(bytes, sizeof bytes);
}
