#include "run/parameters.h"
#include "platform/portable/text.h"

#include <algorithm>

namespace kv {

namespace {
bool IsControlOrBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Deletes the first occurrence of c; true when one was there.
bool EraseFirst(std::string& s, char c) {
    const std::size_t at = s.find(c);
    if (at == std::string::npos) return false;
    s.erase(at, 1);
    return true;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// One or two letters name an edition.
bool IsEditionCode(const std::string& text) {
    return (text.size() == 1 || text.size() == 2) && std::all_of(text.begin(), text.end(), IsLetter);
}
}  // namespace

std::string TrimParameter(const std::string& text) {
    std::size_t keep = text.size();
    while (keep > 0 && IsControlOrBlank(text[keep - 1])) --keep;
    if (text.empty()) return {};
    std::string s = text;
    if (const std::size_t caret = s.find('^'); caret != std::string::npos) s[caret] = ' ';
    std::size_t deleted = 0;
    if (EraseFirst(s, '\xA7')) ++deleted;  // "§" in Windows-1252
    if (EraseFirst(s, '$')) ++deleted;
    const std::size_t length = keep >= deleted ? keep - deleted : 0;
    return s.substr(0, length);
}

std::string CleanParameter(const std::string& text) {
    std::string out;
    for (char c : TrimParameter(text))
        if (!IsControlOrBlank(c)) out += c;
    return out;
}

void TakeCallParameters(WizardState& state, const std::vector<std::string>& parameters) {
    state.ParaName = text::LowerAscii(CleanParameter(parameters[0]));
    state.ParaFile = text::LowerAscii(TrimParameter(parameters[1]));
    state.ParaChar = text::LowerAscii(CleanParameter(parameters[2]));
    state.ParaINI = parameters.size() > 3 ? CleanParameter(parameters[3]) : std::string();

    state.ParaCharValid = IsEditionCode(state.ParaChar);
    state.CatalogueSection = state.ParaCharValid ? state.ParaName + state.ParaChar : state.ParaName;

    const std::string listFile = text::LowerAscii(state.ParaINI);
    state.IsQOProgram = listFile == "qoonline.lst" || listFile == "qobasic.lst" || listFile == "qoprime.lst";
    state.IsHU2Program = listFile == "hu2online.lst";
    state.IsPortable = state.IsHU2Program && state.ParaChar.str() != "u";
}

}  // namespace kv
