#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

#include "platform/win32/win_processes.h"
#include "win_temp_folder.h"

using kv::platform::ProcessRequest;
using kv::platform::win32::WinProcesses;

namespace {

const char* const kMarkerVariable = "KV_PROCESS_MARKER";

std::string OwnProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string Quoted(const std::string& path) {
    std::string quoted(1, '"');
    quoted.append(path).push_back('"');
    return quoted;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Started by the tests below as a child process of this very program.
ProcessRequest ChildRequest(const std::string& marker) {
    SetEnvironmentVariableA(kMarkerVariable, marker.c_str());
    ProcessRequest request;
    request.commandLine = Quoted(OwnProgram()).append(" --gtest_filter=ProcessChild.WritesItsFolder");
    request.startupFlags = STARTF_USESHOWWINDOW;
    request.showWindow = SW_HIDE;
    request.wait = true;
    return request;
}

}  // namespace

// Does something only as the child of the tests below.
TEST(ProcessChild, WritesItsFolder) {
    char marker[MAX_PATH] = {};
    if (!GetEnvironmentVariableA(kMarkerVariable, marker, MAX_PATH)) GTEST_SKIP() << "only run as a child";
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::ofstream(marker, std::ios::binary) << folder;
}

TEST(WinProcesses, StartsInTheRequestedFolderAndWaits) {
    WinTempFolder folder;
    ProcessRequest request = ChildRequest(folder.File("marker.txt"));
    request.currentFolder = folder.Path();
    ASSERT_TRUE(WinProcesses().Start(request));
    SetEnvironmentVariableA(kMarkerVariable, nullptr);
    // Waiting means the child has finished writing.
    std::string written = ReadText(folder.File("marker.txt"));
    EXPECT_EQ(_stricmp(written.c_str(), folder.Path().c_str()), 0) << written;
}

TEST(WinProcesses, EmptyFolderKeepsTheCallersFolder) {
    WinTempFolder folder;
    ProcessRequest request = ChildRequest(folder.File("marker.txt"));
    ASSERT_TRUE(WinProcesses().Start(request));
    SetEnvironmentVariableA(kMarkerVariable, nullptr);
    char own[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, own);
    EXPECT_EQ(ReadText(folder.File("marker.txt")), own);
}

TEST(WinProcesses, MissingProgramIsReportedAsNotStarted) {
    WinTempFolder folder;
    ProcessRequest request;
    request.commandLine = Quoted(folder.File("HU2013MAKu.exe"));
    EXPECT_FALSE(WinProcesses().Start(request));
}
