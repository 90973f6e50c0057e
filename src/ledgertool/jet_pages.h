#pragma once

// The raw pages of a Jet 4.0 file, looked at before mdbtools follows what they point to.
// mdbtools trusts every page number and row pointer it reads: a table definition whose
// usage map points at an empty row makes it read through a null map. These checks refuse such
// a file first, so the reader can say it is damaged instead.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace sorakado::legacy {

class JetPages {
public:
    static constexpr std::size_t kPageSize = 4096;
    // The table definition of the system catalogue, where mdbtools starts every read.
    static constexpr std::uint32_t kCatalogueDefinitionPage = 2;

    // Opens the file for reading pages; false from isOpen() when it cannot be read.
    explicit JetPages(const std::filesystem::path& path);
    bool isOpen() const { return pageCount_ != 0; }
    std::uint64_t pageCount() const { return pageCount_; }

    // True when the table definition on `page` is one mdbtools can follow without leaving the
    // file: its continuation page and its usage and free-space maps lie inside the file, and
    // the usage map is of a kind mdbtools knows, with the length that kind needs.
    bool tableDefinitionIsSound(std::uint64_t page);

private:
    // The bytes of one row of a data-carrying page, or nullopt when its row pointer is out of
    // the page, flagged, or the row is empty.
    std::optional<std::vector<unsigned char>> rowBytes(std::uint64_t page, unsigned row);
    bool readPage(std::uint64_t page, std::vector<unsigned char>& into);
    static bool usageMapIsSound(const std::vector<unsigned char>& map);

    std::ifstream in_;
    std::uint64_t pageCount_ = 0;
};

} // namespace sorakado::legacy
