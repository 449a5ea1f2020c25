#include "exchange/ImportFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "exchange/ExchangeText.h"
#include "exchange/KvtmlRows.h"
#include "base/Utf8.h"

namespace exchange {

namespace {

// The UTF-8 of the beginning of the file, whatever its encoding, for telling the format.
std::string beginning(std::string_view bytes) {
    const std::size_t look = 4096;
    return decodeFileText(std::string(bytes.substr(0, look))).utf8;
}

bool readWhole(const std::string& path, std::string& bytes, std::wstring& problem) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = fd < 0 ? errno : S_ISREG(info.st_mode) ? errno : EISDIR;
        if (fd >= 0) {
            ::close(fd);
        }
        problem = fillIn(text2(String2_FILE_UNREADABLE), {utf8::decode(path), utf8::decode(std::strerror(error))});
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > MAX_IMPORT_BYTES) {
        ::close(fd);
        problem = fillIn(text2(String2_FILE_TOO_LARGE), {std::to_wstring(MAX_IMPORT_BYTES >> 20)});
        return false;
    }
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    bytes.resize(done);  // a file that shrank while read is taken as far as it went
    return true;
}

}  // namespace

bool looksLikeKvtml(std::string_view bytes) {
    const std::string text = beginning(bytes);
    std::size_t at = 0;
    while (at < text.size()) {
        at = text.find('<', at);
        if (at == std::string::npos) {
            return false;
        }
        if (text.compare(at, 2, "<?") == 0 || text.compare(at, 2, "<!") == 0) {
            at = text.find('>', at);
            if (at == std::string::npos) {
                return false;
            }
            continue;
        }
        return text.compare(at, 6, "<kvtml") == 0;
    }
    return false;
}

std::unique_ptr<ImportFile> ImportFile::open(const std::string& path, std::wstring& problem) {
    std::string bytes;
    if (!readWhole(path, bytes, problem)) {
        return nullptr;
    }
    return fromBytes(std::move(bytes), problem);
}

std::unique_ptr<ImportFile> ImportFile::fromBytes(std::string bytes, std::wstring& problem) {
    if (bytes.size() > MAX_IMPORT_BYTES) {
        problem = fillIn(text2(String2_FILE_TOO_LARGE), {std::to_wstring(MAX_IMPORT_BYTES >> 20)});
        return nullptr;
    }
    std::unique_ptr<ImportFile> file(new ImportFile());
    if (looksLikeKvtml(bytes)) {
        file->format_ = FileFormat::Kvtml;
        file->bytes_ = std::move(bytes);
        file->kvtml_ = std::make_unique<KvtmlReader>(file->bytes_);
        if (!file->kvtml_->readHead()) {
            problem = fillIn(text2(String2_FILE_MALFORMED), {utf8::decode(file->kvtml_->error()->describe())});
            return nullptr;
        }
        return file;
    }
    file->text_ = decodeFileText(std::move(bytes));
    file->delimited_ = std::make_unique<DelimitedReader>(file->text_.utf8);
    file->columns_ = columnCount(*file->delimited_);
    return file;
}

std::unique_ptr<RowSource> ImportFile::rows(const std::vector<ColumnRole>& roles) {
    return std::make_unique<DelimitedRows>(*delimited_, roles);
}

std::unique_ptr<RowSource> ImportFile::rows(int foreignIdentifier, int knownIdentifier) {
    return std::make_unique<KvtmlRows>(*kvtml_, foreignIdentifier, knownIdentifier);
}

}  // namespace exchange
