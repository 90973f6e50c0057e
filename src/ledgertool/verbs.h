#pragma once

// The verbs of `sorakado-ledger`, one file each; main.cpp lists them.

#include "tool.h"

namespace sorakado::ledgertool {

int runCreate(const Invocation& call);
int runImport(const Invocation& call);
int runExport(const Invocation& call);
int runReport(const Invocation& call);
int runBackup(const Invocation& call);
int runRestore(const Invocation& call);
int runCheck(const Invocation& call);
int runHistory(const Invocation& call);
int runStatement(const Invocation& call);
int runRecurring(const Invocation& call);

} // namespace sorakado::ledgertool
