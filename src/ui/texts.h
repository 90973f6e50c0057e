#pragma once

#include <QString>

// Words of the toolkit layer the user sees, in Japanese whatever the desktop's language.
namespace sorakado::ui::texts {

// Message box buttons.
inline const QString kYes = QStringLiteral("はい");
inline const QString kNo = QStringLiteral("いいえ");
inline const QString kOk = QStringLiteral("OK");

} // namespace sorakado::ui::texts
