#pragma once

// Reading the four tables of an old Access (Jet 4.0) ledger through the mdbtools library.
// Values come back as the text mdbtools renders them, in the C numeric locale and as UTF-8
// whatever the environment says; turning them into keys and amounts is the importer's job.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorakado::legacy {

// The old file cannot be read as a whole: not a Jet 4.0 database, truncated, damaged, or
// lacking a table or column. The message says which and why, in full.
class LegacyReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using LegacyValue = std::optional<std::string>; // nullopt for Null

struct LegacyTable {
    std::string name;
    std::vector<std::string> columns;     // as asked for, in this order in every row
    std::vector<std::string> columnTypes; // the file's type of each column, for the report
    // Rows in storage order (the order a full scan of the old file returns them).
    std::vector<std::vector<LegacyValue>> rows;
    // Rows the file holds that could not be taken apart, by where they are ("page 41, slot 3").
    std::vector<std::string> unreadableRows;
};

struct LegacyFile {
    LegacyTable members;    // 名前: 名前ID, 名前
    LegacyTable incomes;    // 収入: 名前ID, 年月, 収入
    LegacyTable categories; // 品目: 品目ID, 品目
    LegacyTable entries;    // DATA: DATAID, 年月日, 品目ID, 内容, 金額
};

// Reads the whole file into memory. The file is opened read-only and its database password is
// neither needed nor checked. Throws LegacyReadError.
//
// mdbtools does the reading in a child process: whatever a damaged file makes it do (crash,
// end the process, print its own warnings), the caller gets a LegacyReadError and goes on.
LegacyFile readLegacyFile(const std::filesystem::path& path);

// The same read in this process, as the child does it. The page numbers and maps mdbtools
// follows are checked before it follows them, but damage those checks miss can still crash
// mdbtools here; everything but the child and the fuzzer calls readLegacyFile.
LegacyFile readLegacyFileInProcess(const std::filesystem::path& path);

// Runs `reader` on `path` in a child process and hands back what it returned, or the
// LegacyReadError it threw. When the child ends any other way (a signal, exit, a broken
// answer), throws a LegacyReadError saying the file is damaged. readLegacyFile is this with
// readLegacyFileInProcess.
using LegacyFileReader = LegacyFile (*)(const std::filesystem::path&);
LegacyFile readInChildProcess(const std::filesystem::path& path, LegacyFileReader reader);

} // namespace sorakado::legacy
