#pragma once

// The rows of delimited text, by the role the user gives each column. Fields are decoded
// strictly (a field that is not valid text refuses its row), HTML fields turned into text when
// the header says so, a tags column split at blanks into categories ("_" read as a blank), and
// the header's deck and tags given to every row.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/DelimitedReader.h"
#include "exchange/ImportRow.h"

namespace exchange {

enum class ColumnRole { Ignore, Foreign, Known, Article, Pronunciation, Mnemonic, Lesson, Category, Tags };

inline constexpr ColumnRole ALL_ROLES[] = {ColumnRole::Foreign,  ColumnRole::Known,         ColumnRole::Article,
                                           ColumnRole::Pronunciation, ColumnRole::Mnemonic, ColumnRole::Lesson,
                                           ColumnRole::Category, ColumnRole::Tags,          ColumnRole::Ignore};

// The role's name on the command line ("foreign", "known", ..., "skip").
const char* roleName(ColumnRole role);
std::optional<ColumnRole> roleNamed(std::string_view name);

// The roles a file suggests: by the names of its #columns: line (Front, Back, Pronunciation, ...),
// its tags and deck columns, otherwise the first column foreign and the second known.
std::vector<ColumnRole> suggestedRoles(const DelimitedReader& reader, std::size_t columns);
// The number of columns: the most fields among the first records, or the names given.
std::size_t columnCount(DelimitedReader& reader);

class DelimitedRows : public RowSource {
public:
    DelimitedRows(DelimitedReader& reader, std::vector<ColumnRole> roles);

    bool next(ImportRow& row) override;
    void restart() override { reader_.restart(); }
    double progress() const override;

private:
    void take(ColumnRole role, const std::wstring& field, ImportRow& row) const;

    DelimitedReader& reader_;
    std::vector<ColumnRole> roles_;
    std::vector<std::wstring> headerTags_;
    std::wstring headerDeck_;
    DelimitedRecord record_;
    std::wstring field_;
};

// Tags as categories: split at blanks, each "_" a blank.
std::vector<std::wstring> categoriesOfTags(const std::wstring& tags);

}  // namespace exchange
