#include "run/text_catalogue.h"

#include <optional>

#include "run/config.h"

namespace kv {

namespace {
constexpr int German = 1;
constexpr int English = 2;

struct FixedText {
    int number;
    const char* german;
    const char* english;
};

// The server lost its update file: the only sentence that stays German in
// English mode.
constexpr const char* ServerFileMissing =
    "Die Online-Update-Datei ist auf dem Server nicht verfügbar. Bitte versuchen Sie es zu einem "
    "späteren Zeitpunkt erneut.";

constexpr FixedText FixedTexts[] = {
    {1, "Wählen Sie \"Weiter\" um auf vorhandene Online Updates zu prüfen.",
     "Click \"Next\" to check for available online update's."},
    {2, " jetzt auf ein Internet Update prüfen?", " for an Internet Update?"},
    {3, "Willkommen zum", "Welcome to the"},
    {4, "Es liegt ein neues Update vor !", "New Update is available !"},
    {5, "Es liegt leider kein neues Update vor.", "Sorry, no Update available."},
    {6, "Download &abbrechen", "&Cancel download"},
    {7, "&Abbrechen", "&Cancel"},
    {8, "&Update laden", "&Install"},
    {9, "Programmname:", "Program name:"},
    {10, "Größe der Updatedatei:", "Update File size:"},
    {11, "Neue Version:", "New Version:"},
    {12, "Aktuelle Version:", "Current Version:"},
    {13, "Version:", "Version:"},
    {14, "Datum des Updates:", "Date of Update:"},
    {15, "letztes Update:", "last Update:"},
    {16, "Bitte etwas Geduld. Verarbeite Daten... ", "Please be patient. Processing Data... "},
    {17, "Verbinde mit dem Internet...", "Connecting to Internet..."},
    {18, "Update Referenz", "Update Information"},
    {19, "wurde geprüft", "was retrieved"},
    {20, " Update (", " Update ("},
    {21, " bytes) gespeichert", " bytes) saved"},
    {22, "Transfer Fehler, bitte versuchen Sie es später wieder.",
     " Transfer Error! Close Program and try again later."},
    {23, "Fehler bei Dateitransfer!", "Error while transferring Data!"},
    {24, "Lade Update vom Internet...", "Loading update from the internet..."},
    {25,
        "Sie sind nicht mit dem Internet verbunden oder Ihre Firewall blockiert\r"
        "den Zugriff!\r"
        " \r"
        "Bitte überprüfen Sie die Einstellungen der Firewall oder stellen eine\r"
        "Online-Verbindung her.\r"
        " \r"
        "Klicken Sie \"Online Update prüfen\" um den Vorgang zu wiederholen.",
        "You are not connected to the internet or your firewall blocks\r"
        "program access!\r"
        " \r"
        "Please check your firewall settings or connect to the internet.\r"
        " \r"
        "Click \"Check Online Update\" to retry."},
    {26, "Update auf Version ", "Update to Version "},
    {27, " ausgeführt", " complete"},
    {28, "Fehler bei der Updateinstallation!\rKeine Daten gefunden!",
     "Error while Updating!\rNo Data's found!"},
    {37, "Version des Updates stimmt nicht mit", "Version Mismatch!"},
    {38, "Ihrer installierten Version überein.", "Update doesn't match your installed software"},
    {39, "Bitte wenden Sie sich an Karvell.", "version. Please contact Karvell for help."},
    {40, "Starte jetzt die Installation des Updates", "Initializing Setup for Programm Update"},
    {41, "Kann Update nicht starten", "Can't launch update file"},
    {42, "Online Update Assistenten", "Online Update Wizard"},
    {43, "Wählen Sie \"Abbrechen\" zum Verlassen des Assistenten.", "Click \"Cancel\" to Exit Wizard."},
    {44, "&Weiter", "&Next"},
    {45, "Überprüfung auf Online Updates für Programm", "Check for Online Update's for program"},
    {46, "&Online Update prüfen", "&Check Online Update"},
    {47, "&Schließen", "&Close"},
    {48, "Bitte einen Moment Geduld...", "Please be patient for one moment..."},
    {49, "Laden des Online Updates für Programm", "Retrieve Online Update"},
    {50, "Informationen zur Programmversion sind nicht verfügbar! Bitte wenden Sie sich an Karvell.",
     "Information about program version is not available! Please contact Karvell."},
    {51, "Informationen zur Programmversion sind nicht verfügbar! Bitte wenden Sie sich an den Autor",
     "Information about program version is not available! Please contact author."},
    {52, "Online Update ist nicht möglich da Programm Referenz nicht gefunden wurde.",
     "Can't find program reference file. Online Update impossible."},
    {53, "Update Komponenten fehlen, bitte wenden Sie sich an", "Programm files are missing, please contact"},
    {54, "Verbindungsfehler...", "connection error..."},
    {55, "Bitte gehen Sie Online. Klicken Sie dann \"Online Update prüfen\"",
     "Please connect to the internet then click \"Check Online Update\""},
    {56, "Möchten Sie Quillon wieder starten?", "Launch Quillon program?"},
    {57, "Update durchgeführt", "Update done"},
    {58, "Fehler", "Error"},
    {59, "Konnte das Programm Quillon nicht starten!", "Unable to launch Quillon program!"},
    {60, "Bitte klicken Sie \"Update laden\" um das Update auszuführen",
     "Please click \"Install\" to run the update"},
    {61, "Bitte warten...", "Please wait..."},
    {62, "Karvell", "Karvell"},
    {64, "Fehler beim Programmaufruf", "Error calling update program"},
    {65, "Update kann nicht direkt ausgeführt werden, bitte starten Sie das Update im Hauptprogramm",
     "Update program can't be excecuted, please call update from your main application"},
    {66,
        "Es sind weitere Updates für Ihr Programm verfügbar ! \r"
        "Bitte starten Sie das Online-Update nach diesem Update erneut.\r"
        " \r"
        "Klicken Sie auf OK um die Installation dieses Updates zu starten.",
        "More updates are available! Please run online update again after this update.\r"
        " \r"
        "Click OK to start this update."},
    {67, " erneut starten?        ", " start again after update    "},
    {68, " kann nicht gestartet werden   ", " can not be launched   "},
    {69, "Programm starten...", "Program start..."},
    {70, "ohne Versionsinformationen", "no versioninformation"},
    {71, "Sie sind möglicherweise über einen Proxy mit dem",
     "It looks like you are connected to the internet"},
    {72, "Internet verbunden. Möchten Sie die Verbindungs-",
     "through a proxy server. Do you wish to enter the "},
    {73, "einstellungen jetzt vornehmen?", "settings for the proxy now?"},
    {74, "Ungültige Proxy IP", "Invalid Proxy IP"},
    {77, "Bitte kontaktieren Sie Karvell um das Problem zu",
     "online update. Please contact Karvell to solve"},
    {84, "Vielen Dank für Ihr Verständnis.", "Thank's for your mutual understanding."},
    {86, "&Beenden", "&Close"},
    {87, "Leider ist Ihre Programmversion veraltet.", "Sorry, program version to outdated."},
    {88, "Update Start ist fehlgeschlagen. Bitte beenden Sie das Programm und versuchen es erneut.",
     "Launsh of Update failed. Please cose the program and try again later."},
    {89, ServerFileMissing, ServerFileMissing},
    {91, "Laden des Update abgeschlossen.", "Download of update complete."},
    {92, "Bitte warten, Installation startet...", "Please wait, setup will start shortly..."},
    {93,
     "Die geladene Update-Datei trägt keine gültige Signatur von Karvell.\rDas Update wird aus "
     "Sicherheitsgründen nicht gestartet.\rBitte wenden Sie sich an Karvell.",
     "The downloaded update file does not carry a valid signature of Karvell.\rThe update is not started for "
     "your safety.\rPlease contact Karvell."},
    {94, "Die Proxy-Einstellung konnte nicht gespeichert werden:", "The proxy setting could not be saved:"},
};

std::optional<std::string> Fixed(int language, int number) {
    for (const FixedText& entry : FixedTexts)
        if (entry.number == number) return language == German ? entry.german : entry.english;
    return std::nullopt;
}

// Entries that insert configuration or run-time values.
std::optional<std::string> Composed(int language, int number, const CatalogueFields& fields) {
    const bool german = language == German;
    if (number >= 29 && number <= 32) {
        const auto line = static_cast<std::size_t>(number - 29);
        return std::string(german ? fields.newsAfterDe[line] : fields.newsAfterEn[line]);
    }
    switch (number) {
    case 78:
        return std::string(german ? "lösen.     EMail: " : "the problem.   EMail: ") + config::SupportEmail;
    case 83:
        return german ? std::string(15, ' ') + "Telefon: " + config::PhoneNational
                      : std::string(19, ' ') + "Fone: " + config::PhoneInternational;
    case 85:
        return german ? "Ihre Programmversion (" + std::string(fields.installedVersion) +
                            ") ist leider zu veraltet um ein Online-Update durchzuführen."
                      : "Sorry, your program version (" + std::string(fields.installedVersion) +
                            ") is to outdated to update via online update";
    case 90:
        return german ? "Der Updatezyklus für Ihr Programm " + std::string(fields.appName) +
                            " ist abgelaufen. Weitere Updates stehen nicht mehr zur Verfügung."
                      : "Update cycle for your program " + std::string(fields.appName) +
                            " has expired. No further updates will be supplied.";
    default:
        return std::nullopt;
    }
}
}  // namespace

std::string CatalogueText(int language, int number, const CatalogueFields& fields) {
    if (language != German && language != English) return {};
    if (auto text = Composed(language, number, fields)) return *text;
    return Fixed(language, number).value_or(std::string());
}

std::string CatalogueText(const WizardState& state, int number) {
    CatalogueFields fields;
    for (std::size_t i = 0; i < fields.newsAfterDe.size(); ++i) {
        fields.newsAfterDe[i] = state.NewsAfterDe[i];
        fields.newsAfterEn[i] = state.NewsAfterEn[i];
    }
    fields.installedVersion = state.InstalledVersion;
    fields.appName = state.AppName.str();
    return CatalogueText(state.Language, number, fields);
}

}  // namespace kv
