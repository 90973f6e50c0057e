#pragma once

#include <QString>

#include <string>

namespace sorakado::shell {

// The menu items of the history: 「元に戻す - 明細削除 (12/05 食費 \1200)　Ctrl+Z」 and
// 「やり直し - …　Ctrl+Y」, naming the step they act on.
QString undoCaption(const std::string& label);
QString redoCaption(const std::string& label);

} // namespace sorakado::shell
