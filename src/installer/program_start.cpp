#include "installer/program_start.h"

#include "installer/restart_rule.h"

namespace kv {

namespace {

constexpr unsigned CreateNewProcessGroupNormalPriority = 0x220;  // CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS
constexpr unsigned StartfUseShowWindow = 1;
constexpr unsigned short SwShowNormal = 1;

// "C:\a\b.exe" gives "C:\a", "C:\b.exe" gives "C:\", a bare name gives "".
std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/:");
    if (cut == std::string::npos) return {};
    const bool rootOfDrive = cut == 2 && path[1] == ':';
    if (path[cut] == ':' || rootOfDrive) return path.substr(0, cut + 1);
    return path.substr(0, cut);
}

}  // namespace

platform::ProcessOutcome StartProgramElevatedIfAsked(platform::Processes& processes, const std::string& programPath,
                                                     bool wait) {
    platform::ProcessRequest request;
    request.program = programPath;
    request.creationFlags = CreateNewProcessGroupNormalPriority;
    request.wait = wait;
    const platform::ProcessOutcome outcome = processes.Start(request);
    if (outcome.result != platform::StartResult::ElevationRequired) return outcome;
    return processes.StartElevated(request);
}

std::string ProductFolder(const WizardState& state) {
    return state.InstallPath.empty() ? state.ExeFolder : state.InstallPath.str();
}

bool RunProgram(const WizardState& state, const platform::Services& services, const std::string& path,
                const std::string& parameters, bool wait, const std::string& workingFolder) {
    const RestartDecision program = JudgeRestartProgram(path, ProductFolder(state), *services.files);
    if (!program.Accepted()) return false;
    platform::ProcessRequest request;
    request.program = program.path;
    request.parameters = parameters;
    request.currentFolder = workingFolder.empty() ? FolderOf(program.path) : workingFolder;
    request.creationFlags = CreateNewProcessGroupNormalPriority;
    request.startupFlags = StartfUseShowWindow;
    request.showWindow = SwShowNormal;
    request.wait = wait;
    return services.processes->Start(request).Started();
}

}  // namespace kv
