#include "maker/catalogue_check.h"

#include <memory>
#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>

#include "run/parameters.h"
#include "catalogue/catalogue_decision.h"
#include "inventory/version_text.h"
#include "inventory/ini_access.h"
#include "inventory/product_keys.h"
#include "maker/installation.h"
#include "maker/presumed_programs.h"
#include "maker/size_text.h"
#include "maker/text_output.h"
#include "platform/portable/ini_engine.h"
#include "installer/restart_rule.h"
#include "run/short_text.h"
#include "run/text_catalogue.h"
#include "platform/portable/text.h"

namespace kv::maker {

namespace {

using platform::IniLine;

constexpr std::size_t LineCapacity = ShortText<100>::capacity();
constexpr std::size_t FlagCapacity = ShortText<2>::capacity();
constexpr int MaxTargets = 100;
constexpr const char* Utf8Bom = "\xEF\xBB\xBF";
constexpr const char* PlaceholderFolder = "C:\\Program Files (x86)\\Karvell\\Product";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The findings quote what a German user sees.
WizardState German() {
    WizardState state;
    state.Language = 1;
    return state;
}

// A key name as its letters and its number ("CD", 3); number 0 without one.
std::pair<std::string, int> Numbered(const std::string& key) {
    std::size_t digits = key.size();
    while (digits > 0 && key[digits - 1] >= '0' && key[digits - 1] <= '9') --digits;
    const std::string number = key.substr(digits);
    // "PCode01" is no "PCode1" to the wizard, which asks for the latter.
    if (number.empty() || number.size() > 3 || number[0] == '0') return {text::LowerAscii(key), 0};
    return {text::LowerAscii(key.substr(0, digits)), std::stoi(number)};
}

bool IsPlainKey(const std::string& key) {
    static const std::array<const char*, 14> keys{"verinfo", "prog", "ufn", "sz", "dat", "exc", "nomoreup",
                                                  "oldsmalerno", "su", "sinu", "acts", "verinfos", "szs", "dats"};
    return std::find(keys.begin(), keys.end(), text::LowerAscii(key)) != keys.end();
}

// The numbered keys the wizard reads, with their last number; the targets
// also stop at their list's end.
int LastNumber(const std::string& letters) {
    if (letters == "cd" || letters == "ce" || letters == "upd" || letters == "upe") return 6;
    if (letters == "ds" || letters == "es") return 4;
    if (letters == "pcode" || letters == "scode") return MaxTargets;
    return 0;
}

bool IsDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return false;
    const int month = std::stoi(text.substr(5, 2)), day = std::stoi(text.substr(8, 2));
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// A section of the file with the lines that belong to it.
struct Block {
    std::string name;
    std::size_t header;               // its line number; 0 for the lines before any header
    std::vector<std::size_t> keys;    // line numbers of its keys
};

class CatalogueCheck {
public:
    CatalogueCheck(const std::string& bytes, const CheckOptions& options)
        : bytes_(bytes), ini_(bytes), lines_(ini_.Describe()), options_(options) {}

    std::vector<Finding> Run() {
        CheckBytes();
        for (const Block& block : Blocks()) CheckBlock(block);
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return std::move(findings_);
    }

private:
    void Add(FindingLevel level, const std::string& section, const std::string& key, std::size_t line,
             const std::string& what) {
        findings_.push_back({level, section.empty() ? "-" : section, key.empty() ? "-" : key, line, what});
    }
    void Warn(const std::string& section, const std::string& key, std::size_t line, const std::string& what) {
        Add(FindingLevel::Warning, section, key, line, what);
    }
    void Fail(const std::string& section, const std::string& key, std::size_t line, const std::string& what) {
        Add(FindingLevel::Error, section, key, line, what);
    }
    const IniLine& At(std::size_t line) const { return lines_[line - 1]; }

    // --- the bytes of each line ---

    void CheckBytes() {
        if (bytes_.starts_with(Utf8Bom))
            Warn("", "", 1, "a UTF-8 byte order mark: the wizard reads its three bytes as part of line 1, " +
                                Quoted(lines_.front().text.substr(0, 12)) + ", and no section header there");
        std::size_t lfOnly = 0, firstLfOnly = 0;
        for (std::size_t n = 1; n <= lines_.size(); ++n) {
            CheckLineBytes(n);
            if (At(n).ending == "\n" && lfOnly++ == 0) firstLfOnly = n;
        }
        if (lfOnly > 0)
            Warn("", "", firstLfOnly, std::to_string(lfOnly) + " lines end in LF alone: the wizard reads them, "
                                      "but Windows tools the maker may use next show one long line");
    }

    void CheckLineBytes(std::size_t n) {
        const std::string& text = At(n).text;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            const bool utf8Lead = byte >= 0xC2 && byte <= 0xF4 && i + 1 < text.size() &&
                                  (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80;
            if (!IsWindows1252(byte) || (utf8Lead && !(n == 1 && bytes_.starts_with(Utf8Bom)))) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", byte);
                const std::string effect = IsWindows1252(byte)
                                               ? " starts UTF-8: the wizard shows " + Quoted(text.substr(i, 2))
                                               : " is no Windows-1252 character: the wizard shows whatever the "
                                                 "system font has for it";
                Warn(At(n).section, At(n).key, n,
                     "byte " + std::string(hex) + effect + " (the catalogue is Windows-1252)");
                return;
            }
        }
    }

    // --- sections and keys ---

    std::vector<Block> Blocks() const {
        std::vector<Block> blocks{{"", 0, {}}};
        for (std::size_t n = 1; n <= lines_.size(); ++n) {
            if (At(n).kind == IniLine::Kind::Header) blocks.push_back({At(n).section, n, {}});
            if (At(n).kind == IniLine::Kind::Key) blocks.back().keys.push_back(n);
        }
        return blocks;
    }

    bool FirstOfItsName(const Block& block) const {
        for (std::size_t n = 1; n < block.header; ++n)
            if (At(n).kind == IniLine::Kind::Header && text::LowerAscii(At(n).section) == text::LowerAscii(block.name)) return false;
        return true;
    }

    std::optional<WizardState> CallerOf(const std::string& section) const {
        const std::string name = text::LowerAscii(section);
        for (const std::string& key : CallingProductKeys()) {
            if (!name.starts_with(key) || name.size() > key.size() + 2) continue;
            WizardState state;
            TakeCallParameters(state, {key, key, name.substr(key.size())});
            if (state.CatalogueSection == name) return state;
        }
        return std::nullopt;
    }

    void CheckBlock(const Block& block) {
        if (block.header == 0) {
            for (std::size_t n : block.keys)
                Warn("", At(n).key, n, "a key before any section: the wizard never reads it");
            return;
        }
        if (!FirstOfItsName(block)) {
            Warn(block.name, "", block.header,
                 "the section again: the wizard reads only its first [" + block.name + "]");
            return;
        }
        const bool productKeys = std::any_of(block.keys.begin(), block.keys.end(), [&](std::size_t n) {
            return IsPlainKey(At(n).key) || LastNumber(Numbered(At(n).key).first) > 0;
        });
        const std::optional<WizardState> caller = CallerOf(block.name);
        if (!caller) {
            if (productKeys)
                Fail(block.name, "", block.header, "no product of the family calls the wizard with an edition that "
                                                   "reads this section: nobody sees it");
            else
                Warn(block.name, "", block.header, "a section that no product reads: the wizard never looks at it");
            return;
        }
        CheckKeys(block);
        CheckValues(block, *caller);
    }

    std::size_t LineOf(const Block& block, const std::string& key) const {
        for (std::size_t n : block.keys)
            if (text::LowerAscii(At(n).key) == text::LowerAscii(key)) return n;
        return 0;
    }
    bool Has(const Block& block, const std::string& key) const { return LineOf(block, key) != 0; }
    std::string Read(const Block& block, const std::string& key) const { return ini_.Read(block.name, key, ""); }

    // The number of the first target that ends its list (missing, empty or "X").
    int TargetListEnd(const Block& block, const std::string& letters) const {
        for (int n = 1; n <= MaxTargets; ++n) {
            const std::string value = ini_.Read(block.name, letters + std::to_string(n), "");
            if (value.empty() || value == "X") return n;
        }
        return MaxTargets;
    }

    void CheckKeys(const Block& block) {
        for (std::size_t n : block.keys) {
            const std::string& key = At(n).key;
            const auto [letters, number] = Numbered(key);
            if (LineOf(block, key) != n) {
                Warn(block.name, key, n,
                     "the key again: the wizard reads only line " + std::to_string(LineOf(block, key)));
            } else if (!IsPlainKey(key) && (number < 1 || number > LastNumber(letters))) {
                Warn(block.name, key, n, "a key the wizard never reads");
            } else if (LastNumber(letters) == MaxTargets && number > TargetListEnd(block, letters)) {
                Warn(block.name, key, n, "after the end of the target list (" + letters + std::to_string(
                     TargetListEnd(block, letters)) + " is missing, empty or \"X\"): the wizard never reads it");
            }
        }
    }

    void CheckValues(const Block& block, WizardState caller) {
        CheckInstallerName(block, caller);
        CheckVersion(block, "verinfo", true, "no installed version is offered this update");
        for (const char* limit : {"NoMoreUp", "OldSmalerNo"})
            CheckVersion(block, limit, false, "the wizard reads it as 0: the limit applies to no version");
        CheckDate(block, "dat", true);
        CheckDate(block, "dats", false);
        for (const char* letters : {"CD", "CE", "UPD", "UPE"})
            for (int i = 1; i <= 6; ++i) CheckCapacity(block, letters + std::to_string(i));
        for (const char* flag : {"SU", "SINU"}) CheckFlag(block, flag);
        CheckActionNumber(block);
        CheckRestart(block);
        if (!options_.installers.empty()) CheckInstaller(block, InstallerFileName(caller));
    }

    // The line a finding on `key` points at: the key's, else the header's.
    std::size_t Where(const Block& block, const std::string& key) const {
        const std::size_t line = LineOf(block, key);
        return line != 0 ? line : block.header;
    }

    void CheckInstallerName(const Block& block, WizardState& caller) {
        caller.UpdateFileName = Read(block, "ufn");
        if (UpdateFileMatchesInstaller(caller)) return;
        Fail(block.name, "ufn", Where(block, "ufn"),
             Quoted(caller.UpdateFileName) + " is not the installer the wizard asks for, " + InstallerFileName(caller) +
                 ": \"Update laden\" shows every user the version-mismatch box");
    }

    void CheckVersion(const Block& block, const std::string& key, bool required, const std::string& effect) {
        const std::string value = Read(block, key);
        if ((value.empty() && !required) || IsVersionText(value)) return;
        Fail(block.name, key, Where(block, key),
             (value.empty() ? "missing" : Quoted(value) + " is no version") + std::string(": ") + effect);
    }

    void CheckDate(const Block& block, const std::string& key, bool required) {
        const std::string value = Read(block, key);
        if ((value.empty() && !required) || IsDate(value)) return;
        Fail(block.name, key, Where(block, key),
             (value.empty() ? "missing" : Quoted(value) + " is no date YYYY-MM-DD") +
                 std::string(": the offer's date row shows ") + Quoted(FormatDisplayDate(value)));
    }

    void CheckCapacity(const Block& block, const std::string& key) {
        const std::string value = Read(block, key);
        if (value.size() <= LineCapacity) return;
        Warn(block.name, key, Where(block, key),
             std::to_string(value.size()) + " characters: the news panel shows the first " +
                 std::to_string(LineCapacity) + ", up to " + Quoted("..." + value.substr(LineCapacity - 20, 20)));
    }

    void CheckFlag(const Block& block, const std::string& key) {
        const std::string value = Read(block, key);
        if (value.size() <= FlagCapacity) return;
        Warn(block.name, key, Where(block, key),
             "the wizard keeps " + Quoted(value.substr(0, FlagCapacity)) + " of " + Quoted(value) +
                 ", which is not \"T\": the switch is off");
    }

    void CheckActionNumber(const Block& block) {
        const std::string value = Read(block, "ActS");
        if (value.empty() || IniInteger(value, 0) == IniInteger(value, 1)) return;  // a number either way
        Warn(block.name, "ActS", Where(block, "ActS"),
             Quoted(value) + " is no whole number: the wizard reads 0, and no special update is pending");
    }

    void CheckRestart(const Block& block) {
        const std::string value = Read(block, "exc");
        const bool fullPath = value.size() > 2 && value[1] == ':';
        // Only the value itself is judged: its own folder stands for the product's.
        const std::string folder = fullPath ? value.substr(0, value.find_last_of('\\')) : PlaceholderFolder;
        PresumedPrograms programs;
        const RestartDecision decision = JudgeRestartProgram(value, folder, programs);
        if (decision.Accepted()) return;
        Warn(block.name, "exc", Where(block, "exc"),
             "the restart rule refuses it (" + decision.refusal + "): after the update the wizard offers to start " +
                 "nothing, since the catalogue's exc replaces the product's own");
    }

    void CheckInstaller(const Block& block, const std::string& installer) {
        const std::filesystem::path path = std::filesystem::path(options_.installers) / installer;
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (error) {
            Fail(block.name, "ufn", Where(block, "ufn"),
                 installer + " is not in " + options_.installers + ": the download ends in " +
                     Quoted(CatalogueText(German(), 22)));
            return;
        }
        CheckSize(block, installer, size);
        CheckSignature(block, installer, path.string());
    }

    void CheckSize(const Block& block, const std::string& installer, std::uintmax_t size) {
        const std::string sz = Read(block, "sz");
        const std::optional<bool> states = SizeTextStates(sz, size);
        if (states == true) return;
        const std::string actual = std::to_string(size) + " Bytes";
        if (!states)
            Warn(block.name, "sz", Where(block, "sz"),
                 Quoted(sz) + " is no size the check can compare with " + installer + " (" + actual + ")");
        else
            Fail(block.name, "sz", Where(block, "sz"),
                 installer + " has " + actual + ", " + Quoted(SizeInTheWordingOf(sz, size)) + ": the offer shows " +
                     Quoted(sz));
    }

    void CheckSignature(const Block& block, const std::string& installer, const std::string& path) {
        const SignatureCheck& check = options_.signatureCheck;
        if (!options_.signer.Active() || !check.Available()) return;
        const std::unique_ptr<platform::HeldFile> held = check.files->Hold(path);
        const platform::SignatureVerdict verdict =
            held ? check.signatures->Verify(*held, options_.signer) : platform::SignatureVerdict{false, "unreadable"};
        if (verdict.ok) return;
        const std::string refusal = CatalogueText(German(), 93);
        Fail(block.name, "ufn", Where(block, "ufn"),
             installer + ": Signature: " + verdict.reason +
                 ": the secure wizard deletes it, starts nothing and shows " +
                 Quoted(refusal.substr(0, refusal.find('\r'))));
    }

    const std::string& bytes_;
    platform::IniText ini_;
    std::vector<IniLine> lines_;
    const CheckOptions& options_;
    std::vector<Finding> findings_;
};

}  // namespace

std::vector<Finding> CheckCatalogue(const std::string& bytes, const CheckOptions& options) {
    return CatalogueCheck(bytes, options).Run();
}

std::string FindingText(const Finding& f) {
    return std::string(f.level == FindingLevel::Error ? "ERROR" : "WARNING") + " " + f.section + " " + f.key +
           " line " + std::to_string(f.line) + ": " + f.what;
}

int CheckStatus(const std::vector<Finding>& findings) {
    int status = 0;
    for (const Finding& f : findings) status = std::max(status, f.level == FindingLevel::Error ? 2 : 1);
    return status;
}

}  // namespace kv::maker
