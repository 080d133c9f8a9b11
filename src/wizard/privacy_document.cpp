#include "wizard/privacy_document.h"

#include <initializer_list>
#include <string_view>

namespace kv {

namespace {

constexpr std::string_view LineEnd = "\r\n";

// Header, font, colour and list tables: the rich-text view needs the list
// table to draw the bullets of the data list.
constexpr std::string_view Prologue[] = {
    R"({\rtf1\fbidis\ansi\ansicpg0\uc0\deff0\deflang0\deflangfe0\paperw11906\paperh16838\margl1134\margr1134\margt1134\margb1134\headery1134\footery1134\viewscale100\viewzk0)",
    R"({\fonttbl{\f0\fnil Times New Roman;}{\f1\fnil Arial;}{\f2\fnil Arial Narrow;}{\f3\fnil\fcharset0 Arial;}{\f4\fnil\fcharset0 Times New Roman;}}{\colortbl;\red0\green0\blue255;\red0\green0\blue128;\red0\green0\blue0;}{\*\listtable{\list\listtemplateid589315923\listsimple1)",
    R"({\listlevel\levelnfc23\leveljc0\li720\fi-360\jclisttab\tx720{\leveltext\'01*;}{\levelnumbers;}\f4\fs20})",
    R"(\listid1726237345})",
    R"(})",
    R"({\*\listoverridetable)",
    R"({\listoverride\listid1726237345\listoverridecount0\ls1})",
    R"(})",
    R"(\margl1134\margt1134\margr1134\margb1134)",
};

constexpr std::string_view FirstParagraph = R"(\pard\fi0\li0\ql\ri0\sb0\sa0\itap0 \plain \f3\fs20 )";
constexpr std::string_view Regular = R"(\plain \f3\fs20 )";
constexpr std::string_view Bold = R"(\plain \f3\b\fs20 )";
constexpr std::string_view ListParagraph = R"(\pard\li720\fi-360\jclisttab\tx720\ql\ri0\sb0\sa0\itap0 \ls1\ilvl0)";
constexpr std::string_view Bullet = R"({\listtext\pard\plain\f4\fs20 *\tab})";
constexpr std::string_view ListEnd = R"(\par \plain\pard\fi0\li0\ql\ri0\sb0\sa0\itap0 \plain \f3\fs20)";
constexpr std::string_view Epilogue = R"(\par \plain \f3\fs20 \par})";
constexpr std::string_view EmptyParagraph = R"(\par)";

constexpr std::string_view Introduction =
    "Karvell Individualsoftware nimmt den Schutz Ihrer persönlichen Daten sehr ernst, insbesondere "
    "wenn Sie über das Internet mit uns in Verbindung treten.";
constexpr std::string_view Transmission[] = {
    "Die Online-Dienste unserer Softwareprodukte übertragen nur die Daten, die für den von Ihnen "
    "angeforderten Dienst benötigt werden.",
    "Der Server legt mit diesen Daten und der IP-Adresse, von der die Anfrage kam, einen "
    "Protokolleintrag an.",
};
constexpr std::string_view Promise =
    "Personenbezogene Daten werden nur erhoben, soweit es erforderlich ist, ausschließlich zur "
    "Bearbeitung Ihrer Anfrage verwendet und niemals verkauft, verliehen oder auf andere Weise an "
    "Dritte weitergegeben. Sie können jederzeit Auskunft darüber verlangen, welche Daten über Sie "
    "gespeichert sind.";
constexpr std::string_view Outcome =
    "Der Protokolleintrag hält fest, ob die Anfrage erfolgreich war oder ein Fehler aufgetreten ist. "
    "Je nach Produkt kann statt des Protokolleintrags eine E-Mail mit denselben Daten versandt werden.";
constexpr std::string_view ListLeadIn = "Der Server-Protokolleintrag  umfasst folgende Daten:";
constexpr std::string_view ListItems[] = {
    "Name der Software",
    "Seriennummer der Software",
    "Installationsort der Software",
    "Versionsinformationen zu Betriebssystem",
    "Landes- und Spracheinstellung des Systems",
    "Version des Online-Clients der Software",
    "Name oder Firmenname",
    "Adresse, E-Mail Adresse, Telefonnummer",
};
constexpr std::string_view Contact[] = {
    "Karvell Individualsoftware",
    "Lindenallee 12, 34567 Musterstadt",
    "Telefon 01234 567890, Telefax 01234 567899",
    "E-Mail info@karvell.example, Internet www.karvell.example",
};

class Document {
public:
    void Line(std::initializer_list<std::string_view> parts) {
        for (std::string_view part : parts) text_ += part;
        text_ += LineEnd;
    }
    void Paragraph(std::string_view body) { Line({EmptyParagraph, " ", body}); }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

}  // namespace

std::string PrivacyDocumentRtf() {
    Document d;
    for (std::string_view line : Prologue) d.Line({line});

    d.Line({FirstParagraph, Introduction});
    d.Line({EmptyParagraph});
    for (std::string_view paragraph : Transmission) d.Paragraph(paragraph);
    d.Line({EmptyParagraph});
    d.Line({EmptyParagraph, " ", Bold, Promise});
    d.Line({EmptyParagraph});
    d.Line({EmptyParagraph, " ", Regular, Outcome});
    d.Line({EmptyParagraph});
    d.Paragraph(ListLeadIn);

    d.Line({EmptyParagraph, " ", ListParagraph, Bullet, Regular, ListItems[0]});
    for (std::size_t i = 1; i < std::size(ListItems); ++i) d.Line({EmptyParagraph, " ", Bullet, Regular, ListItems[i]});
    d.Line({ListEnd});
    d.Line({EmptyParagraph});

    for (std::string_view paragraph : Contact) d.Paragraph(paragraph);
    d.Line({Epilogue});
    return d.Take();
}

std::string PrivacyDocumentPath(const std::string& commonAppDataFolder) {
    return commonAppDataFolder + "\\Karvell\\erg2.rtf";
}

}  // namespace kv
