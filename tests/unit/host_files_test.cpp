#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/test_world.h"
#include "platform/portable/host_path.h"

namespace {

using kv::platform::HostPath;

// The Linux files service keeps the contract of the Windows one, share modes
// aside: a writer makes a file of its own (a hard link to what stood there
// keeps its bytes), and a held file is read through its handle until discarded.
TEST(HostFiles, AWriterMakesAFileOfItsOwnAndAHeldFileCanBeDiscarded) {
    kv::test::TempDir dir;
    kv::platform::HostFiles files;
    dir.Write("qorindu.exe", "planted");
    std::filesystem::create_hard_link(HostPath(dir / "qorindu.exe"), HostPath(dir / "planted.lnk"));
    auto writer = files.CreateForWriting(dir / "qorindu.exe");
    ASSERT_TRUE(writer);
    EXPECT_TRUE(writer->Write("new", 3) && writer->Close());
    EXPECT_EQ(dir.Read("qorindu.exe"), "new");
    EXPECT_EQ(dir.Read("planted.lnk"), "planted");
    EXPECT_FALSE(files.CreateForWriting(dir / "no\\such\\qorindu.exe"));

    EXPECT_FALSE(files.Hold(dir / "missing.exe"));
    auto held = files.Hold(dir / "qorindu.exe");
    ASSERT_TRUE(held);
    EXPECT_EQ(held->Path(), dir / "qorindu.exe");
    EXPECT_GE(held->NativeHandle(), 0);
    EXPECT_TRUE(held->Discard());
    EXPECT_FALSE(dir.Exists("qorindu.exe"));
}

}  // namespace
