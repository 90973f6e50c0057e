// readLegacyFile: mdbtools reads the old file in a child process, which hands the tables back
// through a pipe. A file damaged in a way the page checks do not foresee can then crash or end
// only the child; the import goes on to say the file is damaged and writes nothing.

#include "legacy_reader.h"

#include "import_texts.h"

#include "platform/platform.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace sorakado::legacy {

namespace {

namespace texts = import_texts;

constexpr char kTablesFollow = 'T';
constexpr char kRefusalFollows = 'E';

class Encoder {
public:
    void number(std::uint64_t n) {
        for (int i = 0; i < 8; ++i)
            out_ += char((n >> (8 * i)) & 0xff);
    }
    void text(std::string_view s) {
        number(s.size());
        out_ += s;
    }
    void value(const LegacyValue& v) {
        out_ += v ? '\1' : '\0';
        if (v)
            text(*v);
    }
    void list(const std::vector<std::string>& items) {
        number(items.size());
        for (const auto& s : items)
            text(s);
    }
    void table(const LegacyTable& t) {
        text(t.name);
        list(t.columns);
        list(t.columnTypes);
        number(t.rows.size());
        for (const auto& row : t.rows) {
            number(row.size());
            for (const auto& v : row)
                value(v);
        }
        list(t.unreadableRows);
    }
    std::string& out() { return out_; }

private:
    std::string out_;
};

// Reads what Encoder wrote; any shortfall means the child did not finish, and reads as false.
class Decoder {
public:
    explicit Decoder(std::string_view in) : in_(in) {}
    bool number(std::uint64_t& n) {
        if (in_.size() < 8)
            return false;
        n = 0;
        for (int i = 0; i < 8; ++i)
            n |= std::uint64_t(static_cast<unsigned char>(in_[i])) << (8 * i);
        in_.remove_prefix(8);
        return true;
    }
    bool text(std::string& s) {
        std::uint64_t n = 0;
        if (!number(n) || in_.size() < n)
            return false;
        s.assign(in_.substr(0, n));
        in_.remove_prefix(n);
        return true;
    }
    bool value(LegacyValue& v) {
        if (in_.empty())
            return false;
        bool present = in_[0] != '\0';
        in_.remove_prefix(1);
        if (!present) {
            v.reset();
            return true;
        }
        v.emplace();
        return text(*v);
    }
    bool list(std::vector<std::string>& items) {
        std::uint64_t n = 0;
        if (!number(n) || n > in_.size())
            return false;
        items.resize(n);
        for (auto& s : items)
            if (!text(s))
                return false;
        return true;
    }
    bool table(LegacyTable& t) {
        std::uint64_t rows = 0;
        if (!text(t.name) || !list(t.columns) || !list(t.columnTypes) || !number(rows) || rows > in_.size())
            return false;
        t.rows.resize(rows);
        for (auto& row : t.rows) {
            std::uint64_t n = 0;
            if (!number(n) || n > in_.size())
                return false;
            row.resize(n);
            for (auto& v : row)
                if (!value(v))
                    return false;
        }
        return list(t.unreadableRows);
    }
    bool atEnd() const { return in_.empty(); }

private:
    std::string_view in_;
};

// What the child hands back: the tables, or the reader's refusal. mdbtools writes its own
// warnings, in English, to the standard streams, which go nowhere; the parent reports in its
// words.
std::string readAndEncode(const std::filesystem::path& path, LegacyFileReader reader) {
    Encoder message;
    try {
        LegacyFile file = reader(path);
        message.out() += kTablesFollow;
        message.table(file.members);
        message.table(file.incomes);
        message.table(file.categories);
        message.table(file.entries);
    } catch (const LegacyReadError& e) {
        message.out().assign(1, kRefusalFollows);
        message.text(e.what());
    }
    return std::move(message.out());
}

} // namespace

LegacyFile readLegacyFile(const std::filesystem::path& path) {
    return readInChildProcess(path, readLegacyFileInProcess);
}

namespace {

unsigned readingTimeLimit(std::uintmax_t fileBytes) {
    // A whole ledger of years reads in well under a second per MiB (a small one in half a
    // second, processor time that a busy machine does not stretch); five seconds and two per MiB
    // leave room for a sanitizer build.
    return 5 + static_cast<unsigned>(std::min<std::uintmax_t>(fileBytes >> 20, 1u << 20) * 2);
}

} // namespace

LegacyFile readInChildProcess(const std::filesystem::path& path, LegacyFileReader reader) {
    // mdbtools follows the page chains of memo values and column properties as the file gives
    // them: a chain made to loop back keeps it reading for ever, so the reading child has a
    // limit of processor time scaled to the file; a child stopped there means a damaged file.
    std::error_code sizeUnknown;
    const std::uintmax_t bytes = std::filesystem::file_size(path, sizeUnknown);
    const auto run = platform::runInChildProcess([&] { return readAndEncode(path, reader); },
                                                 readingTimeLimit(sizeUnknown ? 0 : bytes));
    if (!run.started)
        throw LegacyReadError(texts::kReaderFailed);
    const std::string& data = run.output;
    const bool finished = run.finished && !data.empty();
    Decoder in(std::string_view(data).substr(finished ? 1 : 0));
    if (finished && data[0] == kRefusalFollows) {
        std::string why;
        if (in.text(why) && in.atEnd())
            throw LegacyReadError(why);
    } else if (finished && data[0] == kTablesFollow) {
        LegacyFile file;
        if (in.table(file.members) && in.table(file.incomes) && in.table(file.categories) &&
            in.table(file.entries) && in.atEnd())
            return file;
    }
    throw LegacyReadError(texts::oldFileReadCrashed(path));
}

} // namespace sorakado::legacy
