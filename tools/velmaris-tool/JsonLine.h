#pragma once
// One JSON object on one line, keys in the order they are added. Texts from
// data files are arbitrary bytes: anything outside printable ASCII is
// written as a \u00XX escape, so the output is always valid JSON.

#include <string>
#include <string_view>

namespace velmaris::tool {

class JsonLine {
public:
    JsonLine& Int(std::string_view key, long long value);
    JsonLine& Real(std::string_view key, double value);
    JsonLine& Bool(std::string_view key, bool value);
    JsonLine& Text(std::string_view key, std::string_view value);
    std::string Finish() const { return text_ + "}"; }

private:
    void Key(std::string_view key);
    std::string text_ = "{";
};

} // namespace velmaris::tool
