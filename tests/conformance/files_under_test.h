#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

namespace kv::test {

// The files service of the executable and a fresh folder for one case,
// removed with what is in it: the Linux service in unit_tests, the system's
// in win_tests. What another program would do to a file goes through here.
class FilesUnderTest {
public:
    virtual ~FilesUnderTest() = default;
    virtual platform::Files& Files() = 0;
    // The Windows path of `name` in the case's folder.
    virtual std::string Path(const std::string& name) const = 0;
    virtual void MakeFolder(const std::string& name) = 0;
    // A second name for the file, as a link planted beside it would be.
    virtual void Link(const std::string& name, const std::string& link) = 0;
    // Another program opens the file for reading without delete sharing
    // and keeps it open until the case ends.
    virtual void HoldElsewhere(const std::string& name) = 0;
    // The names in the case's folder, sorted.
    virtual std::vector<std::string> Names() const = 0;
};

std::unique_ptr<FilesUnderTest> MakeFilesUnderTest();

}  // namespace kv::test
