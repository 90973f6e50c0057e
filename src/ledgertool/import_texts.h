#pragma once

// What `sorakado-ledger import` tells the user, in one place.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace sorakado::legacy::import_texts {

inline std::string quotePath(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

// Reading the old file.
inline constexpr const char* kLocaleFailed =
    "The C locale is not available, so numbers cannot be read safely.";
inline constexpr const char* kIconvFailed = "The UTF-16 to UTF-8 text converter is not available.";
inline constexpr const char* kMemoDisabled = "The MDBOPTS environment variable contains no_memo, which would "
                                             "empty long texts. Unset it and try again.";

inline std::string oldFileMissing(const std::filesystem::path& p) {
    return "The old ledger file was not found: " + quotePath(p) + ".";
}
inline std::string oldFileUnreadable(const std::filesystem::path& p, const std::string& why) {
    return "The old ledger file cannot be read (" + why + "): " + quotePath(p) + ".";
}
inline std::string oldFileNotJet(const std::filesystem::path& p) {
    return quotePath(p) + " is not a Microsoft Access (Jet) database.";
}
inline std::string oldFileNotJet4(const std::filesystem::path& p) {
    return quotePath(p) + " is an Access database, but not in the Access 2000-2003 (Jet 4.0) format that the "
                          "old program used.";
}
inline std::string oldFileDamaged(const std::filesystem::path& p) {
    return quotePath(p) + " is truncated or damaged: its pages cannot be read.";
}
inline std::string oldTableMissing(const std::filesystem::path& p, const std::string& table) {
    return quotePath(p) + " has no table " + table + ": it is not a Sorakado ledger, or it is damaged.";
}
inline std::string oldColumnMissing(const std::filesystem::path& p, const std::string& table,
                                    const std::string& column) {
    return "The table " + table + " in " + quotePath(p) + " has no column " + column + ".";
}
inline std::string oldColumnType(const std::filesystem::path& p, const std::string& table,
                                 const std::string& column, const std::string& type) {
    return "The column " + table + "." + column + " in " + quotePath(p) + " holds " + type +
           " values, which this import cannot carry over.";
}
inline std::string oldRowsMissing(const std::filesystem::path& p, const std::string& table,
                                  std::uint64_t declared, std::uint64_t found) {
    return quotePath(p) + " is truncated or damaged: its table " + table + " holds " +
           std::to_string(declared) + " rows, but only " + std::to_string(found) + " can be found.";
}
inline std::string rowPlace(std::uint64_t page, int slot) {
    return "page " + std::to_string(page) + ", slot " + std::to_string(slot);
}

// Writing the new ledger.
inline constexpr const char* kNothingWritten = "Nothing was written.";
inline std::string targetExists(const std::filesystem::path& p) {
    return quotePath(p) + " already exists. The import never overwrites a ledger: name another file, or move "
                          "this one away first.";
}
inline std::string targetFolderMissing(const std::filesystem::path& p) {
    return "The folder for the new ledger does not exist: " + quotePath(p) + ".";
}
inline std::string writeFailed(const std::string& why) {
    return "The new ledger could not be written: " + why;
}
inline std::string checkFailed(const std::string& what) {
    return "The new ledger did not read back as written (" + what + ").";
}
inline std::string publishFailed(const std::filesystem::path& p, const std::string& why) {
    return "The new ledger could not be given its name " + quotePath(p) + " (" + why + ").";
}

// Why a row was changed, kept out of view, refused or left for the user.
inline constexpr const char* kOneDigitMonth = "one-digit month; written as ";
inline constexpr const char* kMemberGone = "its member no longer exists";
inline constexpr const char* kMemberNull = "it names no member";
inline constexpr const char* kCategoryGone = "its category no longer exists";
inline constexpr const char* kCategoryNull = "it names no category";
inline constexpr const char* kMonthKeyOdd = "its month key is not of the form yyyy/mm";
inline constexpr const char* kDateOdd = "its date is not of the form yyyy/mm/dd";
inline constexpr const char* kMonthShared =
    "a one-digit row of the same member names this month too; kept as it was";
inline constexpr const char* kKeyNull = "it has no key";
inline constexpr const char* kKeyNotNumber = "its key is not a whole number: ";
inline constexpr const char* kKeyTwice = "its key is already taken by an earlier row";
inline constexpr const char* kUnreadable = "the row could not be read from the old file";
inline constexpr const char* kAmountRounded = "amount has more than four decimals; rounded to ";
inline constexpr const char* kAmountNotNumber = "its amount is not a number: ";
inline constexpr const char* kAmountTooLarge = "its amount is too large to keep exactly: ";
inline std::string monthCollision(const std::string& normalised) {
    return "written as " + normalised + " it would fall on a month the member already has; kept as it was";
}

// The report.
inline constexpr const char* kReportCounts = "Rows per table:";
inline std::string countLine(const std::string& table, std::size_t read, std::size_t written) {
    return "  " + table + ": " + std::to_string(read) + " read, " + std::to_string(written) + " written";
}
inline constexpr const char* kReportChanged = "Changed on the way (imported as shown):";
inline constexpr const char* kReportHidden =
    "Carried over as they were, though the program does not list them (as before):";
inline constexpr const char* kReportNotImported = "Not imported:";
inline constexpr const char* kReportDecisions = "Needs your decision:";
inline constexpr const char* kDecisionAdvice =
    "  Each of these rows was kept exactly as it was; nothing was added together. The program lists only the "
    "two-digit month row (yyyy/mm), as the old one did. If the one-digit row's amount belongs to that month "
    "too, "
    "add it to the listed income in the program.";
inline constexpr const char* kReportComplete = "Every row was imported.";
inline constexpr const char* kReportIncomplete =
    "Some rows were not imported or need your decision (see above); the new ledger holds everything else.";
inline std::string reportTitle(const std::filesystem::path& from, const std::filesystem::path& to) {
    return "Imported " + quotePath(from) + " into " + quotePath(to) + ".";
}

} // namespace sorakado::legacy::import_texts
