#pragma once

// A fresh encrypted ledger in its own temporary folder, removed with the object, and seeding
// straight through SQL so tests do not depend on the editing commands they may be checking.

#include "store/ledger.h"

#include <QTemporaryDir>

#include <filesystem>
#include <optional>
#include <string>

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

inline std::int64_t addMember(Ledger& l, const std::optional<std::string>& name) {
    l.prepare("INSERT INTO 名前(名前) VALUES (?1)", "test").bindOptional(1, name).run();
    return l.lastInsertKey();
}

inline void addIncome(Ledger& l, std::int64_t member, const std::string& monthKey,
                      std::optional<Amount> amount) {
    auto s = l.prepare("INSERT INTO 収入(名前ID, 年月, 収入) VALUES (?1, ?2, ?3)", "test");
    s.bind(1, member).bind(2, monthKey);
    amount ? s.bind(3, *amount) : s.bindNull(3);
    s.run();
}

inline std::int64_t addCategory(Ledger& l, const std::optional<std::string>& name) {
    l.prepare("INSERT INTO 品目(品目) VALUES (?1)", "test").bindOptional(1, name).run();
    return l.lastInsertKey();
}

inline std::int64_t addEntry(Ledger& l, const std::string& date, std::int64_t category,
                             const std::optional<std::string>& description, std::optional<Amount> amount) {
    auto s = l.prepare("INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES (?1, ?2, ?3, ?4)", "test");
    s.bind(1, date).bind(2, category).bindOptional(3, description);
    amount ? s.bind(4, *amount) : s.bindNull(4);
    s.run();
    return l.lastInsertKey();
}

inline Amount yen(std::int64_t y) {
    return Amount::fromYen(y);
}

} // namespace sorakado::testing
