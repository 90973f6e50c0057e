#pragma once

// A fresh encrypted ledger in its own temporary folder, removed with the object. The seeding
// functions come with it.

#include "store/ledger.h"
#include "store/testing/ledger_seed.h"

#include <QTemporaryDir>

#include <filesystem>

namespace sorakado::testing {

class TempLedger {
public:
    TempLedger() : path_(std::filesystem::path(dir_.path().toStdString()) / Ledger::kFileName) {
        Ledger::create(path_);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path folder() const { return path_.parent_path(); }
    Ledger open() const { return Ledger::open(path_); }

private:
    QTemporaryDir dir_;
    std::filesystem::path path_;
};

} // namespace sorakado::testing
