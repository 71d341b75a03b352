#pragma once
// Cuts a fuzz input into command-line words, one per line, so the command-line
// targets see any word, empty ones included, as a shell would pass them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velmaris::fuzz {

inline std::vector<std::string> SplitLines(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> words;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            words.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    if (!current.empty())
        words.push_back(current);
    return words;
}

} // namespace velmaris::fuzz
