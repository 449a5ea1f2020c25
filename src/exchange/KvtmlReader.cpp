#include "exchange/KvtmlReader.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/SAX2.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

#include "exchange/Libxml2Library.h"
#include "exchange/TextDecoding.h"

namespace exchange {

namespace {

// The file is fed to the parser in pieces of this size, so the entries pass holds only the
// entries of one piece at a time.
constexpr std::size_t PIECE = 16 * 1024;

int indexOf(std::string_view name, std::initializer_list<const char*> names) {
    int index = 0;
    for (const char* candidate : names) {
        if (name == candidate) {
            return index;
        }
        ++index;
    }
    return -1;
}

int numberIndex(std::string_view name) { return indexOf(name, {"singular", "plural", "dual"}); }
int genderIndex(std::string_view name) { return indexOf(name, {"male", "female", "neutral"}); }
int personIndex(std::string_view name) {
    return indexOf(name, {"firstperson", "secondperson", "thirdpersonmale", "thirdpersonfemale",
                          "thirdpersonneutralcommon"});
}

std::wstring wide(std::string_view utf8) {
    std::wstring text;
    if (!decodeUtf8Strict(utf8, text)) {
        text = std::wstring(utf8.begin(), utf8.end());  // libxml2 hands out UTF-8 only; never here
    }
    return text;
}

std::string_view trimmedView(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<int> attributeNumber(int count, const xmlChar** attributes, const char* name) {
    for (int i = 0; i < count; ++i) {
        const xmlChar** attribute = attributes + 5 * i;
        if (std::strcmp(reinterpret_cast<const char*>(attribute[0]), name) == 0) {
            const std::string value(reinterpret_cast<const char*>(attribute[3]),
                                    static_cast<std::size_t>(attribute[4] - attribute[3]));
            try {
                return std::stoi(value);
            } catch (...) {
                return std::nullopt;
            }
        }
    }
    return std::nullopt;
}

std::string attributeText(int count, const xmlChar** attributes, const char* name) {
    for (int i = 0; i < count; ++i) {
        const xmlChar** attribute = attributes + 5 * i;
        if (std::strcmp(reinterpret_cast<const char*>(attribute[0]), name) == 0) {
            return std::string(reinterpret_cast<const char*>(attribute[3]),
                               static_cast<std::size_t>(attribute[4] - attribute[3]));
        }
    }
    return {};
}

}  // namespace

std::string KvtmlError::describe() const {
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message;
}

// One pass over the file: the parser, the path of open elements and what is being built.
class KvtmlReader::Pass {
public:
    enum class Mode { Head, Entries };

    Pass(std::string_view bytes, Mode mode, KvtmlHead& head, KvtmlError& error);
    ~Pass();
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

    // Feeds the next piece; false once the whole file was fed or the parse stopped.
    bool feed();
    bool stopped() const { return stopped_; }
    std::size_t fed() const { return fed_; }

    std::deque<KvtmlEntry> ready;

private:
    static void startElement(void* context, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri,
                             int namespaces, const xmlChar** namespaceList, int attributes, int defaulted,
                             const xmlChar** attributeList);
    static void endElement(void* context, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri);
    static void characters(void* context, const xmlChar* text, int length);
    static void entityDeclared(void* context, const xmlChar* name, int type, const xmlChar* publicId,
                               const xmlChar* systemId, xmlChar* content);
    static xmlEntityPtr entityNamed(void* context, const xmlChar* name);
    static xmlParserInputPtr noExternalEntity(void* context, const xmlChar* publicId, const xmlChar* systemId);
    static void subset(void* context, const xmlChar* name, const xmlChar* externalId, const xmlChar* systemId);
    static void structuredError(void* context, xmlErrorPtr error);

    void stop(const std::string& message);
    void start(std::string_view name, int attributes, const xmlChar** attributeList);
    void end();
    void capture(std::wstring* target) {
        target_ = target;
        captureDepth_ = path_.size();
        text_.clear();
    }

    void startInIdentifier(std::string_view name);
    void startInWordTypes(std::string_view name);
    void startInEntry(std::string_view name, int attributes, const xmlChar** attributeList);
    void startInLessons(std::string_view name, int attributes, const xmlChar** attributeList);
    const std::string& at(std::size_t depth) const { return path_[depth - 1]; }
    std::wstring lessonPath(const std::wstring& name) const;

    std::string_view bytes_;
    Mode mode_;
    KvtmlHead& head_;
    KvtmlError& error_;
    xmlSAXHandler handler_{};
    xmlParserCtxtPtr parser_ = nullptr;
    std::size_t fed_ = 0;
    bool stopped_ = false;

    std::vector<std::string> path_;
    std::wstring* target_ = nullptr;
    std::size_t captureDepth_ = 0;
    std::string text_;
    std::wstring scratch_;

    KvtmlIdentifier* identifier_ = nullptr;
    std::vector<KvtmlWordType*> wordTypes_;
    std::vector<unsigned> containers_;  // lesson index of each open container
    std::vector<unsigned> siblings_;    // containers seen so far at each level
    KvtmlEntry entry_;
    KvtmlTranslation* translation_ = nullptr;
    int translationId_ = -1;
    KvtmlConjugation* conjugation_ = nullptr;
    int number_ = -1;
};

KvtmlReader::Pass::Pass(std::string_view bytes, Mode mode, KvtmlHead& head, KvtmlError& error)
    : bytes_(bytes), mode_(mode), head_(head), error_(error) {
    handler_.initialized = XML_SAX2_MAGIC;
    handler_.startElementNs = startElement;
    handler_.endElementNs = endElement;
    handler_.characters = characters;
    handler_.cdataBlock = characters;
    handler_.entityDecl = entityDeclared;
    handler_.getEntity = entityNamed;
    handler_.getParameterEntity = entityNamed;
    handler_.resolveEntity = noExternalEntity;
    handler_.internalSubset = subset;
    handler_.externalSubset = subset;
    handler_.serror = structuredError;
    const Libxml2Library& xml = libxml2Library();
    if (!xml.loaded) {
        stop("the XML library could not be loaded: " + xml.failure);
        return;
    }
    parser_ = xml.createPushParser(&handler_, this, nullptr, 0, nullptr);
    if (parser_ == nullptr) {
        stop("the XML parser could not be set up");
        return;
    }
    xml.useOptions(parser_, XML_PARSE_NONET | XML_PARSE_NOCDATA);
}

KvtmlReader::Pass::~Pass() {
    if (parser_ != nullptr) {
        // The parser makes a document of its own to hold entity declarations it met.
        if (parser_->myDoc != nullptr) {
            libxml2Library().freeDoc(parser_->myDoc);
            parser_->myDoc = nullptr;
        }
        libxml2Library().freeParser(parser_);
    }
}

bool KvtmlReader::Pass::feed() {
    if (stopped_ || parser_ == nullptr || fed_ > bytes_.size()) {
        return false;
    }
    const std::size_t length = std::min(PIECE, bytes_.size() - fed_);
    const bool last = fed_ + length == bytes_.size();
    libxml2Library().parseChunk(parser_, bytes_.data() + fed_, static_cast<int>(length), last ? 1 : 0);
    fed_ += length;
    if (last) {
        fed_ = bytes_.size() + 1;  // nothing more to feed
    }
    return !stopped_ && fed_ <= bytes_.size();
}

void KvtmlReader::Pass::stop(const std::string& message) {
    if (!stopped_) {
        stopped_ = true;
        if (error_.message.empty()) {
            error_.message = message;
            if (parser_ != nullptr) {
                error_.line = static_cast<unsigned>(std::max(0, libxml2Library().lineNumber(parser_)));
                error_.column = static_cast<unsigned>(std::max(0, libxml2Library().columnNumber(parser_)));
            }
        }
    }
    if (parser_ != nullptr) {
        libxml2Library().stopParser(parser_);
    }
}

void KvtmlReader::Pass::structuredError(void* context, xmlErrorPtr error) {
    auto* pass = static_cast<Pass*>(context);
    if (error == nullptr || error->level < XML_ERR_ERROR || pass->stopped_) {
        return;
    }
    std::string message = error->message != nullptr ? error->message : "malformed XML";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    pass->error_.line = static_cast<unsigned>(std::max(0, error->line));
    pass->error_.column = static_cast<unsigned>(std::max(0, error->int2));
    pass->error_.message = message;
    pass->stop(message);
}

void KvtmlReader::Pass::entityDeclared(void* context, const xmlChar* name, int, const xmlChar*, const xmlChar*,
                                       xmlChar*) {
    static_cast<Pass*>(context)->stop("the file declares the entity '" +
                                      std::string(reinterpret_cast<const char*>(name)) +
                                      "'; entities of a file's own are not read");
}

xmlEntityPtr KvtmlReader::Pass::entityNamed(void*, const xmlChar* name) {
    return libxml2Library().predefinedEntity(name);
}

xmlParserInputPtr KvtmlReader::Pass::noExternalEntity(void* context, const xmlChar*, const xmlChar*) {
    static_cast<Pass*>(context)->stop("the file refers to another file; it is not read");
    return nullptr;
}

void KvtmlReader::Pass::subset(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}

void KvtmlReader::Pass::characters(void* context, const xmlChar* text, int length) {
    auto* pass = static_cast<Pass*>(context);
    if (pass->target_ != nullptr && !pass->stopped_) {
        pass->text_.append(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
    }
}

void KvtmlReader::Pass::startElement(void* context, const xmlChar* localname, const xmlChar*, const xmlChar*, int,
                                     const xmlChar**, int attributes, int, const xmlChar** attributeList) {
    auto* pass = static_cast<Pass*>(context);
    if (!pass->stopped_) {
        pass->start(reinterpret_cast<const char*>(localname), attributes, attributeList);
    }
}

void KvtmlReader::Pass::endElement(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto* pass = static_cast<Pass*>(context);
    if (!pass->stopped_) {
        pass->end();
    }
}

void KvtmlReader::Pass::start(std::string_view name, int attributes, const xmlChar** attributeList) {
    path_.emplace_back(name);
    const std::size_t depth = path_.size();
    if (depth == 1) {
        if (name != "kvtml") {
            stop("this is not a KVTML file (its root element is <" + std::string(name) + ">)");
        } else if (attributeText(attributes, attributeList, "version").starts_with("1")) {
            stop("KVTML version 1 files are not read; version 2 is");
        }
        return;
    }
    if (target_ != nullptr) {
        return;  // inside a text being read (<firstperson><text>...</text>)
    }
    const std::string& section = at(2);
    if (section == "information" && depth == 3 && name == "title" && mode_ == Mode::Head) {
        capture(&head_.title);
    } else if (section == "identifiers" && mode_ == Mode::Head) {
        if (depth == 3 && name == "identifier") {
            head_.identifiers.emplace_back();
            identifier_ = &head_.identifiers.back();
            identifier_->id = attributeNumber(attributes, attributeList, "id").value_or(
                static_cast<int>(head_.identifiers.size()) - 1);
        } else if (depth > 3 && identifier_ != nullptr) {
            startInIdentifier(name);
        }
    } else if (section == "tenses" && depth == 3 && name == "tense" && mode_ == Mode::Head) {
        head_.documentTenses.emplace_back();
        capture(&head_.documentTenses.back());
    } else if (section == "wordtypedefinitions" && mode_ == Mode::Head && depth >= 3) {
        startInWordTypes(name);
    } else if (section == "entries" && depth >= 3) {
        startInEntry(name, attributes, attributeList);
    } else if (section == "lessons" && mode_ == Mode::Head && depth >= 3) {
        startInLessons(name, attributes, attributeList);
    }
}

void KvtmlReader::Pass::startInIdentifier(std::string_view name) {
    const std::size_t depth = path_.size();
    KvtmlIdentifier& identifier = *identifier_;
    if (depth == 4 && name == "name") {
        capture(&identifier.name);
    } else if (depth == 4 && name == "locale") {
        capture(&identifier.locale);
    } else if (depth == 4 && name == "tense") {
        identifier.tenses.emplace_back();
        capture(&identifier.tenses.back());
    } else if (depth == 7 && at(4) == "article") {
        const int number = numberIndex(at(5));
        const int definite = indexOf(at(6), {"definite", "indefinite"});
        const int gender = genderIndex(name);
        if (number >= 0 && definite >= 0 && gender >= 0) {
            capture(&identifier.articles[number][definite][gender]);
        }
    } else if (depth == 5 && at(4) == "personalpronouns") {
        if (name == "malefemaledifferent") {
            identifier.pronouns.maleFemaleDifferent = true;
        } else if (name == "neutralexists") {
            identifier.pronouns.neutralExists = true;
        } else if (name == "dualexists") {
            identifier.pronouns.dualExists = true;
        }
    } else if (depth == 6 && at(4) == "personalpronouns") {
        const int number = numberIndex(at(5));
        const int person = personIndex(name);
        if (number >= 0 && person >= 0) {
            capture(&identifier.pronouns.texts[number][person]);
        }
    }
}

void KvtmlReader::Pass::startInWordTypes(std::string_view name) {
    if (name == "wordtypedefinition" && path_.size() == 3) {
        head_.wordTypes.emplace_back();
        wordTypes_.assign(1, &head_.wordTypes.back());
    } else if (name == "subwordtypedefinition" && !wordTypes_.empty()) {
        KvtmlWordType* parent = wordTypes_.back();
        parent->subtypes.emplace_back();
        wordTypes_.push_back(&parent->subtypes.back());
    } else if (name == "typename" && !wordTypes_.empty()) {
        capture(&wordTypes_.back()->name);
    } else if (name == "specialwordtype" && !wordTypes_.empty()) {
        capture(&wordTypes_.back()->special);
    }
}

void KvtmlReader::Pass::startInEntry(std::string_view name, int attributes, const xmlChar** attributeList) {
    const std::size_t depth = path_.size();
    if (depth == 3 && name == "entry") {
        if (mode_ == Mode::Head) {
            ++head_.entries;
        }
        entry_ = KvtmlEntry();
        entry_.id = attributeNumber(attributes, attributeList, "id").value_or(-1);
        entry_.line = static_cast<unsigned>(std::max(0, libxml2Library().lineNumber(parser_)));
        return;
    }
    if (depth == 4 && name == "translation") {
        translationId_ = attributeNumber(attributes, attributeList, "id").value_or(-1);
        translation_ = nullptr;
        if (mode_ == Mode::Entries) {
            entry_.translations.emplace_back(translationId_, KvtmlTranslation());
            translation_ = &entry_.translations.back().second;
        }
        return;
    }
    if (depth < 5 || at(4) != "translation") {
        return;
    }
    if (mode_ == Mode::Head) {
        // Only the tense names conjugations use, for languages made from the file.
        if (depth == 6 && name == "tense" && at(5) == "conjugation") {
            capture(&scratch_);
        }
        return;
    }
    if (translation_ == nullptr) {
        return;
    }
    KvtmlTranslation& translation = *translation_;
    if (depth == 5) {
        conjugation_ = nullptr;
        if (name == "text") {
            capture(&translation.text);
        } else if (name == "pronunciation") {
            capture(&translation.pronunciation);
        } else if (name == "comment") {
            capture(&translation.comment);
        } else if (name == "usage") {
            translation.usages.emplace_back();
            capture(&translation.usages.back());
        } else if (name == "conjugation") {
            translation.conjugations.emplace_back();
            conjugation_ = &translation.conjugations.back();
        }
    } else if (depth == 6 && at(5) == "wordtype") {
        if (name == "typename") {
            capture(&translation.typeName);
        } else if (name == "subtypename") {
            capture(&translation.subTypeName);
        }
    } else if (depth == 6 && at(5) == "conjugation" && conjugation_ != nullptr) {
        number_ = numberIndex(name);
        if (name == "tense") {
            capture(&conjugation_->tense);
        }
    } else if (depth == 7 && at(5) == "conjugation" && conjugation_ != nullptr && number_ >= 0) {
        const int person = personIndex(name);
        if (person >= 0) {
            capture(&conjugation_->forms[number_][person]);
        }
    }
}

std::wstring KvtmlReader::Pass::lessonPath(const std::wstring& name) const {
    if (containers_.size() < 2) {
        return name;
    }
    return head_.lessons[containers_[containers_.size() - 2]] + L"::" + name;
}

void KvtmlReader::Pass::startInLessons(std::string_view name, int attributes, const xmlChar** attributeList) {
    const std::size_t level = containers_.size();
    if (name == "container") {
        if (siblings_.size() <= level) {
            siblings_.resize(level + 1, 0);
        }
        const unsigned position = ++siblings_[level];
        siblings_.resize(level + 1);
        containers_.push_back(static_cast<unsigned>(head_.lessons.size()));
        head_.lessons.push_back(lessonPath(L"Lesson " + std::to_wstring(position)));
    } else if (name == "name" && level > 0 && path_.size() == 3 + level) {
        capture(&scratch_);
    } else if (name == "entry" && level > 0) {
        if (std::optional<int> id = attributeNumber(attributes, attributeList, "id")) {
            head_.lessonOfEntry.emplace(*id, containers_.back());
        }
    }
}

void KvtmlReader::Pass::end() {
    const std::size_t depth = path_.size();
    if (target_ != nullptr && depth == captureDepth_) {
        *target_ = wide(trimmedView(text_));
        target_ = nullptr;
        const std::string& name = path_.back();
        if (mode_ == Mode::Head && at(2) == "lessons" && name == "name" && !containers_.empty()) {
            if (!scratch_.empty()) {
                head_.lessons[containers_.back()] = lessonPath(scratch_);
            }
        } else if (mode_ == Mode::Head && at(2) == "entries" && name == "tense" && !scratch_.empty()) {
            std::vector<std::wstring>& tenses = head_.conjugationTenses[translationId_];
            if (std::find(tenses.begin(), tenses.end(), scratch_) == tenses.end()) {
                tenses.push_back(scratch_);
            }
        }
    }
    const std::string& name = path_.back();
    if (depth >= 3 && at(2) == "wordtypedefinitions" &&
        (name == "wordtypedefinition" || name == "subwordtypedefinition") && !wordTypes_.empty()) {
        wordTypes_.pop_back();
    } else if (depth >= 3 && at(2) == "lessons" && name == "container" && !containers_.empty()) {
        containers_.pop_back();
    } else if (depth == 3 && at(2) == "entries" && name == "entry" && mode_ == Mode::Entries) {
        ready.push_back(std::move(entry_));
        entry_ = KvtmlEntry();
        translation_ = nullptr;
    } else if (depth == 3 && at(2) == "identifiers") {
        identifier_ = nullptr;
    } else if (depth == 5 && name == "conjugation") {
        conjugation_ = nullptr;
    }
    path_.pop_back();
}

KvtmlReader::KvtmlReader(std::string_view bytes) : bytes_(bytes) {}

KvtmlReader::~KvtmlReader() = default;

bool KvtmlReader::readHead() {
    head_ = KvtmlHead();
    error_ = KvtmlError();
    {
        Pass pass(bytes_, Pass::Mode::Head, head_, error_);
        while (pass.feed()) {
        }
    }
    restart();
    return error() == nullptr;
}

void KvtmlReader::restart() {
    pass_ = std::make_unique<Pass>(bytes_, Pass::Mode::Entries, head_, error_);
}

bool KvtmlReader::next(KvtmlEntry& entry) {
    if (error() != nullptr || pass_ == nullptr) {
        return false;
    }
    while (pass_->ready.empty() && pass_->feed()) {
    }
    if (pass_->ready.empty()) {
        return false;
    }
    entry = std::move(pass_->ready.front());
    pass_->ready.pop_front();
    return true;
}

std::size_t KvtmlReader::bytesRead() const {
    return pass_ == nullptr ? 0 : std::min(pass_->fed(), bytes_.size());
}

}  // namespace exchange
