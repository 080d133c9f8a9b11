#include "wizard/tupinew.h"

namespace kv {

namespace {

// The installer records the catalogue's action number only for a special
// update that is due; otherwise the installed number stays as it is.
int HandoverActionNumber(const WizardState& state) {
    const bool due = state.SpecialUpdate && state.LocalSpecAction < state.CatalogueSpecAction;
    return due ? state.CatalogueSpecAction : state.LocalSpecAction;
}

}  // namespace

// Written into a file of its own making, twice, half a second apart, so that
// the file is certainly on disk by the time the installer looks for it. An
// earlier file is replaced, never written into: one planted there would keep
// its owner and rights. A refused write raises platform::IniWriteError to
// the caller.
void TUpInew::WriteInstallerHandover() {
    const std::string file = ProductDataFolder + "\\KVInn000.lst";
    const std::unique_ptr<platform::FileWriter> fresh = services().files->CreateForWriting(file);
    if (!fresh || !fresh->Close()) throw platform::IniWriteError("cannot create " + file);
    const std::string section = "innoupdate";
    platform::Profile& profile = *services().profile;
    const auto writeAll = [&] {
        profile.WriteString(file, section, "verinfo", NewVersion);
        profile.WriteString(file, section, "dat", UpdateDate);
        profile.WriteString(file, section, "sz", UpdateSizeText);
        profile.WriteString(file, section, "dlst", ParaINI);
        profile.WriteString(file, section, "sec", ProgramName);
        profile.WriteString(file, section, "ActS", std::to_string(HandoverActionNumber(*this)));
        profile.Flush(file);
    };
    writeAll();
    services().clock->Pause(500);
    writeAll();
}

}  // namespace kv
