#include "ColumnGuess.h"

#include <algorithm>
#include <set>

#include "ListRows.h"

namespace jobs {
namespace {

struct ColumnLook {
    bool numbers = true;    // every cell a whole number from 1 to 65535, none twice
    bool roubles = true;    // every cell a price in roubles
    bool decimals = false;  // some cell with a decimal point
    std::size_t text = 0;   // letters in its cells that are no numbers
};

bool IsPlu(const std::string& cell) {
    if (cell.empty() || cell.size() > 5 ||
        cell.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int number = std::stoi(cell);
    return number >= 1 && number <= 65535 && cell[0] != '0';
}

ColumnLook Look(const std::vector<std::vector<std::string>>& data, std::size_t column) {
    ColumnLook look;
    std::set<std::string> seen;
    bool any = false;
    for (const auto& row : data) {
        if (column >= row.size() || row[column].empty()) continue;
        const std::string& cell = row[column];
        any = true;
        look.numbers = look.numbers && IsPlu(cell) && seen.insert(cell).second;
        std::string price = cell;
        const bool isPrice = tables::RoublesToKopecks(price).empty();
        look.roubles = look.roubles && isPrice;
        look.decimals = look.decimals || (isPrice && cell.find_first_of(",.") != std::string::npos);
        if (!isPrice) look.text += cell.size();
    }
    if (!any) look = {false, false, false, 0};
    return look;
}

std::size_t Filled(const std::vector<std::string>& row) {
    return static_cast<std::size_t>(
        std::count_if(row.begin(), row.end(), [](const auto& c) { return !c.empty(); }));
}

class Guesser {
  public:
    Guesser(const std::vector<std::string>& header, std::vector<std::vector<std::string>> data)
        : header_(header), data_(std::move(data)), targets_(header.size()) {}

    tables::ColumnChoice Guess() {
        for (std::size_t c = 0; c < header_.size(); ++c) ByTitle(c);
        ByLook();
        tables::ColumnChoice choice;
        for (std::size_t c = 0; c < header_.size(); ++c) {
            if (targets_[c].empty()) continue;
            const std::string title = tables::Utf8Title(header_[c]);
            if (title.empty())
                choice.push_back({{}, static_cast<int>(c) + 1, targets_[c]});
            else
                choice.push_back({title, 0, targets_[c]});
        }
        return choice;
    }

  private:
    bool Taken(const std::string& key) const {
        return std::find(targets_.begin(), targets_.end(), key) != targets_.end();
    }

    void Take(std::size_t column, const std::string& key) {
        if (!Taken(key)) targets_[column] = key;
    }

    // A known title, but a "Цена" of decimals is in roubles, as exports write it.
    void ByTitle(std::size_t column) {
        std::string key = tables::KeyOfKnownTitle(header_[column]);
        if (key == "price" && Look(data_, column).decimals) key = "price_rub";
        if (!key.empty()) Take(column, key);
    }

    void ByLook() {
        std::size_t longest = 0;
        int name = -1;
        for (std::size_t c = 0; c < header_.size(); ++c) {
            if (!targets_[c].empty()) continue;
            const ColumnLook look = Look(data_, c);
            if (look.numbers && !Taken("plu")) {
                Take(c, "plu");
            } else if (look.roubles && look.decimals && !Taken("price") && !Taken("price_rub")) {
                Take(c, "price_rub");
            } else if (look.text > longest) {
                longest = look.text;
                name = static_cast<int>(c);
            }
        }
        if (name >= 0 && !Taken("name1") && !Taken("name")) targets_[name] = "name";
    }

    const std::vector<std::string>& header_;
    std::vector<std::vector<std::string>> data_;
    std::vector<std::string> targets_;
};

}  // namespace

ColumnGuess GuessColumns(const std::vector<std::vector<std::string>>& rows, int headerRow) {
    ColumnGuess guess;
    const bool given = headerRow >= 0 && headerRow < static_cast<int>(rows.size());
    if (given) guess.headerRow = headerRow;
    std::size_t most = 0;
    for (std::size_t r = 0; r < rows.size() && !given; ++r) {
        if (Filled(rows[r]) > most) {
            most = Filled(rows[r]);
            guess.headerRow = static_cast<int>(r);
        }
    }
    if (guess.headerRow < 0) return guess;
    const auto& header = rows[guess.headerRow];
    guess.choice = Guesser(header, {rows.begin() + guess.headerRow + 1, rows.end()}).Guess();
    return guess;
}

}  // namespace jobs
