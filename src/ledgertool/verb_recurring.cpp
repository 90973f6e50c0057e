// recurring list [LEDGER] | recurring add ... [LEDGER] | recurring remove ID [LEDGER]: the
// repeating entries the program writes when it opens the ledger. Exit 0 done, 1 refused or
// failed (nothing changed), 2 wrong arguments.
#include "recurring_texts.h"
#include "tool_texts.h"
#include "verbs.h"

#include "decimal_text.h"
#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/program_lock.h"
#include "store/recurring.h"

#include <map>
#include <optional>

namespace sorakado::ledgertool {

namespace {

const char* const kVerb = "recurring";

[[noreturn]] void usage() {
    throw ToolFailure(texts::wrongArguments(kVerb, texts::kRecurringSynopsis), kUsage);
}

std::string orEmpty(const std::optional<std::string>& text) {
    return text.value_or(std::string());
}

int list(const std::vector<std::string>& args, const Invocation& call) {
    if (args.size() > 1)
        usage();
    const auto path = ledgerArgument({call.programFolder, args, call.ledgerOption}, 0);
    settleJournal(path);
    std::vector<recurring::Stored> rows;
    try {
        Ledger ledger = Ledger::openReadOnly(path);
        Ledger::Snapshot snapshot(ledger);
        rows = recurring::list(ledger);
    } catch (const LedgerError& e) {
        throw ToolFailure(e.description());
    }
    if (rows.empty()) {
        printLine(texts::kRecurringNone);
        return kDone;
    }
    printLine(texts::kRecurringHeading);
    for (const auto& r : rows)
        printLine(std::to_string(r.key) + "\t" + orEmpty(r.income() ? r.memberName : r.categoryName) + "\t" +
                  orEmpty(r.description) + "\t" + (r.amount ? r.amount->text() : std::string()) + "\t" +
                  r.scheduleText() + "\t" + orEmpty(r.from) + "\t" + orEmpty(r.until) + "\t" +
                  orEmpty(r.next()));
    return kDone;
}

// Options with a value, the two flags, and what is left (the ledger).
struct AddArguments {
    std::map<std::string, std::string> values;
    bool lastDay = false;
    std::vector<std::string> positional;
};

AddArguments parseAdd(const std::vector<std::string>& args) {
    static const char* const withValue[] = {"--category", "--member", "--amount", "--description",
                                            "--day",      "--yearly", "--from",   "--until"};
    AddArguments out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--last-day") {
            out.lastDay = true;
            continue;
        }
        bool taken = false;
        for (const char* option : withValue)
            if (a == option) {
                if (i + 1 >= args.size() || out.values.contains(a))
                    usage();
                out.values[a] = args[++i];
                taken = true;
            }
        if (taken)
            continue;
        if (a.starts_with("--"))
            usage();
        out.positional.push_back(a);
    }
    if (out.positional.size() > 1)
        usage();
    return out;
}

std::optional<std::string> value(const AddArguments& a, const std::string& option) {
    const auto it = a.values.find(option);
    return it == a.values.end() ? std::nullopt : std::optional(it->second);
}

std::string required(const AddArguments& a, const std::string& option) {
    auto v = value(a, option);
    if (!v)
        throw ToolFailure(texts::recurringMissingOption(option), kUsage);
    return *v;
}

int number(const std::string& option, const std::string& text, int low, int high) {
    int n = 0;
    if (text.empty() || text.size() > 2)
        throw ToolFailure(texts::recurringBadValue(option, text), kUsage);
    for (char c : text) {
        if (c < '0' || c > '9')
            throw ToolFailure(texts::recurringBadValue(option, text), kUsage);
        n = n * 10 + (c - '0');
    }
    if (n < low || n > high)
        throw ToolFailure(texts::recurringBadValue(option, text), kUsage);
    return n;
}

recurring::YearMonth monthOption(const std::string& option, const std::string& text) {
    const auto m = recurring::parseMonth(text);
    if (!m)
        throw ToolFailure(texts::recurringBadValue(option, text), kUsage);
    return *m;
}

// The one category (member) of that name.
template <class Row>
std::int64_t keyNamed(const std::vector<Row>& rows, const std::string& name, const char* what) {
    std::optional<std::int64_t> found;
    for (const Row& r : rows)
        if (r.name == name) {
            if (found)
                throw ToolFailure(texts::recurringAmbiguous(what, name));
            found = r.key;
        }
    if (!found)
        throw ToolFailure(texts::recurringNoSuch(what, name));
    return *found;
}

int add(const std::vector<std::string>& args, const Invocation& call) {
    const AddArguments a = parseAdd(args);
    const auto category = value(a, "--category");
    const auto member = value(a, "--member");
    if (category.has_value() == member.has_value())
        throw ToolFailure(texts::kRecurringCategoryOrMember, kUsage);
    recurring::Values v;
    const std::string amountText = required(a, "--amount");
    const auto amount = legacy::readDecimal(amountText);
    if (amount.status != legacy::DecimalStatus::Exact)
        throw ToolFailure(texts::recurringBadValue("--amount", amountText), kUsage);
    v.amount = amount.amount;
    v.from = monthOption("--from", required(a, "--from"));
    if (const auto until = value(a, "--until"))
        v.until = monthOption("--until", *until);
    if (member) {
        if (a.lastDay || value(a, "--day") || value(a, "--yearly") || value(a, "--description"))
            throw ToolFailure(texts::kRecurringIncomeOptions, kUsage);
    } else {
        const auto day = value(a, "--day");
        if (day.has_value() == a.lastDay)
            throw ToolFailure(texts::kRecurringDayOrLastDay, kUsage);
        v.day = day ? number("--day", *day, 1, 31) : recurring::kLastDay;
        if (const auto yearly = value(a, "--yearly"))
            v.yearlyMonth = number("--yearly", *yearly, 1, 12);
        v.description = value(a, "--description").value_or("");
    }

    const auto path = ledgerArgument({call.programFolder, a.positional, call.ledgerOption}, 0);
    // Held to the end: the window would not know of the new row until it opens the ledger again.
    const ProgramLock program = takeProgramLock(path, "recurring add");
    settleJournal(path, true);
    std::int64_t key = 0;
    std::string next;
    try {
        Ledger ledger = Ledger::open(path);
        if (member)
            v.memberKey = keyNamed(ledger.members(), *member, "名前");
        else
            v.categoryKey = keyNamed(ledger.categories(), *category, "品目");
        if (const auto problem = recurring::valuesProblem(ledger, v))
            throw ToolFailure(*problem);
        key = recurring::add(ledger, v);
        next = orEmpty(recurring::find(ledger, key)->next());
    } catch (const LedgerError& e) {
        throw ToolFailure(e.description());
    }
    printLine(texts::recurringAdded(key, next));
    return kDone;
}

int remove(const std::vector<std::string>& args, const Invocation& call) {
    if (args.empty() || args.size() > 2)
        usage();
    std::int64_t key = 0;
    try {
        std::size_t used = 0;
        key = std::stoll(args[0], &used);
        if (used != args[0].size() || key <= 0)
            usage();
    } catch (const std::logic_error&) {
        usage();
    }
    const auto path =
        ledgerArgument({call.programFolder, {args.begin() + 1, args.end()}, call.ledgerOption}, 0);
    const ProgramLock program = takeProgramLock(path, "recurring remove");
    settleJournal(path, true);
    try {
        Ledger ledger = Ledger::open(path);
        if (!recurring::find(ledger, key))
            throw ToolFailure(texts::recurringNoKey(key));
        recurring::remove(ledger, key);
    } catch (const LedgerError& e) {
        throw ToolFailure(e.description());
    }
    printLine(texts::recurringRemoved(key));
    return kDone;
}

} // namespace

int runRecurring(const Invocation& call) {
    if (call.args.empty())
        usage();
    const std::string what = call.args.front();
    const std::vector<std::string> rest(call.args.begin() + 1, call.args.end());
    if (what == "list")
        return list(rest, call);
    if (what == "add")
        return add(rest, call);
    if (what == "remove")
        return remove(rest, call);
    usage();
}

} // namespace sorakado::ledgertool
