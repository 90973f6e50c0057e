// Statement files on any bytes: read or refused as a whole, never a crash; a refused file gives
// no row, every row has a real date and a description without surrounding blanks, and every
// problem names a line of the file.

#include "fuzz_check.h"
#include "statement/reader.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto read = sorakado::statement::readStatement(bytes);
    if (read.fileError) {
        FUZZ_CHECK(read.payments.empty());
        FUZZ_CHECK(read.problems.empty());
        return 0;
    }
    const int lines = int(bytes.count('\n') + bytes.count('\r')) + 1;
    for (const auto& line : read.payments) {
        FUZZ_CHECK(line.date.isValid());
        FUZZ_CHECK(line.description == line.description.trimmed());
        FUZZ_CHECK(line.line >= 1 && line.line <= lines);
        FUZZ_CHECK(line.amount.sign() != 0);
    }
    for (const auto& problem : read.problems)
        FUZZ_CHECK(problem.line >= 1 && problem.line <= lines && !problem.why.isEmpty());
    return 0;
}
