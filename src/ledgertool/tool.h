#pragma once

// What every verb of `sorakado-ledger` shares: how it is called, how it fails, and what its exit
// status means. A verb prints its results to standard output; a failure is one Japanese line on
// standard error, "sorakado-ledger: " and the message.

#include "platform/platform.h"
#include "store/program_lock.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorakado::ledgertool {

// Exit statuses, the same for every verb.
enum ExitStatus : int {
    kDone = 0,      // did what was asked
    kFailed = 1,    // did not; nothing was changed (the message says why)
    kUsage = 2,     // wrong arguments
    kAttention = 3, // done, but the report lists rows that need the user's attention
};

struct Invocation {
    std::filesystem::path programFolder;               // the folder that holds sorakado-ledger (and sorakado)
    std::vector<std::string> args;                     // the verb's own arguments, --ledger taken out
    std::optional<std::filesystem::path> ledgerOption; // --ledger, which every verb takes
};

// Takes --ledger LEDGER (or --ledger=LEDGER) out of args, up to a "--" that ends the options.
// Throws ToolFailure (wrong arguments) for a missing value or a second one.
void takeLedgerOption(Invocation& call, const char* verb, const char* synopsis);

// A verb that cannot do what was asked throws this; main prints the message as one line.
class ToolFailure : public std::runtime_error {
public:
    explicit ToolFailure(const std::string& message, int status = kFailed)
        : std::runtime_error(message), status_(status) {}
    int status() const { return status_; }

private:
    int status_;
};

struct Verb {
    const char* name;
    const char* synopsis; // the arguments, as the help shows them
    const char* summary;  // one line of what it does
    std::size_t minArgs;
    std::size_t maxArgs;
    int (*run)(const Invocation&);
};

// The ledger --ledger names, else the one beside the program: where the program opens it.
std::filesystem::path defaultLedger(const Invocation& call);
// The verb's argument at index, or defaultLedger when it was not given. Throws ToolFailure
// (wrong arguments) when --ledger names a ledger too.
std::filesystem::path ledgerArgument(const Invocation& call, std::size_t index);

// The program's lock on the ledger, held for verb ("restore" and the like) while the caller keeps
// it: the program cannot start on the ledger meanwhile. Throws ToolFailure saying what holds it
// (the program, another command of this tool) or why the lock cannot be had.
ProgramLock takeProgramLock(const std::filesystem::path& ledger, const char* verb);

// Before a verb looks at the ledger: a change a crash left half-done is rolled back and a journal
// that holds nothing removed, under the program's lock (taken here unless the caller holds it).
// While the program or another command holds the lock, the journal is theirs and left alone.
void settleJournal(const std::filesystem::path& ledger, bool lockHeld = false);

// One line on standard error: line breaks in message become spaces.
void printFailure(std::string message);
// A line on standard output.
void printLine(const std::string& line);
// What tidying the folder before a write did, a line for each kind: the files an interrupted
// writer's set was finished with, the temporary files of writers no longer running.
void sayTidied(const std::filesystem::path& folder, const platform::Tidied& tidied);

} // namespace sorakado::ledgertool
