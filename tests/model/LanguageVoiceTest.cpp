// The voices of the languages: a table of their own beside the languages, whose files keep their
// format.
#include <filesystem>
#include <string>

#include "DatabaseTestSupport.h"
#include "model/LanguageVoice.h"

namespace modeltest {
namespace {

namespace fs = std::filesystem;

class LanguageVoiceTest : public DatabaseTest {};

TEST_F(LanguageVoiceTest, AVoiceIsStoredBesideItsLanguageAndTheLanguageFileKeepsItsBytes) {
    const Sample s = buildSample();
    ASSERT_EQ(restart(), LOAD_DONE);
    const std::string languagesBefore = readFile("Data/Language/languages0.dat");

    LanguageVoice::assign(s.french, "roa/fr");
    LanguageVoice::assign(s.english, "gmw/en");
    ASSERT_EQ(saveDatabaseExternal(2, D_LANGUAGE, D_VOICE), 0);
    EXPECT_EQ(readFile("Data/Language/languages0.dat"), languagesBefore);
    // Record header (its id, the fifteen dependency ids with its language), then the identifier
    // as a wide text.
    EXPECT_EQ(readFile("Data/Voice/voices0.dat"),
              header(1, {{D_LANGUAGE, s.french}}) + text(u"roa/fr") + header(2, {{D_LANGUAGE, s.english}}) +
                  text(u"gmw/en"));
    EXPECT_EQ(readFile("Data/Voice/voices.dat"), u32(0));

    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_EQ(LanguageVoice::voiceOf(s.french), "roa/fr");
    EXPECT_EQ(LanguageVoice::voiceOf(s.english), "gmw/en");
    EXPECT_EQ(LanguageVoice::voiceOf(0), "");
    EXPECT_EQ(LanguageVoice::voiceOf(99), "");

    // Changing a voice keeps the record; "no voice" removes it.
    LanguageVoice::assign(s.french, "roa/fr-BE");
    LanguageVoice::assign(s.english, "");
    EXPECT_EQ(LanguageVoice::elementTree().size(), 1u);
    ASSERT_EQ(saveDatabaseExternal(1, D_VOICE), 0);
    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_EQ(LanguageVoice::voiceOf(s.french), "roa/fr-BE");
    EXPECT_EQ(LanguageVoice::voiceOf(s.english), "");
}

TEST_F(LanguageVoiceTest, DeletingALanguageDeletesItsVoice) {
    const Sample s = buildSample();
    ASSERT_EQ(restart(), LOAD_DONE);
    LanguageVoice::assign(s.french, "roa/fr");
    LanguageVoice::assign(s.english, "gmw/en");
    ASSERT_EQ(saveDatabaseExternal(0), 0);

    Language::deleteEntry(s.french);
    EXPECT_EQ(LanguageVoice::voiceOf(s.french), "");
    ASSERT_EQ(saveDatabaseExternal(0), 0);
    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_EQ(LanguageVoice::elementTree().size(), 1u);
    EXPECT_EQ(LanguageVoice::voiceOf(s.english), "gmw/en");
    // A new language taking the freed id starts without a voice.
    EXPECT_EQ(addLanguage(L"Italian"), s.french);
    EXPECT_EQ(LanguageVoice::voiceOf(s.french), "");
}

TEST_F(LanguageVoiceTest, ADatabaseMadeBeforeVoicesLoadsCleanlyAndTakesVoicesFromThenOn) {
    const Sample s = buildSample();
    fs::remove_all("Data/Voice");  // as an earlier version left it
    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_FALSE(fs::exists(BACKUP_DIR));
    EXPECT_FALSE(fs::exists("Data/Voice")) << "a load writes nothing";
    EXPECT_TRUE(LanguageVoice::elementTree().empty());
    // Every later start too, before the first voice is saved.
    ASSERT_EQ(restart(), LOAD_DONE);
    LanguageVoice::assign(s.french, "roa/fr");
    ASSERT_EQ(saveDatabaseExternal(1, D_VOICE), 0);
    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_EQ(LanguageVoice::voiceOf(s.french), "roa/fr");
}

TEST_F(LanguageVoiceTest, ALostIndexBesideVoiceFilesAndAVoiceOfAMissingLanguageAreRepaired) {
    const Sample s = buildSample();
    ASSERT_EQ(restart(), LOAD_DONE);
    LanguageVoice::assign(s.french, "roa/fr");
    ASSERT_EQ(saveDatabaseExternal(1, D_VOICE), 0);
    resetDatabase();

    // The index is gone but a file of the table is there: damage, kept in the backup.
    const std::string voices = readFile("Data/Voice/voices0.dat");
    fs::remove("Data/Voice/voices.dat");
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_RESET);
    EXPECT_EQ(readFile(onlyBackup() / "Voice/voices0.dat"), voices);
    EXPECT_TRUE(LanguageVoice::elementTree().empty());
    EXPECT_EQ(Language::elementTree().size(), 2u);  // the tables before it stay
    resetDatabase();
    fs::remove_all(BACKUP_DIR);

    // A voice naming a language that does not exist goes at the next start.
    writeFile("Data/Voice/voices0.dat", header(1, {{D_LANGUAGE, 77}}) + text(u"gmw/de"));
    writeFile("Data/Voice/voices.dat", u32(0));
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_RESET);
    EXPECT_TRUE(LanguageVoice::elementTree().empty());
    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_TRUE(LanguageVoice::elementTree().empty());
}

}  // namespace
}  // namespace modeltest
