#include "big_ledger.h"

#include "store/ledger.h"
#include "support/temp_ledger.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace sorakado::bench {

namespace {

using namespace sorakado::testing;

const std::array<const char*, 4> kMembers{"山田太郎", "山田花子", "山田一郎", "山田さくら"};

const std::array<const char*, 20> kCategories{
    "食費",   "外食",   "日用品", "衣服", "交通費", "電気代", "ガス代", "水道代", "通信費", "家賃",
    "医療費", "教育費", "娯楽",   "書籍", "交際費", "保険料", "美容",   "車両費", "趣味",   "雑費"};

const std::array<const char*, 24> kDescriptions{
    "スーパーで買い物", "コンビニ",     "駅前のパン屋",   "定期券",   "タクシー",
    "映画館",           "本屋で文庫本", "ドラッグストア", "電気料金", "携帯電話",
    "インターネット",   "病院の診察",   "薬局",           "美容院",   "友人の結婚祝い",
    "ガソリン",         "月謝",         "弁当",           "喫茶店",   "家電量販店で電球",
    "百円ショップ",     "クリーニング", "宅配便",         "お土産"};

std::string monthKey(int year, int month) {
    char key[8];
    std::snprintf(key, sizeof key, "%04d/%02d", year, month);
    return key;
}

int daysIn(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

void fill(Ledger& ledger, std::int64_t entries) {
    std::mt19937_64 random(20060405);
    auto below = [&](std::uint64_t n) { return random() % n; };

    std::vector<std::int64_t> members;
    for (const char* name : kMembers)
        members.push_back(addMember(ledger, name));
    std::vector<std::int64_t> categories;
    for (const char* name : kCategories)
        categories.push_back(addCategory(ledger, name));

    const int months = kYears * 12;
    for (int m = 0; m < months; ++m) {
        const int year = kFirstYear + m / 12, month = m % 12 + 1;
        const std::string key = monthKey(year, month);
        for (std::size_t i = 0; i < members.size(); ++i)
            addIncome(ledger, members[i], key, yen(i < 2 ? 200000 + std::int64_t(below(150000)) : 5000));

        // Entries are typed in whenever the receipts turn up, so keys do not follow the dates.
        const std::int64_t count = entries / months + (m < entries % months ? 1 : 0);
        for (std::int64_t e = 0; e < count; ++e) {
            const int day = 1 + int(below(daysIn(year, month)));
            char date[16];
            std::snprintf(date, sizeof date, "%s/%02d", key.c_str(), day);
            std::string description = kDescriptions[below(kDescriptions.size())];
            if (below(4) == 0)
                description += "（" + std::to_string(1 + below(9)) + "点）";
            // Now and then a price with sen, as typed from a foreign-currency receipt.
            Amount amount = below(50) == 0 ? Amount::fromTenThousandths(std::int64_t(below(100000000)))
                                           : yen(std::int64_t(100 + below(30000)));
            addEntry(ledger, date, categories[below(categories.size())], description, amount);
        }
    }
}

} // namespace

std::filesystem::path bigLedger(const std::filesystem::path& folder, std::int64_t entries) {
    const auto path = folder / ("ledger-" + std::to_string(entries) + ".mdb");
    if (std::filesystem::exists(path))
        return path;

    // Built under another name and renamed when complete, so an interrupted run never leaves a
    // half-filled ledger to be reused.
    std::filesystem::create_directories(folder);
    const auto partial = folder / ("ledger-" + std::to_string(entries) + ".partial");
    std::filesystem::remove(partial);
    const auto started = std::chrono::steady_clock::now();
    Ledger::create(partial);
    {
        Ledger ledger = Ledger::open(partial);
        ledger.inTransaction([&] { fill(ledger, entries); });
    }
    std::filesystem::rename(partial, path);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::fprintf(stderr, "generated %s (%lld entries) in %.1f s\n", path.c_str(),
                 static_cast<long long>(entries), took.count());
    return path;
}

} // namespace sorakado::bench

namespace sorakado::bench {

BenchArgs parseBenchArgs(int argc, char** argv, std::vector<std::int64_t> defaultSizes,
                         std::filesystem::path defaultData) {
    BenchArgs args{std::move(defaultSizes), std::move(defaultData), {argv[0]}};
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--sizes=", 8) == 0) {
            args.sizes.clear();
            const std::string list = argv[i] + 8;
            for (std::size_t from = 0; from < list.size();) {
                std::size_t comma = list.find(',', from);
                if (comma == std::string::npos)
                    comma = list.size();
                args.sizes.push_back(std::stoll(list.substr(from, comma - from)));
                from = comma + 1;
            }
        } else if (std::strncmp(argv[i], "--data=", 7) == 0) {
            args.data = argv[i] + 7;
        } else {
            args.rest.push_back(argv[i]);
        }
    }
    return args;
}

std::filesystem::path bigLedgerCopy(const std::filesystem::path& folder, std::int64_t entries,
                                    const std::filesystem::path& into) {
    const auto copy = into / Ledger::kFileName;
    std::filesystem::copy_file(bigLedger(folder, entries), copy);
    return copy;
}

} // namespace sorakado::bench
