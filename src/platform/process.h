#pragma once
#include <string>

namespace kv::platform {

struct ProcessRequest {
    std::string program;           // the program file's path
    std::string parameters;        // empty: none
    std::string currentFolder;     // empty: the caller's
    unsigned creationFlags = 0;    // Win32 CREATE_* flags
    unsigned startupFlags = 0;     // STARTUPINFO dwFlags
    unsigned short showWindow = 0; // STARTUPINFO wShowWindow
    bool wait = false;

    // The program always in quotes, so that blanks in a folder name cannot
    // make the system start a different program.
    std::string CommandLine() const {
        std::string line = "\"" + program + "\"";
        if (!parameters.empty()) line += " " + parameters;
        return line;
    }
};

enum class StartResult {
    Started,
    ElevationRequired,  // the program's manifest asks for administrator rights
    Declined,           // the user refused the consent prompt
    Failed,             // see the error code
};

struct ProcessOutcome {
    StartResult result = StartResult::Started;
    unsigned long error = 0;  // the system's error code; 0 when started

    bool Started() const { return result == StartResult::Started; }
};

class Processes {
public:
    virtual ~Processes() = default;
    // Creates the process with the caller's rights.
    virtual ProcessOutcome Start(const ProcessRequest& request) = 0;
    // The same program, folder and parameters started with administrator
    // rights: the system asks the user for consent first. Creation and
    // start-up flags do not apply.
    virtual ProcessOutcome StartElevated(const ProcessRequest& request) = 0;
};

}  // namespace kv::platform
