#pragma once

// The ledger tool as it is installed: a copy of sorakado-ledger in a temporary folder beside a new,
// empty Sorakado.mdb, run as the user runs it.

#include "support/ledger_tool_run.h"

#include "store/ledger.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace sorakado::testing {

// The files in folder, but the program's lock file, which stays in the program folder for good.
inline std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec))
        if (item.path().filename() != ".sorakado.lock")
            names.insert(item.path().filename().string());
    return names;
}

// A fixture's SetUp calls this one first and then fills the ledger as its tests need.
class ToolBesideLedger : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        tool_ = copyToolInto(folder());
        Ledger::create(ledger());
    }
    ToolResult run(const std::vector<std::string>& args) { return runTool(tool_, args, folder()); }
    std::filesystem::path folder() const { return dir_.path().toStdString(); }
    std::filesystem::path ledger() const { return folder() / Ledger::kFileName; }
    std::filesystem::path journal() const { return folder() / "Sorakado.mdb-journal"; }
    std::filesystem::path backups() const { return folder() / "backups"; }

    QTemporaryDir dir_;
    std::filesystem::path tool_;
};

} // namespace sorakado::testing
