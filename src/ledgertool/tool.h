#pragma once

// What every verb of `sorakado-ledger` shares: how it is called, how it fails, and what its exit
// status means. A verb prints its results to standard output; a failure is one Japanese line on
// standard error, "sorakado-ledger: " and the message.

#include "platform/platform.h"

#include <filesystem>
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
    std::filesystem::path programFolder; // the folder that holds sorakado-ledger (and sorakado)
    std::vector<std::string> args;       // the verb's own arguments
};

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

// The ledger beside the program: where the program opens it.
std::filesystem::path defaultLedger(const Invocation& call);
// The verb's argument at index, or the ledger beside the program when it was not given.
std::filesystem::path ledgerArgument(const Invocation& call, std::size_t index);

// One line on standard error: line breaks in message become spaces.
void printFailure(std::string message);
// A line on standard output.
void printLine(const std::string& line);
// What tidying the folder before a write did, a line for each kind: the files an interrupted
// writer's set was finished with, the temporary files of writers no longer running.
void sayTidied(const std::filesystem::path& folder, const platform::Tidied& tidied);

} // namespace sorakado::ledgertool
