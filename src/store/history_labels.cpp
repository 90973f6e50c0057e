#include "history_labels.h"

#include <initializer_list>

namespace sorakado::history::labels {

namespace {

std::string yen(std::optional<Amount> amount) {
    return amount ? "\\" + amount->text() : std::string();
}

std::string joined(const char* what, const std::string& inside) {
    return std::string(what) + " (" + inside + ")";
}

// The parts that say something, a blank between them.
std::string spaced(std::initializer_list<std::string> parts) {
    std::string out;
    for (const auto& part : parts)
        if (!part.empty())
            out += (out.empty() ? "" : " ") + part;
    return out;
}

std::string counted(const std::optional<std::string>& name, const char* what, std::int64_t count) {
    std::string inside = shortName(name);
    if (count > 0)
        inside += "、" + std::string(what) + std::to_string(count) + "件";
    return inside;
}

} // namespace

std::string shortName(const std::optional<std::string>& name) {
    if (!name)
        return {};
    // Cut on a character's first byte, never inside one.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < name->size(); ++i) {
        if ((static_cast<unsigned char>((*name)[i]) & 0xC0) == 0x80)
            continue;
        if (characters == kNameLength)
            return name->substr(0, i) + "…";
        ++characters;
    }
    return *name;
}

std::string member(const char* what, const std::optional<std::string>& name) {
    return joined(what, shortName(name));
}

std::string memberRenamed(const std::optional<std::string>& from, const std::optional<std::string>& to) {
    return joined(kMemberRenamed, shortName(from) + " → " + shortName(to));
}

std::string memberDeleted(const std::optional<std::string>& name, std::int64_t incomes) {
    return joined(kMemberDeleted, counted(name, "収入", incomes));
}

std::string income(const char* what, const std::string& monthKey,
                   const std::optional<std::string>& memberName, std::optional<Amount> amount) {
    return joined(what, spaced({monthKey, shortName(memberName), yen(amount)}));
}

std::string category(const char* what, const std::optional<std::string>& name) {
    return joined(what, shortName(name));
}

std::string categoryRenamed(const std::optional<std::string>& from, const std::optional<std::string>& to) {
    return joined(kCategoryRenamed, shortName(from) + " → " + shortName(to));
}

std::string categoryDeleted(const std::optional<std::string>& name, std::int64_t entries) {
    return joined(kCategoryDeleted, counted(name, "明細", entries));
}

std::string entry(const char* what, const std::optional<std::string>& date,
                  const std::optional<std::string>& categoryName, std::optional<Amount> amount) {
    std::string day = date.value_or("");
    if (day.size() == 10 && day[4] == '/' && day[7] == '/')
        day = day.substr(5);
    return joined(what, spaced({day, shortName(categoryName), yen(amount)}));
}

std::string recurring(const char* what, const std::optional<std::string>& name,
                      std::optional<Amount> amount) {
    return joined(what, spaced({shortName(name), yen(amount)}));
}

std::string recurringPosted(std::size_t written) {
    return joined("定期明細の記入", std::to_string(written) + "件");
}

} // namespace sorakado::history::labels
