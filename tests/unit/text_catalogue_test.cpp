#include <gtest/gtest.h>

#include "fakes/wizard_fixture.h"
#include "app/config.h"
#include "wizard/text_catalogue.h"

namespace {

using kv::CatalogueText;

constexpr int German = 1;
constexpr int English = 2;

std::string Text(int language, int number) { return CatalogueText(language, number, {}); }

TEST(TextCatalogue, UmlautsAreWindows1252Bytes) {
    EXPECT_EQ(Text(German, 10), "Gr\xF6\xDF" "e der Updatedatei:");
    EXPECT_EQ(Text(German, 45), "\xDC" "berpr\xFC" "fung auf Online Updates f\xFC" "r Programm");
    EXPECT_EQ(Text(German, 74), "Ung\xFCltige Proxy IP");
    EXPECT_EQ(Text(German, 1), "W\xE4hlen Sie \"Weiter\" um auf vorhandene Online Updates zu pr\xFC" "fen.");
}

TEST(TextCatalogue, LineBreaksAreSingleCarriageReturns) {
    EXPECT_EQ(Text(English, 28), "Error while Updating!\rNo Data's found!");
    EXPECT_EQ(Text(English, 25),
              "You are not connected to the internet or your firewall blocks\rprogram access!\r \r"
              "Please check your firewall settings or connect to the internet.\r \r"
              "Click \"Check Online Update\" to retry.");
    EXPECT_EQ(Text(German, 66).find('\n'), std::string::npos);
    EXPECT_EQ(Text(German, 93),
              "Die geladene Update-Datei tr\xE4gt keine g\xFCltige Signatur von Karvell.\r"
              "Das Update wird aus Sicherheitsgr\xFC" "nden nicht gestartet.\rBitte wenden Sie sich an Karvell.");
    EXPECT_EQ(Text(English, 93),
              "The downloaded update file does not carry a valid signature of Karvell.\r"
              "The update is not started for your safety.\rPlease contact Karvell.");
    EXPECT_EQ(Text(German, 66).substr(0, 54), "Es sind weitere Updates f\xFCr Ihr Programm verf\xFC" "gbar ! \r");
}

TEST(TextCatalogue, FragmentsKeepTheirBlanks) {
    EXPECT_EQ(Text(German, 67), " erneut starten?        ");
    EXPECT_EQ(Text(English, 67), " start again after update    ");
    EXPECT_EQ(Text(German, 68), " kann nicht gestartet werden   ");
    EXPECT_EQ(Text(English, 72), "through a proxy server. Do you wish to enter the ");
    EXPECT_EQ(Text(German, 16), "Bitte etwas Geduld. Verarbeite Daten... ");
    EXPECT_EQ(Text(English, 22), " Transfer Error! Close Program and try again later.");
    EXPECT_EQ(Text(German, 20), " Update (");
    EXPECT_EQ(Text(English, 20), " Update (");
}

TEST(TextCatalogue, KeepsTheSystemsOwnSpelling) {
    EXPECT_EQ(Text(English, 65), "Update program can't be excecuted, please call update from your main application");
    EXPECT_EQ(Text(English, 88), "Launsh of Update failed. Please cose the program and try again later.");
    EXPECT_EQ(Text(English, 84), "Thank's for your mutual understanding.");
    EXPECT_EQ(Text(English, 87), "Sorry, program version to outdated.");
}

TEST(TextCatalogue, ContactLinesCarryTheConfiguredAddressAndNumbers) {
    EXPECT_EQ(Text(German, 78), std::string("l\xF6sen.     EMail: ") + kv::config::SupportEmail);
    EXPECT_EQ(Text(English, 78), std::string("the problem.   EMail: ") + kv::config::SupportEmail);
    EXPECT_EQ(Text(German, 83), std::string(15, ' ') + "Telefon: " + kv::config::PhoneNational);
    EXPECT_EQ(Text(English, 83), std::string(19, ' ') + "Fone: " + kv::config::PhoneInternational);
}

TEST(TextCatalogue, SameTextsInBothLanguages) {
    EXPECT_EQ(Text(English, 89), Text(German, 89));
    EXPECT_EQ(Text(English, 89).substr(0, 31), "Die Online-Update-Datei ist auf");
    EXPECT_EQ(Text(English, 62), "Karvell");
    EXPECT_EQ(Text(English, 13), Text(German, 13));
    EXPECT_EQ(Text(English, 47), "&Close");
    EXPECT_EQ(Text(English, 86), "&Close");
    EXPECT_EQ(Text(German, 86), "&Beenden");
}

TEST(TextCatalogue, UndefinedNumbersAndLanguagesGiveTheEmptyText) {
    for (const int number : {0, 33, 34, 35, 36, 63, 75, 76, 79, 80, 81, 82, 94, 255, -1}) {
        EXPECT_EQ(Text(German, number), "") << number;
        EXPECT_EQ(Text(English, number), "") << number;
    }
    for (const int language : {0, 3, -1}) {
        EXPECT_EQ(Text(language, 58), "") << language;
        EXPECT_EQ(Text(language, 83), "") << language;
        EXPECT_EQ(Text(language, 29), "") << language;
    }
    EXPECT_EQ(Text(German, 58), "Fehler");
    EXPECT_EQ(Text(English, 92), "Please wait, setup will start shortly...");
}

class WizardCatalogue : public ::testing::Test, public kv::test::WizardFixture {};

TEST_F(WizardCatalogue, ComposedEntriesUseTheFieldsAtTheTimeOfTheCall) {
    kv::TUpInew& w = wizard();
    w.Language = German;
    w.NewsAfterDe = {"neu 1", "neu 2", "", "neu 4"};
    w.NewsAfterEn = {"new 1", "new 2", "new 3", "new 4"};
    EXPECT_EQ(w.GL(29), "neu 1");
    EXPECT_EQ(w.GL(31), "");
    EXPECT_EQ(w.GL(32), "neu 4");
    w.Language = English;
    EXPECT_EQ(w.GL(30), "new 2");
    w.NewsAfterEn[1] = "changed";
    EXPECT_EQ(w.GL(30), "changed");
}

TEST_F(WizardCatalogue, VersionAndNameAreInsertedWithoutExtraBlanks) {
    kv::TUpInew& w = wizard();
    w.Language = German;
    w.InstalledVersion = "7.2.1";
    w.AppName = "QO Rind";
    EXPECT_EQ(w.GL(85), "Ihre Programmversion (7.2.1) ist leider zu veraltet um ein Online-Update durchzuf\xFChren.");
    EXPECT_EQ(w.GL(90), "Der Updatezyklus f\xFCr Ihr Programm QO Rind ist abgelaufen. Weitere Updates stehen nicht "
                        "mehr zur Verf\xFCgung.");
    w.Language = English;
    w.InstalledVersion.clear();
    EXPECT_EQ(w.GL(85), "Sorry, your program version () is to outdated to update via online update");
    EXPECT_EQ(w.GL(90), "Update cycle for your program QO Rind has expired. No further updates will be supplied.");
}

TEST_F(WizardCatalogue, NoTextBeforeTheLanguageIsChosen) {
    EXPECT_EQ(wizard().GL(58), "");
}

}  // namespace
