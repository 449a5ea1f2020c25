#include "exchange/ExportWriters.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "base/Utf8.h"
#include "exchange/ExchangeText.h"
#include "exchange/LanguageGrammar.h"
#include "exchange/TextDecoding.h"

namespace exchange {

namespace {

std::string delimitedField(const std::wstring& text) {
    std::string field = toUtf8(text);
    if (field.find_first_of("\t\n\r\"") == std::string::npos && (field.empty() || field[0] != '#')) {
        return field;
    }
    std::string quoted = "\"";
    for (char c : field) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::wstring joined(const std::vector<std::wstring>& parts, const std::wstring& separator) {
    std::wstring text;
    for (const std::wstring& part : parts) {
        text += (text.empty() ? L"" : separator) + part;
    }
    return text;
}

std::wstring tags(const std::vector<std::wstring>& categories) {
    std::vector<std::wstring> tags;
    for (std::wstring category : categories) {
        std::replace(category.begin(), category.end(), L' ', L'_');
        tags.push_back(category);
    }
    return joined(tags, L" ");
}

std::string escaped(const std::wstring& text) {
    std::string out;
    for (char c : toUtf8(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

// Writes indented XML, one element per line.
class XmlOut {
public:
    void open(const std::string& element, const std::string& attributes = "") {
        line("<" + element + attributes + ">");
        ++depth_;
    }
    void close(const std::string& element) {
        --depth_;
        line("</" + element + ">");
    }
    void leaf(const std::string& element, const std::wstring& text) {
        line("<" + element + ">" + escaped(text) + "</" + element + ">");
    }
    void empty(const std::string& element) { line("<" + element + "/>"); }
    void line(const std::string& text) { out_ += std::string(static_cast<std::size_t>(depth_), ' ') + text + "\n"; }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
    int depth_ = 0;
};

const char* const NUMBER_NAMES[] = {"singular", "plural", "dual"};
const char* const GENDER_NAMES[] = {"male", "female", "neutral"};
const char* const PERSON_NAMES[] = {"firstperson", "secondperson", "thirdpersonmale", "thirdpersonfemale",
                                    "thirdpersonneutralcommon"};

bool anyText(const std::array<std::wstring, PERSON_SLOTS>& row) {
    for (const std::wstring& text : row) {
        if (!text.empty()) {
            return true;
        }
    }
    return false;
}

void writePersonForms(XmlOut& xml, const PersonForms& forms) {
    for (int number = 0; number < NUMBERS; ++number) {
        if (!anyText(forms[number])) {
            continue;
        }
        xml.open(NUMBER_NAMES[number]);
        for (int person = 0; person < PERSON_SLOTS; ++person) {
            if (!forms[number][person].empty()) {
                xml.leaf(PERSON_NAMES[person], forms[number][person]);
            }
        }
        xml.close(NUMBER_NAMES[number]);
    }
}

void writeArticles(XmlOut& xml, const ExportedLanguage& language) {
    ArticleTable table;
    for (std::size_t index = 0; index < language.articles.size() && index < ARTICLE_PLACES; ++index) {
        const ArticlePlace place = articlePlace(static_cast<int>(index));
        table[place.number][place.definite ? 0 : 1][place.gender] = language.articles[index];
    }
    if (language.articles.empty()) {
        return;
    }
    xml.open("article");
    for (int number = 0; number < NUMBERS; ++number) {
        const auto& places = table[number];
        if (std::all_of(places.begin(), places.end(), [](const auto& genders) {
                return std::all_of(genders.begin(), genders.end(), [](const std::wstring& t) { return t.empty(); });
            })) {
            continue;
        }
        xml.open(NUMBER_NAMES[number]);
        for (int definite = 0; definite < 2; ++definite) {
            const auto& genders = table[number][definite];
            if (genders[0].empty() && genders[1].empty() && genders[2].empty()) {
                continue;
            }
            xml.open(definite == 0 ? "definite" : "indefinite");
            for (int gender = 0; gender < GENDERS; ++gender) {
                if (!genders[gender].empty()) {
                    xml.leaf(GENDER_NAMES[gender], genders[gender]);
                }
            }
            xml.close(definite == 0 ? "definite" : "indefinite");
        }
        xml.close(NUMBER_NAMES[number]);
    }
    xml.close("article");
}

void writePronouns(XmlOut& xml, const ExportedLanguage& language) {
    if (language.persons.empty()) {
        return;
    }
    PersonForms pronouns;
    for (std::size_t slot = 0; slot < language.persons.size() && slot < language.layout.slots.size(); ++slot) {
        language.layout.putPronoun(pronouns, slot, language.persons[slot]);
    }
    xml.open("personalpronouns");
    if (language.layout.maleFemaleDifferent) {
        xml.empty("malefemaledifferent");
    }
    if (language.layout.neutralExists) {
        xml.empty("neutralexists");
    }
    if (language.layout.dualExists) {
        xml.empty("dualexists");
    }
    writePersonForms(xml, pronouns);
    xml.close("personalpronouns");
}

void writeIdentifier(XmlOut& xml, int id, const ExportedLanguage& language) {
    xml.open("identifier", " id=\"" + std::to_string(id) + "\"");
    xml.leaf("name", language.name);
    if (!language.locale.empty()) {
        xml.leaf("locale", language.locale);
    }
    writeArticles(xml, language);
    writePronouns(xml, language);
    for (const std::wstring& tense : language.tenses) {
        xml.leaf("tense", tense);
    }
    xml.close("identifier");
}

void writeConjugations(XmlOut& xml, const ExportedLanguage& language, const ExportedCard& card) {
    for (std::size_t tense = 0; tense < card.forms.size() && tense < language.tenses.size(); ++tense) {
        PersonForms forms;
        bool any = false;
        for (std::size_t person = 0; person < card.forms[tense].size() && person < language.layout.slots.size();
             ++person) {
            if (!card.forms[tense][person].empty()) {
                language.layout.putForm(forms, person, card.forms[tense][person]);
                any = true;
            }
        }
        if (!any) {
            continue;
        }
        xml.open("conjugation");
        xml.leaf("tense", language.tenses[tense]);
        writePersonForms(xml, forms);
        xml.close("conjugation");
    }
}

void writeEntry(XmlOut& xml, std::size_t id, const ExportSet& set, const ExportedCard& card) {
    xml.open("entry", " id=\"" + std::to_string(id) + "\"");
    xml.open("translation", " id=\"0\"");
    xml.leaf("text", card.foreign);
    if (!card.pronunciation.empty()) {
        xml.leaf("pronunciation", card.pronunciation);
    }
    if (!card.mnemonic.empty()) {
        xml.leaf("comment", card.mnemonic);
    }
    if (card.gender != Gender::None) {
        static const wchar_t* const subtypes[] = {L"Male", L"Female", L"Neutral"};
        xml.open("wordtype");
        xml.leaf("typename", L"Noun");
        xml.leaf("subtypename", subtypes[static_cast<int>(card.gender)]);
        xml.close("wordtype");
    } else if (!card.forms.empty()) {
        xml.open("wordtype");
        xml.leaf("typename", L"Verb");
        xml.close("wordtype");
    }
    for (const std::wstring& category : card.categories) {
        xml.leaf("usage", category);
    }
    writeConjugations(xml, set.foreign, card);
    xml.close("translation");
    xml.open("translation", " id=\"1\"");
    xml.leaf("text", joined(card.known, L"; "));
    xml.close("translation");
    xml.close("entry");
}

void writeWordTypes(XmlOut& xml) {
    xml.open("wordtypedefinitions");
    xml.open("wordtypedefinition");
    xml.leaf("typename", L"Noun");
    xml.leaf("specialwordtype", L"noun");
    static const wchar_t* const subtypes[][2] = {{L"Male", L"male"}, {L"Female", L"female"}, {L"Neutral", L"neutral"}};
    for (const auto& subtype : subtypes) {
        xml.open("subwordtypedefinition");
        xml.leaf("typename", subtype[0]);
        xml.leaf("specialwordtype", subtype[1]);
        xml.close("subwordtypedefinition");
    }
    xml.close("wordtypedefinition");
    xml.open("wordtypedefinition");
    xml.leaf("typename", L"Verb");
    xml.leaf("specialwordtype", L"verb");
    xml.close("wordtypedefinition");
    xml.close("wordtypedefinitions");
}

}  // namespace

std::string writeDelimited(const ExportSet& set) {
    std::string out =
        "#separator:tab\n#html:false\n#columns:Foreign\tKnown\tPronunciation\tMnemonic\tLesson\tTags\n"
        "#deck column:5\n#tags column:6\n";
    for (const ExportedCard& card : set.cards) {
        out += delimitedField(withArticle(card.article, card.foreign)) + "\t" + delimitedField(joined(card.known, L"; ")) +
               "\t" + delimitedField(card.pronunciation) + "\t" + delimitedField(card.mnemonic) + "\t" +
               delimitedField(card.lesson) + "\t" + delimitedField(tags(card.categories)) + "\n";
    }
    return out;
}

std::string writeKvtml(const ExportSet& set) {
    XmlOut xml;
    xml.line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    xml.line("<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">");
    xml.open("kvtml", " version=\"2.0\"");
    xml.open("information");
    xml.leaf("generator", L"Mernolex");
    xml.leaf("title", set.foreign.name + L" - " + set.known.name);
    xml.close("information");
    xml.open("identifiers");
    writeIdentifier(xml, 0, set.foreign);
    writeIdentifier(xml, 1, set.known);
    xml.close("identifiers");
    xml.open("entries");
    for (std::size_t id = 0; id < set.cards.size(); ++id) {
        writeEntry(xml, id, set, set.cards[id]);
    }
    xml.close("entries");
    if (!set.lessons.empty()) {
        xml.open("lessons");
        for (const std::wstring& lesson : set.lessons) {
            xml.open("container");
            xml.leaf("name", lesson);
            for (std::size_t id = 0; id < set.cards.size(); ++id) {
                if (set.cards[id].lesson == lesson) {
                    xml.line("<entry id=\"" + std::to_string(id) + "\"/>");
                }
            }
            xml.close("container");
        }
        xml.close("lessons");
    }
    writeWordTypes(xml);
    xml.close("kvtml");
    return xml.take();
}

bool writeExportFile(const std::string& path, const std::string& bytes, std::wstring& problem) {
    const std::string temporary = path + ".mernolex-tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool written = fd >= 0;
    std::size_t done = 0;
    while (written && done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        written = put > 0;
        done += written ? static_cast<std::size_t>(put) : 0;
    }
    written = written && ::fsync(fd) == 0;
    const int error = errno;
    if (fd >= 0) {
        written = ::close(fd) == 0 && written;
    }
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        const int reason = written ? errno : error;
        ::unlink(temporary.c_str());
        problem = fillIn(text2(String2_FILE_UNWRITABLE), {utf8::decode(path), utf8::decode(std::strerror(reason))});
        return false;
    }
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace exchange
