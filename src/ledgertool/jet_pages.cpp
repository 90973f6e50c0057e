#include "jet_pages.h"

namespace sorakado::legacy {

namespace {

// Offsets mdbtools uses for Jet 4.0 (its MdbFormatConstants for version 4).
constexpr std::size_t kPageTypeOffset = 0;
constexpr std::size_t kNextDefinitionPageOffset = 4;
constexpr std::size_t kRowCountOffset = 0x0c;
constexpr std::size_t kRowTableOffset = kRowCountOffset + 2;
constexpr std::size_t kUsageMapOffset = 55;
constexpr std::size_t kFreeMapOffset = 59;

constexpr unsigned char kTableDefinitionPage = 0x02;
constexpr unsigned kRowOffsetMask = 0x1fff;

// The two kinds of usage map: an inline bitmap after a start page, or a list of bitmap pages.
constexpr unsigned char kInlineMap = 0;
constexpr unsigned char kPageListMap = 1;
constexpr std::size_t kInlineMapHeader = 5;

std::uint32_t int16At(const std::vector<unsigned char>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8;
}

std::uint32_t int32At(const std::vector<unsigned char>& b, std::size_t at) {
    return int16At(b, at) | int16At(b, at + 2) << 16;
}

} // namespace

JetPages::JetPages(const std::filesystem::path& path) : in_(path, std::ios::binary) {
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    if (in_ && !ec && size % kPageSize == 0)
        pageCount_ = size / kPageSize;
}

bool JetPages::readPage(std::uint64_t page, std::vector<unsigned char>& into) {
    if (page >= pageCount_)
        return false;
    into.resize(kPageSize);
    in_.clear();
    in_.seekg(std::streamoff(page * kPageSize));
    in_.read(reinterpret_cast<char*>(into.data()), std::streamsize(kPageSize));
    return in_.gcount() == std::streamsize(kPageSize);
}

std::optional<std::vector<unsigned char>> JetPages::rowBytes(std::uint64_t page, unsigned row) {
    std::vector<unsigned char> b;
    if (page == 0 || !readPage(page, b))
        return std::nullopt;
    std::uint32_t rows = int16At(b, kRowCountOffset);
    if (row >= rows || kRowTableOffset + 2 * std::size_t(rows) > kPageSize)
        return std::nullopt;
    std::uint32_t pointer = int16At(b, kRowTableOffset + 2 * row);
    // A deleted or moved row has flag bits above the offset; a map never lives in one.
    if ((pointer & ~kRowOffsetMask) != 0)
        return std::nullopt;
    std::size_t start = pointer;
    std::size_t end = row == 0 ? kPageSize : (int16At(b, kRowTableOffset + 2 * (row - 1)) & kRowOffsetMask);
    if (start < kRowTableOffset + 2 * std::size_t(rows) || end <= start || end > kPageSize)
        return std::nullopt;
    return std::vector<unsigned char>(b.begin() + std::ptrdiff_t(start), b.begin() + std::ptrdiff_t(end));
}

bool JetPages::usageMapIsSound(const std::vector<unsigned char>& map) {
    switch (map[0]) {
    case kInlineMap:
        return map.size() >= kInlineMapHeader;
    case kPageListMap:
        // A bitmap page past the end makes mdbtools fall back to reading every page, and the
        // row count check then tells a truncated file from a whole one.
        return true;
    default:
        return false;
    }
}

bool JetPages::tableDefinitionIsSound(std::uint64_t page) {
    std::vector<unsigned char> b;
    if (!readPage(page, b) || b[kPageTypeOffset] != kTableDefinitionPage)
        return false;
    std::uint32_t next = int32At(b, kNextDefinitionPageOffset);
    if (next >= pageCount_)
        return false;
    // A map pointer is a row on a page: the page number above the low byte, the row below.
    std::uint32_t usage = int32At(b, kUsageMapOffset);
    std::uint32_t free = int32At(b, kFreeMapOffset);
    auto usageMap = rowBytes(usage >> 8, usage & 0xff);
    if (!usageMap || !usageMapIsSound(*usageMap))
        return false;
    return rowBytes(free >> 8, free & 0xff).has_value();
}

} // namespace sorakado::legacy
