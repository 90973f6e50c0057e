#pragma once

// Undo and redo of the program's own changes, kept in the ledger file across restarts.
//
// Every change the program makes runs as one step (a Recorder): the rows it changed, each as it
// was before and after, and a text naming it. An undo puts the step's rows back as they were
// before, a redo as they were after, each in one transaction and through ordinary statements,
// so the per-month sums follow. Steps are undone newest first and redone in the order undone; a
// new step drops the steps undone. The history keeps at least kKeptSteps steps and every step of
// the last kKeptDays days, and is trimmed in the same transaction as a new step.

#include "ledger.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sorakado::history {

inline constexpr int kKeptSteps = 200;
inline constexpr int kKeptDays = 90;

// Records every change made on the ledger while it lives as one step named label, in one
// transaction (begun here, or joined). A Recorder made while another one lives joins its step,
// so a change made of other changes is one step. Without commit() nothing is written.
class Recorder {
public:
    Recorder(Ledger& ledger, std::string label); // throws LedgerError
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    ~Recorder();

    // The text may depend on what the change found; the outermost recorder's text is kept.
    void setLabel(std::string label) { label_ = std::move(label); }
    // Writes the step (none when nothing changed) and, for the outermost, the transaction.
    void commit();

private:
    Ledger& ledger_;
    Ledger::Transaction transaction_;
    std::string label_;
    std::optional<std::int64_t> step_; // set on the outermost recorder
};

// Runs fn as one step named label.
template <class Fn> void recordStep(Ledger& ledger, std::string label, Fn&& fn) {
    Recorder recorder(ledger, std::move(label));
    fn();
    recorder.commit();
}

// One step as the history holds it.
struct StepInfo {
    std::int64_t id = 0;
    std::int64_t time = 0; // seconds since 1970-01-01 UTC
    std::string label;
    bool undone = false;
    std::int64_t rows = 0; // row changes it holds
};

// The step an undo would take back, and the one a redo would make again.
std::optional<StepInfo> nextUndo(Ledger& ledger);
std::optional<StepInfo> nextRedo(Ledger& ledger);
// Every step kept, newest first (limit: at most that many).
std::vector<StepInfo> steps(Ledger& ledger, std::optional<std::int64_t> limit = std::nullopt);

// What an undo or redo did.
struct Outcome {
    enum class Result {
        Done,
        Nothing,  // no step to undo (redo)
        Conflict, // the rows are no longer as the step left them: nothing changed
    };
    Result result = Result::Nothing;
    std::string label;                  // the step's text
    std::optional<std::string> month;   // "yyyy/mm" when every entry and income it touched is of one month
    std::optional<std::int64_t> entry;  // the one entry it touched, when that entry is there now
    std::optional<std::int64_t> member; // the one member it touched (or whose incomes), when there now
};

// Each in one transaction: all of it or nothing. Throws LedgerError when the file fails.
Outcome undo(Ledger& ledger);
Outcome redo(Ledger& ledger);

// The message shown when an undo (redo) is refused for a conflict.
inline constexpr const char* kUndoConflict =
    "この変更は元に戻せません。その後、ほかのプログラムなどで同じ記録が変更・削除されたか、必要な名前・"
    "品目がなくなっています。台帳は変更していません。";
inline constexpr const char* kRedoConflict =
    "この変更はやり直せません。その後、ほかのプログラムなどで同じ記録が変更・削除されたか、必要な名前・"
    "品目がなくなっています。台帳は変更していません。";

} // namespace sorakado::history
