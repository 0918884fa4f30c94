#pragma once
// The chip facts files of tests/data/chip-facts: tab-separated, a header line
// naming the columns, then one row per chip.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace zavuv::devices::testing {

using FactsRow = std::map<std::string, std::string>;

inline std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

inline std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

inline std::vector<FactsRow> readFactsFile(const char* name) {
    const std::filesystem::path path = std::filesystem::path(ZAVUV_TEST_DATA) / "chip-facts" / name;
    std::ifstream in(path);
    std::vector<FactsRow> rows;
    std::string line;
    if (!std::getline(in, line)) {
        ADD_FAILURE() << "cannot read " << path;
        return rows;
    }
    const std::vector<std::string> columns = splitOn(line, '\t');
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = splitOn(line, '\t');
        EXPECT_EQ(cells.size(), columns.size()) << name << ": " << line;
        FactsRow row;
        for (std::size_t c = 0; c < columns.size() && c < cells.size(); ++c)
            row[columns[c]] = cells[c];
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace zavuv::devices::testing
