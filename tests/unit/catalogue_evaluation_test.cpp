#include <gtest/gtest.h>

#include "fakes/test_world.h"
#include "wizard/tupinew.h"

namespace {

using kv::CloseReasonKind;
using kv::platform::BoxOwner;
using kv::platform::MbIconError;

// A wizard on its check page, waiting for the catalogue of a court-register
// product with the installed version 8.1.9.
class EvaluationTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.Language = 1;
        w.ProductDataFolder = world.dir.path();
        w.CatalogueSection = "qoonlineb";
        w.ParaName = "qoonline";
        w.ParaChar = "b";
        w.InstalledVersion = "8.1.9";
        w.InstalledVersionNumber = 819;
        w.ProgramTitle = "QO Folio";
        w.AppName = "QO Folio Gericht";
        for (kv::ui::Control* c : {&w.Label18, &w.Label4, &w.Label2, &w.Label17, &w.Label16, &w.Label19})
            c->visible = false;
        w.DLBut.enabled = false;
    }
    void Evaluate(const std::string& section) {
        world.dir.Write("update.ini", "[QOonlineB]\r\n" + section);
        w.EvaluateCatalogue();
    }
    bool RowsVisible(std::initializer_list<const kv::ui::Control*> rows) const {
        for (const kv::ui::Control* c : rows)
            if (!c->visible) return false;
        return true;
    }

    kv::test::TestWorld world;
    kv::TUpInew w{world.Services(), nullptr};
};

TEST_F(EvaluationTest, OfferShowsTheThreeRowsAndStartsTheNewsTimer) {
    Evaluate("verinfo=8.1.10\r\nprog=QO Folio\r\nsz=12,5 MB\r\ndat=2022-03-15\r\nexc=C:\\QO\\qo.exe\r\n");
    EXPECT_EQ(w.Label15.caption, "Es liegt ein neues Update vor !");
    EXPECT_EQ(w.Label18.caption, w.GL(10));
    EXPECT_EQ(w.Label2.caption, w.GL(11));
    EXPECT_EQ(w.Label16.caption, w.GL(14));
    EXPECT_EQ(w.Label4.caption, "12,5 MB");
    EXPECT_EQ(w.Label17.caption, "8.1.10");
    EXPECT_EQ(w.Label19.caption, "15.03.2022");
    EXPECT_TRUE(RowsVisible({&w.Label18, &w.Label4, &w.Label2, &w.Label17, &w.Label16, &w.Label19}));
    EXPECT_FALSE(w.Label10.visible);
    EXPECT_FALSE(w.Label11.visible);
    EXPECT_TRUE(w.DLBut.enabled);
    EXPECT_TRUE(w.Timer2.enabled);
    EXPECT_EQ(w.UpdateSizeText, "12,5 MB");
    EXPECT_EQ(w.RestartProgram, "C:\\QO\\qo.exe");
    EXPECT_EQ(w.CloseReason, CloseReasonKind::NothingEvaluated);
    EXPECT_FALSE(w.ReportSent);
    EXPECT_TRUE(world.dialogs.shown.empty());
}

TEST_F(EvaluationTest, OfferWithSinuKeepsTheNewsPanelClosedAndAnEmptyDateShowsPoints) {
    Evaluate("verinfo=8.1.10\r\nprog=QO Folio\r\nSINU=T\r\n");
    EXPECT_TRUE(w.DLBut.enabled);
    EXPECT_FALSE(w.Timer2.enabled);
    EXPECT_EQ(w.Label19.caption, "..");
}

TEST_F(EvaluationTest, NoUpdateShowsTheInstalledProgramAndReportsAtOnce) {
    Evaluate("verinfo=8.1.9\r\nprog=QO Folio\r\nsz=12 MB\r\n");
    EXPECT_EQ(w.Label15.caption, "Es liegt leider kein neues Update vor.");
    EXPECT_EQ(w.Label18.caption, w.GL(9));
    EXPECT_EQ(w.Label2.caption, w.GL(12));
    EXPECT_EQ(w.Label4.caption, "QO Folio");
    EXPECT_EQ(w.Label17.caption, "8.1.9");
    EXPECT_EQ(w.PZu2.caption, w.GL(47));
    EXPECT_TRUE(RowsVisible({&w.Label18, &w.Label4, &w.Label2, &w.Label17}));
    EXPECT_FALSE(w.Label16.visible);
    EXPECT_FALSE(w.Label19.visible);
    EXPECT_FALSE(w.DLBut.enabled);
    EXPECT_FALSE(w.Timer2.enabled);
    EXPECT_TRUE(w.NoNewUpdate);
    EXPECT_EQ(w.CloseReason, CloseReasonKind::Reported);
    EXPECT_TRUE(w.ReportSent);
    EXPECT_EQ(w.UpdateSizeText, "12 MB");
}

TEST_F(EvaluationTest, NoUpdateWithSinuShowsTheInfoLines) {
    Evaluate("verinfo=8.1.9\r\nSINU=T\r\n");
    EXPECT_TRUE(w.Timer2.enabled);
    EXPECT_EQ(w.CatalogueLines[12].str(), "NoInfo");
    EXPECT_EQ(w.CatalogueLines[18].str(), "NIL");
}

TEST_F(EvaluationTest, AnErrorPageInsteadOfTheCatalogueIsNoUpdate) {
    world.dir.Write("update.ini", "<html><head><title>502 Bad Gateway</title></head></html>\r\n");
    w.EvaluateCatalogue();
    EXPECT_EQ(w.Label17.caption, "8.1.9");
    EXPECT_EQ(w.CloseReason, CloseReasonKind::Reported);
    EXPECT_TRUE(w.ReportSent);
    EXPECT_EQ(w.NewVersionNumber, -1);
}

TEST_F(EvaluationTest, EndOfUpdatesLeavesOnlyClosing) {
    Evaluate("verinfo=8.1.10\r\nprog=QO Folio\r\nNoMoreUp=8.1.9\r\nSINU=T\r\nOldSmalerNo=8.1.9\r\n");
    EXPECT_EQ(w.Label15.caption, w.GL(87));
    EXPECT_EQ(w.PZu2.caption, w.GL(86));
    EXPECT_FALSE(w.Gauge1.visible);
    EXPECT_FALSE(w.Label10.visible);
    EXPECT_FALSE(w.Label11.visible);
    EXPECT_FALSE(w.DLBut.enabled);
    EXPECT_FALSE(w.Timer2.enabled);
    EXPECT_FALSE(w.SinuFlag);
    EXPECT_EQ(w.CloseReason, CloseReasonKind::EndOfUpdates);
    EXPECT_FALSE(w.ReportSent);
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    const auto& box = world.dialogs.shown[0];
    EXPECT_EQ(box.owner, BoxOwner::Wizard);
    EXPECT_EQ(box.text, "Der Updatezyklus für Ihr Programm QO Folio Gericht ist abgelaufen. "
                        "Weitere Updates stehen nicht mehr zur Verfügung.");
    EXPECT_EQ(box.caption, "Online Update");
    EXPECT_EQ(box.flags, MbIconError);
}

TEST_F(EvaluationTest, OutdatedShowsTheContactLines) {
    Evaluate("verinfo=8.1.10\r\nprog=QO Folio\r\nOldSmalerNo=8.1.9\r\n");
    EXPECT_EQ(w.Label15.caption, w.GL(87));
    EXPECT_EQ(w.PZu2.caption, w.GL(86));
    EXPECT_FALSE(w.Gauge1.visible);
    EXPECT_FALSE(w.DLBut.enabled);
    EXPECT_EQ(w.CloseReason, CloseReasonKind::Outdated);
    ASSERT_EQ(world.dialogs.shown.size(), 1u);
    const auto& box = world.dialogs.shown[0];
    EXPECT_EQ(box.owner, BoxOwner::Application);
    EXPECT_EQ(box.caption, w.GL(58));
    EXPECT_EQ(box.flags, MbIconError);
    EXPECT_EQ(box.text.rfind("Ihre Programmversion (8.1.9) ist leider zu veraltet", 0), 0u);
    EXPECT_EQ(box.text, w.GL(85) + "\r \r" + w.GL(77) + "\r" + w.GL(78) + "\r" + w.GL(83) + "\r  \r" + w.GL(84));
}

TEST_F(EvaluationTest, SpecialUpdateShowsItsVersionAndTheOrdinarySizeWhenAlsoNewer) {
    w.IsQOProgram = true;
    w.QOId = "QO-4711";
    w.LocalSpecAction = 3;
    Evaluate("verinfo=8.1.10\r\nprog=QO Folio\r\nsz=12 MB\r\ndat=2022-03-15\r\nverinfos=8.1.9 S1\r\nszs=3 MB\r\n"
             "dats=2022-04-01\r\nActS=5\r\nPCode1=QO-4711\r\n");
    EXPECT_EQ(w.Label15.caption, w.GL(4));
    EXPECT_EQ(w.Label17.caption, "8.1.9 S1");
    EXPECT_EQ(w.Label4.caption, "12 MB");
    EXPECT_EQ(w.Label19.caption, "15.03.2022");
    EXPECT_TRUE(RowsVisible({&w.Label18, &w.Label4, &w.Label2, &w.Label17, &w.Label16, &w.Label19}));
    EXPECT_TRUE(w.DLBut.enabled);
    EXPECT_TRUE(w.Timer2.enabled);
    EXPECT_EQ(w.UpdateFileName, "qoonlineQO-4711.exe");
    EXPECT_EQ(w.NewVersion, "8.1.10");
}

TEST_F(EvaluationTest, SpecialUpdateAloneShowsItsOwnSizeAndDate) {
    w.IsQOProgram = true;
    w.QOId = "QO-4711";
    w.LocalSpecAction = 3;
    Evaluate("verinfo=8.1.9\r\nsz=12 MB\r\ndat=2022-03-15\r\nszs=3 MB\r\ndats=2022-04-01\r\nActS=5\r\n"
             "PCode1=QO-4711\r\nSINU=T\r\n");
    EXPECT_EQ(w.Label17.caption, "ohne Versionsinformationen");
    EXPECT_EQ(w.Label4.caption, "3 MB");
    EXPECT_EQ(w.Label19.caption, "01.04.2022");
    EXPECT_FALSE(w.Timer2.enabled);
}

}  // namespace
