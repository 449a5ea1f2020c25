// The answer history as a table of the database: what a stored answer reads back as, the blocks it
// packs answers into, a collection saved before the history existed, cards deleted after their
// answers, damage, and the save unit it shares with the level move of its card.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "StorageTestSupport.h"
#include "support/FileFaults.h"
#include "model/AnswerBlock.h"

namespace modeltest {
namespace {

namespace fs = std::filesystem;

std::vector<Answer> storedAnswers() {
    std::vector<Answer> answers;
    AnswerBlock::forEveryAnswer([&](const AnswerBlock::View& view) { answers.push_back(view.toAnswer()); });
    return answers;
}

void expectSame(const Answer& a, const Answer& b) {
    EXPECT_EQ(a.card, b.card);
    EXPECT_EQ(a.language, b.language);
    EXPECT_EQ(a.lesson, b.lesson);
    EXPECT_EQ(a.time, b.time);
    EXPECT_EQ(a.verdict, b.verdict);
    EXPECT_EQ(a.inverted, b.inverted);
    EXPECT_EQ(a.hintUsed, b.hintUsed);
    EXPECT_EQ(a.forcedRetyping, b.forcedRetyping);
    EXPECT_EQ(a.firstTry, b.firstTry);
    EXPECT_EQ(a.cardDeleted, b.cardDeleted);
    EXPECT_EQ(a.secondsCounted, b.secondsCounted);
    EXPECT_EQ(a.levelBefore, b.levelBefore);
    EXPECT_EQ(a.levelAfter, b.levelAfter);
    EXPECT_EQ(a.article, b.article);
    EXPECT_EQ(a.articleId, b.articleId);
    EXPECT_EQ(a.verbLayout, b.verbLayout);
    EXPECT_EQ(a.cellsRight, b.cellsRight);
}

// An answer of every shape: i picks the verdict, the flags, whether an article and a verb table
// (one of three grids) were asked.
Answer sampleAnswer(unsigned i) {
    Answer answer;
    answer.card = 1 + i % 7;
    answer.language = 1 + i % 2;
    answer.lesson = i % 3;
    answer.time = 1700000000 + 977 * static_cast<std::int64_t>(i);
    answer.verdict = static_cast<Verdict>(i % 3);
    answer.inverted = i % 2 == 1;
    answer.hintUsed = i % 5 == 0;
    answer.forcedRetyping = i % 4 == 0;
    answer.firstTry = i % 3 != 1;
    answer.secondsCounted = i * 3;
    answer.levelBefore = i % 7;
    answer.levelAfter = (i + 1) % 7;
    if (i % 2 == 0) {
        answer.article = i % 4 == 0 ? ArticleJudgement::Right : ArticleJudgement::Wrong;
        answer.articleId = 10 + i;
    }
    if (i % 3 == 0) {
        const std::uint32_t grid = i % 9;
        answer.verbLayout = VerbLayout{{1 + grid, 2 + grid, 3 + grid}, {4, 5, 6}};
        for (std::size_t cell = 0; cell < 9; ++cell) {
            answer.cellsRight.push_back((cell + i) % 4 != 0);
        }
    }
    return answer;
}

class AnswerHistoryTest : public StorageTest {};

TEST_F(AnswerHistoryTest, AnswersOfEveryShapeReadBackAsRecordedAcrossBlocksAndARestart) {
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    std::vector<Answer> recorded;
    for (unsigned i = 0; i < 2 * AnswerBlock::MAX_ANSWERS + 5; ++i) {
        recorded.push_back(sampleAnswer(i));
        AnswerBlock::record(recorded.back());
    }
    // Day boundaries in UTC: the last second of a day and the first of the next.
    Answer lastSecond = sampleAnswer(1);
    lastSecond.time = 86400LL * 19999 + 86399;
    Answer firstSecond = sampleAnswer(2);
    firstSecond.time = 86400LL * 20000;
    recorded.push_back(lastSecond);
    recorded.push_back(firstSecond);
    AnswerBlock::record(lastSecond);
    AnswerBlock::record(firstSecond);
    // Numbers beyond their fields are kept at the largest they can hold.
    Answer large = sampleAnswer(4);
    large.secondsCounted = 100000;
    large.levelAfter = 70000;
    AnswerBlock::record(large);
    large.secondsCounted = 65535;
    large.levelAfter = 65535;
    recorded.push_back(large);
    EXPECT_EQ(saveDatabaseExternal(1, D_ANSWER), 0);

    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_EQ(AnswerBlock::elementTree().size(), 3u);
    const std::vector<Answer> stored = storedAnswers();
    ASSERT_EQ(stored.size(), recorded.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        SCOPED_TRACE(i);
        expectSame(stored[i], recorded[i]);
    }
    bool sawDays = false;
    AnswerBlock::forEveryAnswer([&](const AnswerBlock::View& view) {
        if (view.toAnswer().time == lastSecond.time) {
            EXPECT_EQ(view.day(), 19999);
            EXPECT_EQ(view.secondOfDay(), 86399u);
            sawDays = true;
        } else if (view.toAnswer().time == firstSecond.time) {
            EXPECT_EQ(view.day(), 20000);
            EXPECT_EQ(view.secondOfDay(), 0u);
        }
    });
    EXPECT_TRUE(sawDays);

    // New answers go on into the newest block after the restart.
    AnswerBlock::record(sampleAnswer(7));
    EXPECT_EQ(AnswerBlock::elementTree().size(), 3u);
    EXPECT_EQ(AnswerBlock::totalAnswers(), recorded.size() + 1);
}

TEST_F(AnswerHistoryTest, ACollectionSavedBeforeTheHistoryLoadsWithAnEmptyOneAndKeepsItsFiles) {
    buildSample();
    ASSERT_EQ(restart(), LOAD_DONE);
    ASSERT_TRUE(checkpointDatabase());
    resetDatabase();
    fs::remove_all("Data/History");
    const Files before = dataFiles();

    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_EQ(AnswerBlock::totalAnswers(), 0u);
    EXPECT_EQ(dataFiles(), before);
    // A save of the cards without an answer leaves it so; the first answer makes the folder.
    Flashcard::getById(1)->set_primaryNextDue(4, true);
    ASSERT_EQ(saveDatabaseExternal(1, D_FLASHCARD), 0);
    EXPECT_FALSE(fs::exists("Data/History"));
    AnswerBlock::record(sampleAnswer(0));
    ASSERT_EQ(saveDatabaseExternal(1, D_FLASHCARD), 0);
    ASSERT_TRUE(checkpointDatabase());

    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_EQ(AnswerBlock::totalAnswers(), 1u);
    // Bound files without their index are damage, not a collection without a history.
    fs::remove(std::string(ANSWER_PATH) + ".dat");
    EXPECT_EQ(restart(), LOAD_RESET);
    EXPECT_EQ(AnswerBlock::totalAnswers(), 0u);
    EXPECT_EQ(Flashcard::elementTree().size(), 1u);
    EXPECT_TRUE(fs::exists(onlyBackup() / "History" / "answers0.dat"));
}

TEST_F(AnswerHistoryTest, ADeletedCardKeepsItsAnswersFlaggedAndANewCardWithItsIdStartsClean) {
    const Sample s = buildSample();
    ASSERT_EQ(restart(), LOAD_DONE);
    Answer old = sampleAnswer(0);
    old.card = s.card;
    AnswerBlock::record(old);
    AnswerBlock::record(old);
    ASSERT_EQ(saveDatabaseExternal(2, D_FLASHCARD, D_ANSWER), 0);

    // Deleted through a cascade (its word goes), saved as the word editor saves.
    Word::deleteEntry(s.chien);
    ASSERT_EQ(Flashcard::getById(s.card), nullptr);
    ASSERT_EQ(saveDatabaseExternal(4, D_WORD, D_FLASHCARD, D_ASSO_F_W, D_ASSO_M_W), 0);
    auto* card = new Flashcard(false, 0);
    card->setDependency(D_WORD, s.dog);
    ASSERT_EQ(Flashcard::add(card), s.card);  // the freed id again
    Answer fresh = sampleAnswer(1);
    fresh.card = s.card;
    AnswerBlock::record(fresh);
    ASSERT_EQ(saveDatabaseExternal(2, D_FLASHCARD, D_ANSWER), 0);

    ASSERT_EQ(restart(), LOAD_DONE);
    const std::vector<Answer> stored = storedAnswers();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_TRUE(stored[0].cardDeleted);
    EXPECT_TRUE(stored[1].cardDeleted);
    EXPECT_FALSE(stored[2].cardDeleted);
    EXPECT_EQ(stored[0].card, s.card);  // it still names the card it was
}

TEST_F(AnswerHistoryTest, DamagedAnswersResetTheHistoryAloneWithABackup) {
    buildSample();
    ASSERT_EQ(restart(), LOAD_DONE);
    AnswerBlock::record(sampleAnswer(3));
    ASSERT_EQ(saveDatabaseExternal(1, D_ANSWER), 0);
    ASSERT_TRUE(checkpointDatabase());
    const std::string bound = std::string(ANSWER_PATH) + "0.dat";
    const std::string good = readFile(bound);
    // After the header (64 bytes), the count (4), the length (4) and the grids (2 + one grid of
    // 3 tenses and 3 persons) comes the first answer; its flag word at 16.
    const std::size_t flags = 64 + 4 + 4 + 2 + 4 + 6 * 4 + 16;
    struct Case {
        const char* what;
        std::size_t at;
        std::string bytes;
    };
    const std::vector<Case> cases{
        {"a count beyond the answers", 64, u32(5)},
        {"a length beyond the file", 68, u32(0x7FFFFFFF)},
        {"a verdict out of range", flags, u32(3u << 17)},
        {"a second beyond the day", flags, u32(86400)},
        {"a grid of no tenses", 74, std::string(2, '\0')},
    };
    for (const Case& damage : cases) {
        SCOPED_TRACE(damage.what);
        std::string bytes = good;
        bytes.replace(damage.at, damage.bytes.size(), damage.bytes);
        writeFile(bound, bytes);
        fs::remove_all(BACKUP_DIR);
        EXPECT_EQ(restart(), LOAD_RESET);
        EXPECT_EQ(AnswerBlock::totalAnswers(), 0u);
        EXPECT_EQ(Flashcard::elementTree().size(), 1u);
        EXPECT_EQ(readFile(onlyBackup() / "History" / "answers0.dat"), bytes);
        writeFile(bound, good);
        writeFile(std::string(ANSWER_PATH) + ".dat", u32(0));
    }
}

// What a practice run does with an answer: the card's level move and its history row, saved in
// one call. Run in a child process, optionally killed at a file step.
int moveAndRecord() {
    Flashcard* card = Flashcard::begin() == Flashcard::end() ? nullptr : *Flashcard::begin();
    if (card == nullptr) {
        return 1;
    }
    card->set_primaryLevel(3, true);
    card->set_primaryNextDue(5, true);
    Answer answer = sampleAnswer(3);
    answer.card = card->getId();
    AnswerBlock::record(answer);
    return saveDatabaseExternal(2, D_FLASHCARD, D_ANSWER);
}

// Both the move and the row are on disk, or neither.
void expectBothOrNeither(unsigned step, bool& sawNew) {
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE) << "step " << step;
    const Flashcard* card = *Flashcard::begin();
    const bool moved = card->get_primaryLevel() == 3;
    const bool recorded = AnswerBlock::totalAnswers() == 1;
    EXPECT_EQ(moved, recorded) << "step " << step;
    EXPECT_EQ(moved, card->get_primaryNextDue() == 5) << "step " << step;
    sawNew = sawNew || moved;
    resetDatabase();
}

TEST_F(AnswerHistoryTest, AKillAtAnyStepOfTheAnswersSaveLeavesTheMoveAndItsRowTogether) {
    buildSample();
    fs::copy(DATA_DIR, "Before", fs::copy_options::recursive);
    bool sawOld = false, sawNew = false;
    for (unsigned step = 1; step < 100; ++step) {
        restoreData("Before");
        const pid_t child = fork();
        if (child == 0) {
            if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
                _exit(2);
            }
            fileFaults::failStep(step, fileFaults::Kind::KILL);
            _exit(moveAndRecord() == 0 && checkpointDatabase() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) << "step " << step;
        bool newOne = false;
        expectBothOrNeither(step, newOne);
        sawNew = sawNew || newOne;
        sawOld = sawOld || !newOne;
        if (!killed) {
            EXPECT_TRUE(newOne);
            break;
        }
    }
    EXPECT_TRUE(sawOld);
    EXPECT_TRUE(sawNew);
}

TEST_F(AnswerHistoryTest, AFailureAtAnyStepOrSyncOfTheAnswersSaveLeavesTheMoveAndItsRowTogether) {
    buildSample();
    fs::copy(DATA_DIR, "Before", fs::copy_options::recursive);
    unsigned failures = 0;
    for (bool syncs : {false, true}) {
        for (unsigned n = 1; n < 100; ++n) {
            restoreData("Before");
            ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
            syncs ? fileFaults::failSync(n) : fileFaults::failStep(n);
            const int status = moveAndRecord();
            const bool fired = syncs ? fileFaults::syncFired() : fileFaults::fired();
            syncs ? fileFaults::failSync(0) : fileFaults::failStep(0);
            if (!fired) {
                EXPECT_EQ(status, 0);
                break;
            }
            ++failures;
            // The program ends after the failed save: the next start finds both or neither.
            resetDatabase();
            bool moved = false;
            expectBothOrNeither(n, moved);
        }
    }
    EXPECT_GT(failures, 2u);
}

}  // namespace
}  // namespace modeltest
