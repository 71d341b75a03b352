#pragma once
// One line of a CSV file as RFC 4180 has it: fields separated by commas, the
// line ended by CR LF, a field quoted when it holds a comma, a quote, a line
// break or any byte outside printable ASCII, a quote inside doubled. Bytes
// 0x80 and above are taken as Latin-1 and written as UTF-8 (dump's JSON
// reads them the same way), so the file is always valid UTF-8.

#include <string>
#include <string_view>

namespace velmaris::tool {

class CsvLine {
public:
    CsvLine& Field(std::string_view text);
    CsvLine& Number(long long value);
    CsvLine& Real(double value); // shortest text that reads back the same; empty when not finite
    CsvLine& Fixed(double value, int decimals);
    CsvLine& Blank();
    // Ends the line (CR LF); the next field starts a new line in the same text.
    CsvLine& EndRow();

    const std::string& Text() const { return text_; }
    void Clear()
    {
        text_.clear();
        first_ = true;
    }

private:
    void Separate();

    std::string text_;
    bool first_ = true;
};

} // namespace velmaris::tool
