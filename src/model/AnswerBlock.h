#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "db/OrnQL_Template.h"
#include "model/Answer.h"

// The answer history: every judged answer of the practice runs, packed many to a record. One
// record per answer would cost a header of 64 bytes and, ten records to a file, a file for every
// ten answers; a block holds up to MAX_ANSWERS answers (fewer when it reaches MAX_BYTES or holds
// MAX_LAYOUTS verb grids) in the compact form below, so a million answers load from under a
// thousand files. New answers go into the block with the highest id until it is full, then into
// a new one; a saved block changes again only when a card it names is deleted.
//
// Nothing depends on this table, and its records depend on nothing: the card, language and lesson
// of an answer are plain ids. Deleting a card (the cascade reaches every table) flags its answers
// cardDeleted; the flags are set in one pass over the history before the next answer is recorded,
// before the table is saved and before the history is read, so that a cascade deleting thousands
// of cards costs one pass, and a new card taking a freed id never inherits an old card's answers.
// The table is saved with every save of the flashcard table, so those flags reach the files in
// the same unit as the deletion.
//
// Stored fields, after the record header (numbers little-endian):
//   offset  size  field
//   0       4     N, the number of answers
//   4       4     B, the bytes of the answers
//   8       2     K, the number of verb grids
//   10      ...   K verb grids: T (2), P (2), T tense ids (4 each), P person ids (4 each);
//                 1 <= T, P <= 4096
//   ...     B     N answers, each:
//     0     4     card id
//     4     4     language id (the card's foreign language)
//     8     4     lesson id (0: none)
//     12    4     UTC day number (signed)
//     16    4     bits 0-16 second of the day (below 86400), 17-18 verdict (0 correct, 1 minor
//                 error, 2 wrong), 19 inverted direction, 20 hint used, 21 forced re-typing,
//                 22 first try in its run, 23-24 article (0 not asked, 1 right, 2 wrong),
//                 25 verb table asked, 26 card deleted; 27-31 zero
//     20    2     seconds counted (at most 65535)
//     22    2     level before (at most 65535)
//     24    2     level after (at most 65535)
//     26    4     article id                  only when the article was asked
//     ...   1     index of its verb grid      only when a verb table was asked, then
//     ...   n     the right cells, one bit each (lowest bit first), tense by tense, n = (T*P+7)/8
// A count, a length, a grid or a field out of its range is damage (Damaged<OrnQLException_Template>).
class AnswerBlock : public OrnQL_Template<AnswerBlock> {
public:
    static constexpr unsigned MAX_ANSWERS = 128;
    static constexpr std::size_t MAX_BYTES = 16384;
    static constexpr unsigned MAX_LAYOUTS = 255;
    static constexpr std::uint32_t MAX_GRID_SIDE = 4096;
    static constexpr std::size_t FIXED_BYTES = 26;

    // One stored answer, read in place (valid until its block changes).
    class View {
    public:
        View(const AnswerBlock& block, const std::uint8_t* bytes) : block(&block), at(bytes) {}

        std::uint32_t card() const { return u32(0); }
        std::uint32_t language() const { return u32(4); }
        std::uint32_t lesson() const { return u32(8); }
        std::int32_t day() const { return static_cast<std::int32_t>(u32(12)); }
        std::uint32_t secondOfDay() const { return flags() & 0x1FFFFu; }
        Verdict verdict() const { return static_cast<Verdict>((flags() >> 17) & 3u); }
        bool inverted() const { return (flags() >> 19) & 1u; }
        bool hintUsed() const { return (flags() >> 20) & 1u; }
        bool forcedRetyping() const { return (flags() >> 21) & 1u; }
        bool firstTry() const { return (flags() >> 22) & 1u; }
        ArticleJudgement article() const { return static_cast<ArticleJudgement>((flags() >> 23) & 3u); }
        bool verbAsked() const { return (flags() >> 25) & 1u; }
        bool cardDeleted() const { return (flags() >> 26) & 1u; }
        std::uint32_t secondsCounted() const { return u16(20); }
        std::uint32_t levelBefore() const { return u16(22); }
        std::uint32_t levelAfter() const { return u16(24); }
        std::uint32_t articleId() const { return article() == ArticleJudgement::NotAsked ? 0 : u32(FIXED_BYTES); }
        // The verb grid; null when no verb table was asked.
        const VerbLayout* verbLayout() const;
        // Whether cell (tense index t, person index p) of the grid was right.
        bool cellRight(std::size_t t, std::size_t p) const;
        // The bits of the cells (see the format), or null when no verb table was asked.
        const std::uint8_t* cellBits() const { return verbAsked() ? at + verbOffset() + 1 : nullptr; }
        // The whole answer, copied out.
        Answer toAnswer() const;

    private:
        std::uint32_t flags() const { return u32(16); }
        std::uint32_t u32(std::size_t offset) const {
            std::uint32_t value;
            std::memcpy(&value, at + offset, sizeof value);
            return value;
        }
        std::uint32_t u16(std::size_t offset) const {
            std::uint16_t value;
            std::memcpy(&value, at + offset, sizeof value);
            return value;
        }
        std::size_t verbOffset() const {
            return FIXED_BYTES + (article() == ArticleJudgement::NotAsked ? 0 : 4);
        }

        const AnswerBlock* block;
        const std::uint8_t* at;
    };

    AnswerBlock() = default;

    void load(std::istream& in) override;
    void save(std::ostream& out) override;
    // 0: the number of answers; null for other ids.
    const void* getData(int attribute) override;
    AnswerBlock& operator=(const AnswerBlock& other) override;

    unsigned answerCount() const { return count; }
    // Calls f(View) for every answer, oldest first.
    template <typename F>
    void forEachAnswer(F&& f) const {
        const std::uint8_t* at = bytes.data();
        for (unsigned i = 0; i < count; ++i) {
            const View view(*this, at);
            f(view);
            at += sizeOfAnswerAt(at);
        }
    }
    // Whether the answer fits into this block.
    bool hasRoomFor(const Answer& answer) const;
    // Appends (the caller marks the block for saving).
    void append(const Answer& answer);

    // Records an answer in the newest block, or in a new one when that is full, and marks it for
    // saving (it reaches the files with the next save of this table or of the flashcards).
    static void record(const Answer& answer);
    // Calls f(View) for every answer of the history, oldest first (card deletions settled first).
    template <typename F>
    static void forEveryAnswer(F&& f) {
        settleCardDeletions();
        for (DATAITERATOR it = begin(); it != end(); ++it) {
            it->forEachAnswer(f);
        }
    }
    // How many answers the history holds.
    static std::size_t totalAnswers();

    // The cascade: a card going away (d = D_FLASHCARD) flags its answers; nothing else concerns
    // the history.
    static void deleteEntriesWithDependency(dependency d, unsigned id);
    static void updateEntriesWithDependency(dependency d, unsigned oldId, unsigned newId);
    // Flags the answers of the cards deleted since the last call (marking their blocks).
    static void settleCardDeletions();
    static void resetTable();

    // The catalogue's load and save of the table. A collection without the table's index and
    // without any of its files (saved before the history existed) loads with an empty history;
    // the save makes the table's directory when it is missing, and runs for D_ENDTAG, D_ANSWER
    // and D_FLASHCARD.
    static void loadHistory(const char* path, dependency d);
    static void saveHistory(const char* path, dependency d);

private:
    std::size_t sizeOfAnswerAt(const std::uint8_t* at) const;
    // The index of the grid in this block, added when new; MAX_LAYOUTS when there is no room.
    unsigned layoutIndex(const VerbLayout& layout);
    void readLayouts(std::istream& in);
    void validateAnswers() const;

    std::uint32_t count = 0;
    std::vector<std::uint8_t> bytes;
    std::vector<VerbLayout> layouts;
    std::vector<std::size_t> layoutCellBytes;  // (T*P+7)/8 of each grid

    // Cards deleted since the last settleCardDeletions.
    static inline std::vector<std::uint32_t> deletedCards;
    // The block new answers go into; 0 for none yet (the newest block after a load).
    static inline unsigned openBlock = 0;
};
