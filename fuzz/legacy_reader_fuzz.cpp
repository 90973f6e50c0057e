// The old-ledger reader on damaged Jet files: whatever the bytes, it reads the four tables or
// refuses the file with LegacyReadError, and every row it gives back has a value per column.
// The bytes go to an anonymous in-memory file, since mdbtools opens files by name.

#include "fuzz_check.h"
#include "ledgertool/legacy_reader.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace {

void checkTable(const sorakado::legacy::LegacyTable& table) {
    FUZZ_CHECK(table.columnTypes.size() == table.columns.size());
    for (const auto& row : table.rows)
        FUZZ_CHECK(row.size() == table.columns.size());
}

int memoryFile() {
    static const int fd = memfd_create("legacy-fuzz", 0);
    FUZZ_CHECK(fd >= 0);
    return fd;
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    if (ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0)
        return false;
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n <= 0)
            return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = memoryFile();
    FUZZ_CHECK(writeAll(fd, data, size));
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    try {
        const auto file = sorakado::legacy::readLegacyFile(path);
        checkTable(file.members);
        checkTable(file.incomes);
        checkTable(file.categories);
        checkTable(file.entries);
    } catch (const sorakado::legacy::LegacyReadError&) {
        // A refusal is an answer.
    }
    return 0;
}

// Damage the way a disk or a crash does: a few bytes somewhere inside one page, the file keeping
// its size, so most inputs get past the header checks into mdbtools' page walking. Inputs that
// are not whole pages are left to libFuzzer's own mutations.
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    constexpr std::size_t kPage = 4096;
    constexpr std::size_t kWindow = 16;
    if (size < kPage || size % kPage != 0 || (seed & 15) == 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::minstd_rand random(seed);
    const std::size_t at = random() % (size - kWindow);
    LLVMFuzzerMutate(data + at, kWindow, kWindow);
    return size;
}
