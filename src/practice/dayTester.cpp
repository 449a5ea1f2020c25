#include "practice/dayTester.h"

#include <climits>
#include <ctime>
#include <fstream>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "base/FileTransaction.h"
#include "model/DataPaths.h"
#include "model/Database.h"
#include "model/Flashcard.h"

namespace {

std::int32_t dayNumber(std::int32_t timestamp) {
    return timestamp / SECONDS_PER_DAY;
}

// The stored stamp; false when there is none (missing or cut short).
bool readTimestamp(std::int32_t& timestamp) {
    FileTransaction::finishPendingWork();
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

struct DueCounters {
    unsigned card;
    std::int32_t primary;
    std::int32_t inverted;
};

// Lowers every card's counters by one day and returns them as they were.
std::vector<DueCounters> lowerDueCounters() {
    std::vector<DueCounters> before;
    for (Flashcard::DATAITERATOR it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        Flashcard* card = *it;
        before.push_back(DueCounters{card->getId(), card->get_primaryNextDue(), card->get_invertedNextDue()});
        card->set_primaryNextDue(oneDayCloser(card->get_primaryNextDue()), true);
        if (card->get_useInverted()) {
            card->set_invertedNextDue(oneDayCloser(card->get_invertedNextDue()), true);
        }
    }
    return before;
}

// Back to the counters the files still hold, so that no later save of the cards stores a
// roll-over that the stamp does not record (the next start would lower them a second time).
void restoreDueCounters(const std::vector<DueCounters>& before) {
    for (const DueCounters& counters : before) {
        if (Flashcard* card = Flashcard::getById(counters.card)) {
            card->set_primaryNextDue(counters.primary, true);
            card->set_invertedNextDue(counters.inverted, true);
        }
    }
}

bool storeTimestamp(std::int32_t timestamp) {
    const auto raw = static_cast<std::uint32_t>(timestamp);
    const char bytes[4] = {static_cast<char>(raw & 0xFF), static_cast<char>((raw >> 8) & 0xFF),
                           static_cast<char>((raw >> 16) & 0xFF), static_cast<char>(raw >> 24)};
    return replaceFile(TIMESTAMP_FILE, std::string_view(bytes, sizeof bytes));
}

// The lowered counters and the new stamp reach the disk as one unit: a crash at any moment leaves
// either both (the next start sees today's stamp and lowers nothing) or neither (it lowers the
// old counters once). A failed save changes nothing, here or on disk.
void rollOver(std::int32_t stamp) {
    const std::vector<DueCounters> before = lowerDueCounters();
    FileTransaction unit(TRANSACTION_JOURNAL);
    const bool staged = saveDatabaseExternal(1, D_FLASHCARD) == 0 && storeTimestamp(stamp);
    if (!staged || unit.commit() == FileTransaction::Outcome::NOTHING_CHANGED) {
        restoreDueCounters(before);
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
    rollOver(stamp);
}

void writeTimestamp(std::int32_t timestamp) {
    storeTimestamp(timestamp);
}
