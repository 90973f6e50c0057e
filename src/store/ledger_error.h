#pragma once

#include <stdexcept>
#include <string>

namespace sorakado {

// What went wrong with the ledger, told so the user can act on it. The description is
// Japanese and complete (what failed, and why, or the path); only the UI shows it.
class LedgerError : public std::runtime_error {
public:
    enum class Kind { Missing, ReadOnly, NoPermission, Locked, NotLedger, MissingTable, Exists, Failed };

    LedgerError(Kind kind, std::string description) : std::runtime_error(description), kind_(kind) {}

    Kind kind() const { return kind_; }
    std::string description() const { return what(); }

private:
    Kind kind_;
};

} // namespace sorakado
