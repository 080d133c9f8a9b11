#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "fakes/wizard_fixture.h"
#include "run/config.h"
#include "run/text_catalogue.h"

namespace {

using kv::CatalogueText;

constexpr int German = 1;
constexpr int English = 2;

std::string Text(int language, int number) { return CatalogueText(language, number, {}); }

// Every message of the catalogue, byte for byte in Windows-1252, against a
// table kept apart from the code: number, German, English, separated by
// tabs; "\r" stands for one CR, {Name} for a value the entry inserts.
std::map<int, std::pair<std::string, std::string>> ExpectedMessages() {
    std::ifstream file(std::string(KV_FIXTURES) + "/catalogue/messages.tsv", std::ios::binary);
    std::map<int, std::pair<std::string, std::string>> messages;
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
        messages[std::stoi(line.substr(0, tab1))] = {line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)};
    }
    return messages;
}

std::string Filled(std::string text, const std::map<std::string, std::string>& values) {
    for (std::size_t at; (at = text.find("\\r")) != std::string::npos;) text.replace(at, 2, "\r");
    for (const auto& [name, value] : values)
        for (std::size_t at; (at = text.find("{" + name + "}")) != std::string::npos;)
            text.replace(at, name.size() + 2, value);
    return text;
}

class WizardCatalogue : public ::testing::Test, public kv::test::WizardFixture {};

TEST_F(WizardCatalogue, EveryMessageInBothLanguagesByteForByte) {
    kv::TUpInew& w = wizard();
    w.InstalledVersion = "7.2.1";
    w.AppName = "QO Rind";
    w.NewsAfterDe = {"DS eins", "DS zwei", "DS drei", "DS vier"};
    w.NewsAfterEn = {"ES one", "ES two", "ES three", "ES four"};
    const std::map<std::string, std::string> values{
        {"InstalledVersion", "7.2.1"}, {"AppName", "QO Rind"}, {"SupportEmail", kv::config::SupportEmail},
        {"PhoneNational", kv::config::PhoneNational}, {"PhoneInternational", kv::config::PhoneInternational},
        {"DS1", "DS eins"}, {"DS2", "DS zwei"}, {"DS3", "DS drei"}, {"DS4", "DS vier"},
        {"ES1", "ES one"}, {"ES2", "ES two"}, {"ES3", "ES three"}, {"ES4", "ES four"}};
    const auto messages = ExpectedMessages();
    ASSERT_EQ(messages.size(), 83u);
    for (int number = 0; number <= 255; ++number) {
        const auto expected = messages.find(number);
        w.Language = German;
        EXPECT_EQ(w.GL(number), expected == messages.end() ? "" : Filled(expected->second.first, values)) << number;
        w.Language = English;
        EXPECT_EQ(w.GL(number), expected == messages.end() ? "" : Filled(expected->second.second, values)) << number;
    }
}

TEST(TextCatalogue, UndefinedLanguagesGiveTheEmptyText) {
    for (const int language : {0, 3, -1}) {
        EXPECT_EQ(Text(language, 58), "") << language;
        EXPECT_EQ(Text(language, 83), "") << language;
        EXPECT_EQ(Text(language, 29), "") << language;
    }
}

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
