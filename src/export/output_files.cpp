#include "output_files.h"

#include "texts.h"

#include "platform/platform.h"

namespace sorakado::exporting {

namespace {

[[noreturn]] void fail(const char* text, const std::string& first, const std::string& second = {}) {
    throw OutputError(fillIn(text, first, second) + texts::kNothingWritten);
}

// One file of the batch from its temporary name to its final one.
struct Staged {
    std::filesystem::path temp;
    std::filesystem::path final;
    bool published = false;
};

// Renames temp to final; without overwrite, atomically refuses a final name that appeared
// since the check (another program may be writing into the same folder).
platform::Outcome publish(const Staged& s, bool overwrite) {
    return overwrite ? platform::replaceAtomically(s.temp, s.final) : platform::publishNew(s.temp, s.final);
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
    const platform::FileFacts facts = platform::fileFacts(folder);
    if (!facts.found) {
        if (facts.found.failure == platform::Failure::Missing)
            fail(texts::kFolderMissing, shown);
        fail(texts::kFolderNotWritable, shown, platform::reasonText(facts.found));
    }
    if (!facts.folder)
        fail(texts::kNotAFolder, shown);
    if (const platform::Outcome writable = platform::mayWriteInto(folder); !writable)
        fail(texts::kFolderNotWritable, shown, platform::reasonText(writable));

    // Before the names are looked at: an export killed among its renames is finished first, so
    // its files are all there (and this one then finds them), never some of them.
    platform::tidyFolder(folder);

    std::vector<Staged> staged;
    for (const auto& file : files) {
        auto final = named / file.name;
        std::error_code taken;
        if (!overwrite && std::filesystem::exists(std::filesystem::symlink_status(final, taken)))
            fail(texts::kFileExists, final.string());
        staged.push_back({{}, final});
    }

    auto removeOurs = [&staged] {
        for (const auto& s : staged) {
            if (!s.temp.empty() && !s.published)
                platform::removeFile(s.temp);
            if (s.published)
                platform::removeFile(s.final);
        }
    };

    for (std::size_t i = 0; i < files.size(); ++i) {
        platform::Outcome refused;
        const auto temp = platform::createTemporaryBeside(folder / files[i].name, "export", &refused);
        if (!temp) {
            removeOurs();
            fail(texts::kFolderNotWritable, shown, platform::reasonText(refused));
        }
        staged[i].temp = *temp;
        if (const platform::Outcome written = platform::writeDurably(*temp, files[i].bytes); !written) {
            removeOurs();
            fail(texts::kWriteFailed, staged[i].final.string(), platform::reasonText(written));
        }
    }

    // Written to the disk before the first rename: killed among them, this export is finished
    // by the next writer in the folder.
    std::vector<platform::Move> moves;
    for (const auto& s : staged)
        moves.push_back({s.temp, s.final});
    platform::Outcome unrecorded;
    auto record = platform::PublishRecord::write(folder, moves, overwrite, &unrecorded);
    if (!record) {
        removeOurs();
        fail(texts::kFolderNotWritable, shown, platform::reasonText(unrecorded));
    }

    for (auto& s : staged) {
        if (const platform::Outcome published = publish(s, overwrite); !published) {
            if (published.failure == platform::Failure::Exists)
                removeOurs(), fail(texts::kFileExists, s.final.string());
            bool replacedSome = overwrite && &s != &staged.front();
            if (!replacedSome)
                removeOurs(), fail(texts::kWriteFailed, s.final.string(), platform::reasonText(published));
            // An overwritten file cannot be brought back: say so instead of claiming nothing changed.
            for (const auto& t : staged)
                if (!t.published)
                    platform::removeFile(t.temp);
            throw OutputError(fillIn(texts::kWriteFailed, s.final.string(), platform::reasonText(published)));
        }
        s.published = true;
    }
    platform::syncFolder(folder);
}

} // namespace sorakado::exporting
