#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/test_world.h"
#include "wizard/privacy_document.h"
#include "wizard/tform1.h"

namespace {

using kv::TForm1;

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(PrivacyDocument, IsTheCheckedInDocumentByteForByte) {
    EXPECT_EQ(kv::PrivacyDocumentRtf(), kv::test::Fixture("privacy/erg2.rtf"));
}

TEST(PrivacyDocument, HasEightBulletsOneBoldParagraphAndOnlyCrLfLineEnds) {
    const std::string rtf = kv::PrivacyDocumentRtf();
    EXPECT_EQ(Count(rtf, "{\\listtext\\pard\\plain\\f4\\fs20 *\\tab}"), 8u);
    EXPECT_EQ(Count(rtf, "\\b\\fs20"), 1u);
    EXPECT_EQ(Count(rtf, "\n"), Count(rtf, "\r\n"));
    EXPECT_EQ(Count(rtf, "\r"), Count(rtf, "\r\n"));
    EXPECT_EQ(rtf.substr(rtf.size() - 2), "\r\n");
    EXPECT_EQ(Count(rtf, "\xDF"), 1u) << "Windows-1252 sharp s, not UTF-8";
    EXPECT_EQ(Count(rtf, "\xC3"), 0u);
    EXPECT_EQ(Count(rtf, "{"), Count(rtf, "}"));
}

class PrivacyDialog : public ::testing::Test {
protected:
    kv::test::TestWorld world;
    std::string common = world.dir / "common";
    std::string document = world.dir / "common\\Karvell\\erg2.rtf";
    void SetUp() override { world.dir.MakeFolder("common\\Karvell"); }
};

TEST_F(PrivacyDialog, CloseLinkSitsUnderTheViewsRightEdge) {
    const TForm1 dialog(world.files, common);
    const kv::ui::Control& link = dialog.Label1;
    EXPECT_GT(link.top, dialog.RD.top + dialog.RD.height);
    EXPECT_LE(link.top + link.height, dialog.clientHeight);
    EXPECT_EQ(link.left + link.width, dialog.RD.left + dialog.RD.width);
    EXPECT_LE(dialog.RD.left + dialog.RD.width, dialog.clientWidth);
}

TEST_F(PrivacyDialog, EveryOpeningWritesTheSameDocumentAndShowsIt) {
    const TForm1 first(world.files, common);
    EXPECT_EQ(first.RD.caption, document);
    const std::string written = world.dir.Read("common\\Karvell\\erg2.rtf");
    EXPECT_EQ(written, kv::PrivacyDocumentRtf());

    world.dir.Write("common\\Karvell\\erg2.rtf", "stale");
    const TForm1 second(world.files, common);
    EXPECT_EQ(world.dir.Read("common\\Karvell\\erg2.rtf"), written);
}

TEST_F(PrivacyDialog, CloseLinkDeletesTheDocumentAndTheCloseBoxLeavesIt) {
    TForm1 dialog(world.files, common);
    dialog.OnClose();  // the close box
    EXPECT_TRUE(world.dir.Exists("common\\Karvell\\erg2.rtf"));

    dialog.Label1.onClick();
    EXPECT_FALSE(world.dir.Exists("common\\Karvell\\erg2.rtf"));
    EXPECT_TRUE(dialog.closeRequested);
    EXPECT_NO_THROW(dialog.Label1Click()) << "a missing document is no error";
}

TEST_F(PrivacyDialog, WithoutTheMakersFolderTheViewStaysEmpty) {
    const std::string elsewhere = world.dir / "nothing";
    const TForm1 dialog(world.files, elsewhere);
    EXPECT_FALSE(world.dir.Exists("nothing\\Karvell\\erg2.rtf"));
    EXPECT_EQ(dialog.RD.caption, elsewhere + "\\Karvell\\erg2.rtf");
}

}  // namespace
