#include "output_files.h"

#include "texts.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sorakado::exporting {

namespace {

// The usual causes in the user's language; the system's own text for the rest.
std::string reason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "書き込む権限がありません";
    case EROFS:
        return "読み取り専用の場所です";
    case ENOSPC:
    case EDQUOT:
        return "ディスクの空きが足りません";
    case ENOENT:
    case ENOTDIR:
        return "見つかりません";
    default:
        return std::strerror(error);
    }
}

[[noreturn]] void fail(const char* text, const std::string& first, const std::string& second = {}) {
    throw OutputError(fillIn(text, first, second) + texts::kNothingWritten);
}

void writeWhole(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw errno;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        throw errno;
}

// One file of the batch from its temporary name to its final one.
struct Staged {
    std::filesystem::path temp;
    std::filesystem::path final;
    bool published = false;
};

// Renames temp to final; without overwrite, atomically refuses a final name that appeared
// since the check (another program may be writing into the same folder).
int publish(const Staged& s, bool overwrite) {
    if (overwrite)
        return ::rename(s.temp.c_str(), s.final.c_str()) == 0 ? 0 : errno;
    if (::renameat2(AT_FDCWD, s.temp.c_str(), AT_FDCWD, s.final.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without the no-replace rename: link() refuses an existing name just as well.
    if (::link(s.temp.c_str(), s.final.c_str()) != 0)
        return errno;
    ::unlink(s.temp.c_str());
    return 0;
}

void syncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::string fillIn(std::string text, const std::string& first, const std::string& second) {
    for (auto [mark, value] : {std::pair<const char*, const std::string*>{"%1", &first}, {"%2", &second}}) {
        auto at = text.find(mark);
        if (at != std::string::npos)
            text.replace(at, 2, *value);
    }
    return text;
}

void writeAllOrNothing(const std::filesystem::path& named, const std::vector<OutputFile>& files,
                       bool overwrite) {
    // Files are shown as the user named them: "report.pdf", not "./report.pdf".
    const std::filesystem::path folder = named.empty() ? std::filesystem::path(".") : named;
    const std::string shown = folder.string();
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        if (errno == ENOENT)
            fail(texts::kFolderMissing, shown);
        fail(texts::kFolderNotWritable, shown, reason(errno));
    }
    if (!S_ISDIR(st.st_mode))
        fail(texts::kNotAFolder, shown);
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        fail(texts::kFolderNotWritable, shown, reason(errno));

    std::vector<Staged> staged;
    for (const auto& file : files) {
        auto final = named / file.name;
        struct stat existing {};
        if (!overwrite && ::lstat(final.c_str(), &existing) == 0)
            fail(texts::kFileExists, final.string());
        staged.push_back({{}, final});
    }

    auto removeOurs = [&staged] {
        for (const auto& s : staged) {
            if (!s.temp.empty() && !s.published)
                ::unlink(s.temp.c_str());
            if (s.published)
                ::unlink(s.final.c_str());
        }
    };

    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string pattern = (folder / ("." + files[i].name + ".XXXXXX")).string();
        int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            int error = errno;
            removeOurs();
            fail(texts::kFolderNotWritable, shown, reason(error));
        }
        staged[i].temp = pattern;
        try {
            writeWhole(fd, files[i].bytes);
        } catch (int error) {
            ::close(fd);
            removeOurs();
            fail(texts::kWriteFailed, staged[i].final.string(), reason(error));
        }
        if (::close(fd) != 0) {
            int error = errno;
            removeOurs();
            fail(texts::kWriteFailed, staged[i].final.string(), reason(error));
        }
    }

    for (auto& s : staged) {
        if (int error = publish(s, overwrite); error != 0) {
            if (error == EEXIST)
                removeOurs(), fail(texts::kFileExists, s.final.string());
            bool replacedSome = overwrite && &s != &staged.front();
            if (!replacedSome)
                removeOurs(), fail(texts::kWriteFailed, s.final.string(), reason(error));
            // An overwritten file cannot be brought back: say so instead of claiming nothing changed.
            for (const auto& t : staged)
                if (!t.published)
                    ::unlink(t.temp.c_str());
            throw OutputError(fillIn(texts::kWriteFailed, s.final.string(), reason(error)));
        }
        s.published = true;
    }
    syncFolder(folder);
}

} // namespace sorakado::exporting
