#include "model/AnswerBlock.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "base/AtomicFile.h"
#include "base/FileSystem.h"
#include "db/OrnQL_Stream.h"

namespace {

// Bit positions of the flag word of an answer.
constexpr unsigned VERDICT_SHIFT = 17;
constexpr unsigned INVERTED_BIT = 19;
constexpr unsigned HINT_BIT = 20;
constexpr unsigned FORCED_BIT = 21;
constexpr unsigned FIRST_TRY_BIT = 22;
constexpr unsigned ARTICLE_SHIFT = 23;
constexpr unsigned VERB_BIT = 25;
constexpr unsigned DELETED_BIT = 26;
constexpr std::uint32_t SECOND_MASK = 0x1FFFFu;
constexpr std::size_t FLAGS_OFFSET = 16;

// Bytes of the answers are read in slices of this size, so a damaged length never makes us
// allocate more than the file holds plus one slice.
constexpr std::size_t SLICE = 65536;

[[noreturn]] void throwDamagedHistory() {
    throw Damaged<OrnQLException_Template>("Fatal OrnQLException: Found a damaged answer in the history while loading!");
}

std::uint16_t capped16(std::uint32_t value) { return static_cast<std::uint16_t>(std::min<std::uint32_t>(value, 0xFFFF)); }

template <typename Value>
void put(std::vector<std::uint8_t>& out, Value value) {
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&value);
    out.insert(out.end(), raw, raw + sizeof value);
}

template <typename Value>
Value peek(const std::uint8_t* at) {
    Value value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::size_t cellBytesOf(const VerbLayout& layout) { return (layout.cells() + 7) / 8; }

bool storableLayout(const VerbLayout& layout) {
    return !layout.tenses.empty() && !layout.persons.empty() &&
           layout.tenses.size() <= AnswerBlock::MAX_GRID_SIDE && layout.persons.size() <= AnswerBlock::MAX_GRID_SIDE;
}

std::uint32_t flagsOf(const Answer& answer, bool verb) {
    std::uint32_t flags = std::min<std::uint32_t>(secondOfDayOf(answer.time), SECONDS_OF_A_DAY - 1);
    flags |= static_cast<std::uint32_t>(answer.verdict) << VERDICT_SHIFT;
    flags |= static_cast<std::uint32_t>(answer.inverted) << INVERTED_BIT;
    flags |= static_cast<std::uint32_t>(answer.hintUsed) << HINT_BIT;
    flags |= static_cast<std::uint32_t>(answer.forcedRetyping) << FORCED_BIT;
    flags |= static_cast<std::uint32_t>(answer.firstTry) << FIRST_TRY_BIT;
    flags |= static_cast<std::uint32_t>(answer.article) << ARTICLE_SHIFT;
    flags |= static_cast<std::uint32_t>(verb) << VERB_BIT;
    flags |= static_cast<std::uint32_t>(answer.cardDeleted) << DELETED_BIT;
    return flags;
}

// Reads `size` bytes; a stream that ends first is left failed (a record cut short).
void readBytes(std::istream& in, std::vector<std::uint8_t>& into, std::size_t size) {
    into.clear();
    while (into.size() < size && in) {
        const std::size_t slice = std::min(SLICE, size - into.size());
        const std::size_t before = into.size();
        into.resize(before + slice);
        const std::streamsize got = in.rdbuf()->sgetn(reinterpret_cast<char*>(into.data() + before),
                                                       static_cast<std::streamsize>(slice));
        if (got != static_cast<std::streamsize>(slice)) {
            into.resize(before + static_cast<std::size_t>(std::max<std::streamsize>(got, 0)));
            in.setstate(std::ios::eofbit | std::ios::failbit);
        }
    }
}

}  // namespace

// --- reading an answer -------------------------------------------------------------------------

const VerbLayout* AnswerBlock::View::verbLayout() const {
    if (!verbAsked()) {
        return nullptr;
    }
    return &block->layouts[at[verbOffset()]];
}

bool AnswerBlock::View::cellRight(std::size_t t, std::size_t p) const {
    const VerbLayout* layout = verbLayout();
    if (layout == nullptr || t >= layout->tenses.size() || p >= layout->persons.size()) {
        return false;
    }
    const std::size_t cell = t * layout->persons.size() + p;
    return (at[verbOffset() + 1 + cell / 8] >> (cell % 8)) & 1u;
}

Answer AnswerBlock::View::toAnswer() const {
    Answer answer;
    answer.card = card();
    answer.language = language();
    answer.lesson = lesson();
    answer.time = static_cast<std::int64_t>(day()) * SECONDS_OF_A_DAY + secondOfDay();
    answer.verdict = verdict();
    answer.inverted = inverted();
    answer.hintUsed = hintUsed();
    answer.forcedRetyping = forcedRetyping();
    answer.firstTry = firstTry();
    answer.cardDeleted = cardDeleted();
    answer.secondsCounted = secondsCounted();
    answer.levelBefore = levelBefore();
    answer.levelAfter = levelAfter();
    answer.article = article();
    answer.articleId = articleId();
    if (const VerbLayout* layout = verbLayout()) {
        answer.verbLayout = *layout;
        for (std::size_t t = 0; t < layout->tenses.size(); ++t) {
            for (std::size_t p = 0; p < layout->persons.size(); ++p) {
                answer.cellsRight.push_back(cellRight(t, p));
            }
        }
    }
    return answer;
}

// --- the record --------------------------------------------------------------------------------

std::size_t AnswerBlock::sizeOfAnswerAt(const std::uint8_t* at) const {
    const std::uint32_t flags = peek<std::uint32_t>(at + FLAGS_OFFSET);
    std::size_t size = FIXED_BYTES;
    if (((flags >> ARTICLE_SHIFT) & 3u) != 0) {
        size += 4;
    }
    if ((flags >> VERB_BIT) & 1u) {
        size += 1 + layoutCellBytes[at[size]];
    }
    return size;
}

void AnswerBlock::readLayouts(std::istream& in) {
    std::uint16_t grids = 0;
    if (!loadValue(in, grids)) {
        return;
    }
    if (grids > MAX_LAYOUTS) {
        throwDamagedHistory();
    }
    for (unsigned g = 0; g < grids && in; ++g) {
        std::uint16_t tenses = 0;
        std::uint16_t persons = 0;
        if (!loadValue(in, tenses) || !loadValue(in, persons)) {
            return;
        }
        if (tenses == 0 || persons == 0 || tenses > MAX_GRID_SIDE || persons > MAX_GRID_SIDE) {
            throwDamagedHistory();
        }
        VerbLayout layout;
        for (std::vector<std::uint32_t>* ids : {&layout.tenses, &layout.persons}) {
            const std::size_t wanted = ids == &layout.tenses ? tenses : persons;
            for (std::size_t i = 0; i < wanted; ++i) {
                std::uint32_t id = 0;
                if (!loadValue(in, id)) {
                    return;
                }
                ids->push_back(id);
            }
        }
        layoutCellBytes.push_back(cellBytesOf(layout));
        layouts.push_back(std::move(layout));
    }
}

// Every answer lies within the bytes, with its fields in range, and the answers fill them exactly.
void AnswerBlock::validateAnswers() const {
    std::size_t offset = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (bytes.size() - offset < FIXED_BYTES) {
            throwDamagedHistory();
        }
        const std::uint8_t* at = bytes.data() + offset;
        const std::uint32_t flags = peek<std::uint32_t>(at + FLAGS_OFFSET);
        const bool article = ((flags >> ARTICLE_SHIFT) & 3u) != 0;
        if ((flags & SECOND_MASK) >= static_cast<std::uint32_t>(SECONDS_OF_A_DAY) || ((flags >> VERDICT_SHIFT) & 3u) > 2 ||
            ((flags >> ARTICLE_SHIFT) & 3u) > 2) {
            throwDamagedHistory();
        }
        std::size_t size = FIXED_BYTES + (article ? 4 : 0);
        if ((flags >> VERB_BIT) & 1u) {
            if (bytes.size() - offset < size + 1 || at[size] >= layouts.size()) {
                throwDamagedHistory();
            }
            size += 1 + layoutCellBytes[at[size]];
        }
        if (bytes.size() - offset < size) {
            throwDamagedHistory();
        }
        offset += size;
    }
    if (offset != bytes.size()) {
        throwDamagedHistory();
    }
}

void AnswerBlock::load(std::istream& in) {
    count = 0;
    bytes.clear();
    layouts.clear();
    layoutCellBytes.clear();
    std::uint32_t answers = 0;
    std::uint32_t length = 0;
    if (!loadValue(in, answers) || !loadValue(in, length)) {
        return;  // the stream has failed: the loader sees a record cut short
    }
    readLayouts(in);
    if (!in) {
        return;
    }
    readBytes(in, bytes, length);
    if (!in) {
        return;
    }
    count = answers;
    validateAnswers();
}

void AnswerBlock::save(std::ostream& out) {
    saveValue(out, count);
    saveValue(out, static_cast<std::uint32_t>(bytes.size()));
    saveValue(out, static_cast<std::uint16_t>(layouts.size()));
    for (const VerbLayout& layout : layouts) {
        saveValue(out, static_cast<std::uint16_t>(layout.tenses.size()));
        saveValue(out, static_cast<std::uint16_t>(layout.persons.size()));
        for (std::uint32_t id : layout.tenses) {
            saveValue(out, id);
        }
        for (std::uint32_t id : layout.persons) {
            saveValue(out, id);
        }
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

const void* AnswerBlock::getData(int attribute) { return attribute == 0 ? &count : nullptr; }

AnswerBlock& AnswerBlock::operator=(const AnswerBlock& other) {
    count = other.count;
    bytes = other.bytes;
    layouts = other.layouts;
    layoutCellBytes = other.layoutCellBytes;
    return *this;
}

bool AnswerBlock::hasRoomFor(const Answer& answer) const {
    if (count == 0) {
        return true;  // an empty block takes any answer
    }
    if (count >= MAX_ANSWERS) {
        return false;
    }
    std::size_t size = FIXED_BYTES + (answer.article == ArticleJudgement::NotAsked ? 0 : 4);
    if (answer.verbAsked() && storableLayout(answer.verbLayout)) {
        size += 1 + cellBytesOf(answer.verbLayout);
        const bool known = std::find(layouts.begin(), layouts.end(), answer.verbLayout) != layouts.end();
        if (!known && layouts.size() >= MAX_LAYOUTS) {
            return false;
        }
    }
    return bytes.size() + size <= MAX_BYTES;
}

unsigned AnswerBlock::layoutIndex(const VerbLayout& layout) {
    const auto found = std::find(layouts.begin(), layouts.end(), layout);
    if (found != layouts.end()) {
        return static_cast<unsigned>(found - layouts.begin());
    }
    if (layouts.size() >= MAX_LAYOUTS) {
        return MAX_LAYOUTS;
    }
    layouts.push_back(layout);
    layoutCellBytes.push_back(cellBytesOf(layout));
    return static_cast<unsigned>(layouts.size() - 1);
}

void AnswerBlock::append(const Answer& answer) {
    const unsigned grid =
        answer.verbAsked() && storableLayout(answer.verbLayout) ? layoutIndex(answer.verbLayout) : MAX_LAYOUTS;
    const bool verb = grid < MAX_LAYOUTS;
    put(bytes, answer.card);
    put(bytes, answer.language);
    put(bytes, answer.lesson);
    put(bytes, utcDayOf(answer.time));
    put(bytes, flagsOf(answer, verb));
    put(bytes, capped16(answer.secondsCounted));
    put(bytes, capped16(answer.levelBefore));
    put(bytes, capped16(answer.levelAfter));
    if (answer.article != ArticleJudgement::NotAsked) {
        put(bytes, answer.articleId);
    }
    if (verb) {
        bytes.push_back(static_cast<std::uint8_t>(grid));
        std::vector<std::uint8_t> cells(layoutCellBytes[grid], 0);
        const std::size_t known = std::min(answer.cellsRight.size(), answer.verbLayout.cells());
        for (std::size_t cell = 0; cell < known; ++cell) {
            if (answer.cellsRight[cell]) {
                cells[cell / 8] |= static_cast<std::uint8_t>(1u << (cell % 8));
            }
        }
        bytes.insert(bytes.end(), cells.begin(), cells.end());
    }
    ++count;
}

// --- the table ---------------------------------------------------------------------------------

void AnswerBlock::record(const Answer& answer) {
    settleCardDeletions();
    AnswerBlock* block = getById(openBlock);
    if (block == nullptr && !elementTree().empty()) {
        block = static_cast<AnswerBlock*>(*elementTree().rear());
    }
    if (block == nullptr || !block->hasRoomFor(answer)) {
        block = new AnswerBlock();
        add(block);
    }
    openBlock = block->getId();
    block->append(answer);
    block->saveRequest();
}

std::size_t AnswerBlock::totalAnswers() {
    std::size_t total = 0;
    for (DATAITERATOR it = begin(); it != end(); ++it) {
        total += it->answerCount();
    }
    return total;
}

void AnswerBlock::deleteEntriesWithDependency(dependency d, unsigned id) {
    if (d == D_FLASHCARD && id != 0 && !elementTree().empty()) {
        deletedCards.push_back(id);
    }
}

void AnswerBlock::updateEntriesWithDependency(dependency, unsigned, unsigned) {}

void AnswerBlock::settleCardDeletions() {
    if (deletedCards.empty()) {
        return;
    }
    std::sort(deletedCards.begin(), deletedCards.end());
    for (DATAITERATOR it = begin(); it != end(); ++it) {
        AnswerBlock& block = **it;
        bool changed = false;
        std::uint8_t* at = block.bytes.data();
        for (unsigned i = 0; i < block.count; ++i) {
            std::uint32_t flags = peek<std::uint32_t>(at + FLAGS_OFFSET);
            if (!((flags >> DELETED_BIT) & 1u) &&
                std::binary_search(deletedCards.begin(), deletedCards.end(), peek<std::uint32_t>(at))) {
                flags |= 1u << DELETED_BIT;
                std::memcpy(at + FLAGS_OFFSET, &flags, sizeof flags);
                changed = true;
            }
            at += block.sizeOfAnswerAt(at);
        }
        if (changed) {
            block.saveRequest();
        }
    }
    deletedCards.clear();
}

void AnswerBlock::resetTable() {
    deletedCards.clear();
    openBlock = 0;
    OrnQL_Template<AnswerBlock>::resetTable();
}

void AnswerBlock::loadHistory(const char* path, dependency d) {
    if (d != D_ENDTAG && d != D_ANSWER) {
        return;
    }
    openBlock = 0;
    deletedCards.clear();
    // Saved before the history existed: nothing of the table is there at all.
    if (!table_files::fileExists(table_files::indexName(path)) && table_files::staleFiles(path, {}).empty()) {
        while (!elementTree().empty()) {
            deleteEntry((*elementTree().begin())->getId());
        }
        requestTree().clear();
        return;
    }
    loadAll(path, D_ANSWER);
}

void AnswerBlock::saveHistory(const char* path, dependency d) {
    if (d != D_ENDTAG && d != D_ANSWER && d != D_FLASHCARD) {
        return;
    }
    settleCardDeletions();
    const std::string directory = std::filesystem::path(path).parent_path().string();
    if (!pathExists(directory)) {
        if (elementTree().empty() && requestTree().empty()) {
            return;  // no history yet and none to write: the collection stays as it was
        }
        // Made durable at once (its entry in the data directory synced): the files of the save go
        // into it, and a log replayed after a crash would find no directory for them.
        if ((fileSystem().makeDirectory(directory.c_str(), 0777) != 0 && errno != EEXIST) ||
            !syncDirectoryOf(directory)) {
            throw InvalidFileException(path, D_ANSWER);
        }
    }
    saveAll(path, D_ANSWER);
}
