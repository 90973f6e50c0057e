#pragma once

// Which backups of a ledger to keep. Copies are named by the local date and time they were made;
// the rotation keeps
//   - every copy made in the last 7 days,
//   - the oldest copy of each calendar week (Monday to Sunday) for 8 weeks,
//   - the oldest copy of each calendar month for 24 months,
//   - and always the newest copy, however old.
// Everything else goes. Taking the oldest copy of a week or month means a new copy never pushes
// out one that was kept before: what the rotation keeps today it keeps until it ages out.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace sorakado::backup {

using TimePoint = std::chrono::system_clock::time_point;

inline constexpr int kKeepAllDays = 7;
inline constexpr int kKeepWeeklyWeeks = 8;
inline constexpr int kKeepMonthlyMonths = 24;

// "Sorakado-20261208-093015.mdb" for the ledger "Sorakado.mdb" and a copy made at 09:30:15 local
// time on 8 December 2026; a second copy in the same second gets "-2", "-3", ... before the
// extension (attempt 1 is the plain name).
std::string backupName(const std::string& stem, const std::string& extension, TimePoint made,
                       int attempt = 1);
// The time a backup's name gives; nullopt for any other name (another ledger's copies, temporary
// files, anything the user put there).
std::optional<TimePoint> backupTime(const std::string& name, const std::string& stem,
                                    const std::string& extension);

struct BackupCopy {
    std::string name;
    TimePoint made;
};

// The names the rotation removes at now.
std::vector<std::string> copiesToRemove(const std::vector<BackupCopy>& copies, TimePoint now);

} // namespace sorakado::backup
