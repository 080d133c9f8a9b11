#include "catalogue/installer_handover.h"

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
void WriteInstallerHandover(const WizardState& state, const platform::Services& services) {
    const std::string file = state.ProductDataFolder + "\\KVInn000.lst";
    const std::unique_ptr<platform::FileWriter> fresh = services.files->CreateForWriting(file);
    if (!fresh || !fresh->Close()) throw platform::IniWriteError("cannot create " + file);
    const std::string section = "innoupdate";
    platform::Profile& profile = *services.profile;
    const auto writeAll = [&] {
        profile.WriteString(file, section, "verinfo", state.NewVersion);
        profile.WriteString(file, section, "dat", state.UpdateDate);
        profile.WriteString(file, section, "sz", state.UpdateSizeText);
        profile.WriteString(file, section, "dlst", state.ParaINI);
        profile.WriteString(file, section, "sec", state.ProgramName);
        profile.WriteString(file, section, "ActS", std::to_string(HandoverActionNumber(state)));
        profile.Flush(file);
    };
    writeAll();
    services.clock->Pause(500);
    writeAll();
}

}  // namespace kv
