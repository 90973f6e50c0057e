// Qt's own words in Japanese whatever the desktop's language: the menu of a text box.

#include "ui/toolkit_words.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

namespace sorakado::testing {
namespace {

TEST(DesktopLanguage, ATextBoxsOwnMenuSpeaksJapaneseUnderAnEnglishDesktop) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(ui::useJapaneseToolkitWords(*qApp)) << "Qt's Japanese catalogue (scripts/deps)";
    QLineEdit box(QStringLiteral("花子"));
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList words;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            words << a->text();
    ASSERT_FALSE(words.isEmpty());
    for (const QString& word : words)
        EXPECT_FALSE(word.contains(QLatin1String("Undo")) || word.contains(QLatin1String("Paste")) ||
                     word.contains(QLatin1String("Select All")))
            << word.toStdString();
    EXPECT_TRUE(words.join(QString()).contains(QStringLiteral("貼り付け"))) << words.join(u' ').toStdString();
}

} // namespace
} // namespace sorakado::testing
