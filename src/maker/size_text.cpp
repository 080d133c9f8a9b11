#include "maker/size_text.h"
#include "platform/portable/text.h"

#include <cctype>
#include <cmath>

namespace kv::maker {

namespace {

struct SizeText {
    std::string number;     // as written, the decimal separator made a comma
    std::size_t decimals;   // digits after the separator
    std::uintmax_t factor;  // bytes per unit, counted in 1024
    std::string unit;       // as written
};

std::uintmax_t UnitFactor(const std::string& unit) {
    const std::string u = kv::text::LowerAscii(unit);
    if (u == "b" || u == "byte" || u == "bytes") return 1;
    if (u == "kb" || u == "kib" || u == "kbyte") return 1024;
    if (u == "mb" || u == "mib" || u == "mbyte") return 1024 * 1024;
    if (u == "gb" || u == "gib" || u == "gbyte") return 1024 * 1024 * 1024;
    return 0;
}

std::optional<SizeText> Parse(const std::string& sz) {
    const std::string text = kv::text::Trim(sz, " ");
    std::size_t unitStart = 0;
    while (unitStart < text.size() && !std::isalpha(static_cast<unsigned char>(text[unitStart]))) ++unitStart;
    SizeText size{kv::text::Trim(text.substr(0, unitStart), " "), 0, 0, kv::text::Trim(text.substr(unitStart), " ")};
    size.factor = UnitFactor(size.unit);
    if (size.number.empty() || size.factor == 0) return std::nullopt;
    if (size.factor == 1) {  // a byte count may group its thousands
        std::string digits;
        for (char c : size.number)
            if (c != '.') digits += c;
        size.number = digits;
    }
    const std::size_t separator = size.number.find_first_of(",.");
    if (separator != std::string::npos) {
        size.number[separator] = ',';
        size.decimals = size.number.size() - separator - 1;
    }
    for (char c : size.number)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != ',') return std::nullopt;
    return size;
}

// `bytes` in units of `factor`, rounded to `decimals` digits, with a comma.
std::string Rendered(std::uintmax_t bytes, std::uintmax_t factor, std::size_t decimals) {
    const double scale = std::pow(10.0, static_cast<double>(decimals));
    const double units = static_cast<double>(bytes) / static_cast<double>(factor);
    const auto scaled = static_cast<std::uintmax_t>(std::llround(units * scale));
    std::string digits = std::to_string(scaled);
    if (decimals == 0) return digits;
    if (digits.size() <= decimals) digits.insert(0, decimals - digits.size() + 1, '0');
    digits.insert(digits.size() - decimals, 1, ',');
    return digits;
}

// The same unit counted in 1000: 1 for bytes, 1000 for KB, ...
std::uintmax_t DecimalFactor(std::uintmax_t factor) {
    std::uintmax_t decimal = 1;
    for (std::uintmax_t f = factor; f > 1; f /= 1024) decimal *= 1000;
    return decimal;
}

}  // namespace

std::optional<bool> SizeTextStates(const std::string& sz, std::uintmax_t bytes) {
    const std::optional<SizeText> size = Parse(sz);
    if (!size) return std::nullopt;
    return Rendered(bytes, size->factor, size->decimals) == size->number ||
           Rendered(bytes, DecimalFactor(size->factor), size->decimals) == size->number;
}

std::string SizeInTheWordingOf(const std::string& sz, std::uintmax_t bytes) {
    const std::optional<SizeText> size = Parse(sz);
    if (!size) return std::to_string(bytes) + " Bytes";
    return Rendered(bytes, size->factor, size->decimals) + " " + size->unit;
}

}  // namespace kv::maker
