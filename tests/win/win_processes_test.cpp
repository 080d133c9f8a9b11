#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

#include "fakes/start_outcomes.h"
#include "platform/win32/win_files.h"
#include "platform/win32/win_processes.h"
#include "win_temp_folder.h"

using kv::platform::ProcessOutcome;
using kv::platform::ProcessRequest;
namespace start = kv::test::start;
using kv::platform::win32::WinFiles;
using kv::platform::win32::WinProcesses;

namespace {

const char* const kMarkerVariable = "KV_PROCESS_MARKER";

std::string OwnProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A hidden start that returns when the program ends; a copy of this very
// program does nothing unless it is given a marker.
ProcessRequest WaitedRequest(const std::string& program) {
    ProcessRequest request;
    request.program = program;
    request.parameters = "--gtest_filter=ProcessChild.WritesItsFolder";
    request.startupFlags = STARTF_USESHOWWINDOW;
    request.showWindow = SW_HIDE;
    request.wait = true;
    return request;
}

// Started by the tests below as a child process of this very program.
ProcessRequest ChildRequest(const std::string& marker) {
    SetEnvironmentVariableA(kMarkerVariable, marker.c_str());
    return WaitedRequest(OwnProgram());
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

// The elevated start takes the same program, parameters and folder (Wine
// asks for no consent: it runs everything as administrator).
TEST(WinProcesses, StartsInTheRequestedFolderAndWaits) {
    for (const bool elevated : {false, true}) {
        WinTempFolder folder;
        ProcessRequest request = ChildRequest(folder.File("marker.txt"));
        request.currentFolder = folder.Path();
        WinProcesses processes;
        ASSERT_TRUE((elevated ? processes.StartElevated(request) : processes.Start(request)).Started()) << elevated;
        SetEnvironmentVariableA(kMarkerVariable, nullptr);
        // Waiting means the child has finished writing.
        std::string written = ReadText(folder.File("marker.txt"));
        EXPECT_EQ(_stricmp(written.c_str(), folder.Path().c_str()), 0) << written;
    }
}

TEST(WinProcesses, EmptyFolderKeepsTheCallersFolder) {
    WinTempFolder folder;
    ProcessRequest request = ChildRequest(folder.File("marker.txt"));
    ASSERT_TRUE(WinProcesses().Start(request).Started());
    SetEnvironmentVariableA(kMarkerVariable, nullptr);
    char own[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, own);
    EXPECT_EQ(ReadText(folder.File("marker.txt")), own);
}

// Held as the wizard holds a downloaded installer: nobody can change it, and
// the system still starts it.
TEST(WinProcesses, AHeldProgramStarts) {
    WinTempFolder folder;
    const std::string copy = folder.File("qorindu.exe");
    ASSERT_TRUE(CopyFileA(OwnProgram().c_str(), copy.c_str(), FALSE));
    auto held = WinFiles().Hold(copy);
    ASSERT_TRUE(held);
    ProcessRequest request = ChildRequest(folder.File("marker.txt"));
    request.program = held->Path();
    request.currentFolder = folder.Path();
    EXPECT_TRUE(WinProcesses().Start(request).Started());
    SetEnvironmentVariableA(kMarkerVariable, nullptr);
    EXPECT_FALSE(ReadText(folder.File("marker.txt")).empty());
    EXPECT_FALSE(DeleteFileA(copy.c_str()));
    EXPECT_TRUE(held->Discard());
}

// The outcomes the unit tests script their double with are those the system
// gives: one row each.
TEST(WinProcesses, AnswersAsTheDoublesAreScripted) {
    WinTempFolder folder;
    std::ofstream(folder.File("setup.exe"), std::ios::binary) << "no program";
    struct Row {
        std::string program;
        ProcessOutcome outcome;
    };
    for (const Row& row : {Row{OwnProgram(), start::Started}, Row{folder.File("HU2013MAKu.exe"), start::MissingProgram},
                           Row{folder.File("setup.exe"), start::NoProgram}}) {
        const auto outcome = WinProcesses().Start(WaitedRequest(row.program));
        EXPECT_EQ(outcome.result, row.outcome.result) << row.program;
        EXPECT_EQ(outcome.error, row.outcome.error) << row.program;
    }
}
