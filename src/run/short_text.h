#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

// A text of fixed capacity: a longer value is cut to its first N characters
// when it is stored.
template <std::size_t N>
class ShortText {
public:
    ShortText() = default;
    ShortText(std::string_view value) { Assign(value); }  // NOLINT: converts like a string
    ShortText(const char* value) { Assign(value); }       // NOLINT
    ShortText& operator=(std::string_view value) { Assign(value); return *this; }
    ShortText& operator=(const std::string& value) { Assign(value); return *this; }
    ShortText& operator=(const char* value) { Assign(value); return *this; }

    const std::string& str() const { return text_; }
    operator const std::string&() const { return text_; }  // NOLINT
    bool empty() const { return text_.empty(); }
    std::size_t size() const { return text_.size(); }
    static constexpr std::size_t capacity() { return N; }

    friend std::string operator+(const std::string& a, const ShortText& b) { return a + b.text_; }
    friend std::string operator+(const ShortText& a, const std::string& b) { return a.text_ + b; }
    friend std::string operator+(const char* a, const ShortText& b) { return a + b.text_; }
    friend std::string operator+(const ShortText& a, const char* b) { return a.text_ + b; }
    friend bool operator==(const ShortText& a, std::string_view b) { return a.text_ == b; }

private:
    void Assign(std::string_view value) { text_.assign(value.substr(0, N)); }
    std::string text_;
};

}  // namespace kv
