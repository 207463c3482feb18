#pragma once
// Helpers for the chip compiler's tests: targets, compiling with recorded
// messages, and images written address by address.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "chip/chip_compiler.h"
#include "flowchart/flow_document.h"
#include "support/fake_messages.h"

namespace tarvel::test {

inline ChipTarget chipTarget(ChipDialect dialect, int size, int linkKind = 0, int optionWord = 0,
                             bool numbersFromZero = false)
{
    ChipTarget t;
    t.dialect = dialect;
    t.imageSize = size;
    t.linkKind = linkKind;
    t.optionWord = optionWord;
    t.numbersFromZero = numbersFromZero;
    return t;
}

// What the chip must receive: zeros, the closing 2, and the bytes written in.
class ExpectedImage {
public:
    explicit ExpectedImage(int size)
        : bytes_(static_cast<std::size_t>(size), 0), map_(static_cast<std::size_t>(size), -1)
    {
        bytes_.back() = 2;
    }
    ExpectedImage& at(int address, std::initializer_list<int> values)
    {
        for (const int v : values)
            bytes_.at(static_cast<std::size_t>(address++)) = static_cast<std::uint8_t>(v);
        return *this;
    }
    // The symbol whose code starts at the address.
    ExpectedImage& symbolAt(int address, int symbol)
    {
        map_.at(static_cast<std::size_t>(address)) = symbol;
        return *this;
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    const std::vector<int>& map() const { return map_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::vector<int> map_;
};

// The non-zero bytes as "address:byte" in hexadecimal, so a mismatch shows where.
inline std::string listing(const std::vector<std::uint8_t>& image)
{
    std::string out;
    char item[32];
    for (std::size_t a = 0; a < image.size(); ++a) {
        if (image[a] == 0) continue;
        std::snprintf(item, sizeof item, "%zu:%02x ", a, image[a]);
        out += item;
    }
    return out + "(" + std::to_string(image.size()) + " bytes)";
}

// Compiles and expects success without any message.
inline ChipProgram compileClean(const FlowDocument& doc, const ChipTarget& target)
{
    FakeMessages messages;
    ChipCompileResult r = compileChart(doc, target, messages);
    EXPECT_TRUE(messages.empty()) << (messages.empty() ? "" : messages.last().text);
    EXPECT_TRUE(r.program.has_value());
    return r.program.value_or(ChipProgram{});
}

// Compiles a chart that must fail: one box with that caption and text, no
// program, and the symbol blamed.
inline void expectCompileFault(const FlowDocument& doc, const ChipTarget& target,
                               std::string_view caption, const std::string& text, int symbol)
{
    FakeMessages messages;
    const ChipCompileResult r = compileChart(doc, target, messages);
    EXPECT_FALSE(r.program.has_value());
    ASSERT_TRUE(r.fault.has_value());
    EXPECT_EQ(r.fault->caption, caption);
    EXPECT_EQ(r.fault->text, text);
    EXPECT_EQ(r.fault->symbol, symbol);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, caption);
    EXPECT_EQ(messages.last().text, text);
    EXPECT_EQ(messages.last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(messages.last().buttons, MsgButtons::Ok);
}

inline void expectImage(const ChipProgram& program, const ExpectedImage& expected)
{
    EXPECT_EQ(listing(program.image), listing(expected.bytes()));
    EXPECT_EQ(program.symbolAt, expected.map());
}

}  // namespace tarvel::test
