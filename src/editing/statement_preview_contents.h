#pragma once

// What the preview window shows; apart from its header, which moc reads.

#include "statement/matching.h"
#include "statement_preview.h"
#include "store/ledger.h"

#include <vector>

namespace sorakado::editing {

struct StatementPreview::Contents {
    std::vector<statement::PreviewRow> rows; // their state changes as categories are chosen
    std::vector<Category> categories;        // as categories() gives them
    int notPayments = 0;
    std::vector<statement::LineProblem> problems;
};

} // namespace sorakado::editing
