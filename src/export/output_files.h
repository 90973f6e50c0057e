#pragma once

#include "platform/platform.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorakado::exporting {

// Why files could not be written, in one Japanese line; nothing is left under a final name.
class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct OutputFile {
    std::string name; // a file name inside the folder, no folder part
    std::string bytes;
};

// Writes every file into folder (the current one when empty), or none of them. Refuses (before writing
// anything) a name that is already taken, unless overwrite is set. Each file is written in full under a
// hidden temporary name in the same folder, flushed to disk, and only then renamed to its name, so no reader
// ever sees half a file; on any failure the temporary files are removed, and so are the files this call
// already put in place, as long as nothing was overwritten. New files are readable by their owner only, like
// the ledger they come from. Throws OutputError.
//
// The set is recorded (platform::PublishRecord) before the first rename, and the folder is
// tidied (platform::tidyFolder) before anything else: a run killed among its renames is finished
// by the next one, so the folder holds every file of it or none even across a crash, and the
// hidden files of runs killed earlier are removed.
void writeAllOrNothing(const std::filesystem::path& folder, const std::vector<OutputFile>& files,
                       bool overwrite);

// A message text with %1 (and %2) replaced.
std::string fillIn(std::string text, const std::string& first, const std::string& second = {});

} // namespace sorakado::exporting
