#pragma once
// A text with a fixed capacity, kept as Windows-1252 bytes: the document's
// texts live in fixed fields, so limits count stored characters and a table
// never allocates.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace tarvel {

template <std::size_t N>
class FixedText {
public:
    static constexpr std::size_t kCapacity = N;

    FixedText() = default;
    FixedText(std::string_view s) { assign(s); }  // NOLINT: texts convert freely
    FixedText& operator=(std::string_view s)
    {
        assign(s);
        return *this;
    }

    // Keeps the text up to its first NUL and at most N characters.
    void assign(std::string_view s)
    {
        const std::size_t nul = s.find('\0');
        if (nul != std::string_view::npos) s = s.substr(0, nul);
        len_ = static_cast<unsigned short>(std::min(s.size(), N));
        if (len_ > 0) std::memcpy(buf_.data(), s.data(), len_);
        buf_[len_] = '\0';
    }
    void clear() { assign({}); }

    // Whether a text is short enough to be stored whole.
    static constexpr bool fits(std::string_view s) { return s.size() <= N; }

    std::string_view view() const { return {buf_.data(), len_}; }
    std::string str() const { return std::string(view()); }
    const char* c_str() const { return buf_.data(); }
    std::size_t size() const { return len_; }
    bool empty() const { return len_ == 0; }
    // Character at i, or NUL past the end (the stored terminator), as the
    // position-based readers of command texts expect.
    char at(std::size_t i) const { return i < len_ ? buf_[i] : '\0'; }

    friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
    friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }

private:
    std::array<char, N + 1> buf_{};
    unsigned short len_ = 0;
};

}  // namespace tarvel
