#include "exchange/Refusal.h"

#include "exchange/ExchangeText.h"

namespace exchange {

std::wstring fieldName(RowField field) {
    switch (field) {
    case RowField::Foreign: return text2(String2_FIELD_FOREIGN);
    case RowField::Known: return text2(String2_FIELD_KNOWN);
    case RowField::Article: return text2(String2_FIELD_ARTICLE);
    case RowField::Pronunciation: return text2(String2_FIELD_PRONUNCIATION);
    case RowField::Mnemonic: return text2(String2_FIELD_MNEMONIC);
    case RowField::Lesson: return text2(String2_FIELD_LESSON);
    case RowField::Category: return text2(String2_FIELD_CATEGORY);
    }
    return {};
}

std::wstring describe(const Refusal& refusal) {
    std::wstring reason;
    switch (refusal.kind) {
    case RefusalKind::None: break;
    case RefusalKind::BadEncoding:
        reason = fillIn(text2(String2_REFUSAL_BAD_ENCODING), {std::to_wstring(refusal.column)});
        break;
    case RefusalKind::UnclosedQuote: reason = text2(String2_REFUSAL_UNCLOSED_QUOTE); break;
    case RefusalKind::NoForeignWord: reason = text2(String2_REFUSAL_NO_FOREIGN); break;
    case RefusalKind::NoKnownWord: reason = text2(String2_REFUSAL_NO_KNOWN); break;
    case RefusalKind::TooLong:
        reason = fillIn(text2(String2_REFUSAL_TOO_LONG), {fieldName(refusal.field), std::to_wstring(refusal.length),
                                                          std::to_wstring(MAX_FIELD_CHARACTERS)});
        break;
    case RefusalKind::UnknownArticle:
        reason = fillIn(text2(String2_REFUSAL_UNKNOWN_ARTICLE), {refusal.text});
        break;
    }
    return fillIn(text2(String2_REFUSED_LINE), {std::to_wstring(refusal.line), reason});
}

}  // namespace exchange
