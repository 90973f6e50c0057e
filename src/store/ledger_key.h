#pragma once

namespace sorakado {

// The key every ledger file is encrypted with. Store files only.
inline constexpr const char* kLedgerKey = "73921kqz";

} // namespace sorakado
