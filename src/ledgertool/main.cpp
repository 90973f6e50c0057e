// sorakado-ledger: makes and looks after ledger files from the command line.
#include "statement_texts.h"
#include "tool_texts.h"

#include "platform/platform.h"
#include "recurring_texts.h"
#include "verbs.h"
#include "year_out_texts.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

namespace {

using namespace sorakado::ledgertool;

// Every verb, in the order the help lists them. A verb is a row here and a file of its own.
const Verb kVerbs[] = {
    {"create", "[台帳]",
     "空の台帳を作ります（ファイルのモードは 0600）。同じ名前のファイルがあれば何もしません。", 0, 1,
     runCreate},
    {"import", "旧台帳.mdb [台帳]",
     "旧版（Access "
     "2000-2003）の台帳を新しい台帳に取り込み、報告を表示します。すでにある台帳のうち置き換えるのは"
     "行がひとつもない空の台帳だけで、行のある台帳やほかのファイルは上書きしません。",
     1, 2, runImport},
    {"backup", "[--ledger 台帳] [保存先]",
     "台帳の確かめたコピーを今作ります。保存先を省略すると台帳と同じフォルダーの backups/ "
     "に日時の名前で作り、"
     "古いコピーを整理します（7日分はすべて、8週は週に1つ、24か月は月に1つ、いちばん新しいものは必ず残します"
     "）。",
     0, 1, runBackup},
    {"restore", "バックアップ [台帳]",
     "バックアップを台帳に戻します。パスワードと整合性を確かめ、それまでの台帳を backups/ "
     "に残してから置き換えます。"
     "Sorakado がその台帳を開いている間は何もしません。",
     1, 2, runRestore},
    {"check", "[--recount] [台帳]",
     "台帳の整合性、4つの表と列、画面に表示されない行、記入できない定期明細、年の集計に使う月ごとの合計を調べ"
     "ます。問題がなければ "
     "0、表示されない行か記入できない定期明細か行と合わない合計があれば 3、壊れていれば 1 "
     "で終わります。--recount "
     "を付けると月ごとの合計を行から数え直して直します（Sorakado がその台帳を開いている間は何もしません）。",
     0, 2, runCheck},
    {"history", texts::kHistorySynopsis, texts::kHistorySummary, 0, 2, runHistory},
    {"export", texts::kExportSynopsis, texts::kExportSummary, 1, 7, runExport},
    {"report", texts::kReportSynopsis, texts::kReportSummary, 1, 6, runReport},
    {"statement", texts::kStatementSynopsis, texts::kStatementSummary, 1, 10000, runStatement},
    {"recurring", texts::kRecurringSynopsis, texts::kRecurringSummary, 1, 20, runRecurring},
};

std::filesystem::path programFolder(const char* argv0) {
    auto self = sorakado::platform::programFile();
    if (self.empty())
        self = std::filesystem::absolute(argv0);
    return self.parent_path();
}

void printHelp() {
    std::string out = texts::kHelpHead;
    out += "\n";
    for (const auto& verb : kVerbs) {
        out += std::string("  ") + verb.name + (verb.synopsis[0] ? " " : "") + verb.synopsis + "\n";
        out += std::string("      ") + verb.summary + "\n";
    }
    out += texts::kHelpOptions;
    out += "\n\n";
    out += texts::kHelpStatus;
    out += "\n";
    std::fputs(out.c_str(), stdout);
}

const Verb* findVerb(const std::string& name) {
    for (const auto& verb : kVerbs)
        if (name == verb.name)
            return &verb;
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printFailure(texts::kNoCommand);
        return kUsage;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        printHelp();
        return kDone;
    }
    if (first == "--version") {
        printLine(texts::kVersion);
        return kDone;
    }
    const Verb* verb = findVerb(first);
    if (!verb) {
        printFailure(texts::unknownCommand(first));
        return kUsage;
    }
    Invocation call{programFolder(argv[0]), {argv + 2, argv + argc}, std::nullopt};
    for (const auto& arg : call.args)
        if (arg == "--help" || arg == "-h") {
            printHelp();
            return kDone;
        }
    try {
        takeLedgerOption(call, verb->name, verb->synopsis);
        if (call.args.size() < verb->minArgs || call.args.size() > verb->maxArgs) {
            printFailure(texts::wrongArguments(verb->name, verb->synopsis));
            return kUsage;
        }
        const int status = verb->run(call);
        std::fflush(stdout);
        return status;
    } catch (const ToolFailure& e) {
        std::fflush(stdout);
        printFailure(e.what());
        return e.status();
    } catch (const std::exception& e) {
        std::fflush(stdout);
        printFailure(texts::unexpectedError(e.what()));
        return kFailed;
    }
}
