#pragma once
#include <string>

namespace kv {

// The privacy information as one RTF document (Windows-1252, CR LF line
// ends), exactly as the privacy dialog writes it to disk.
std::string PrivacyDocumentRtf();

// Where the privacy dialog keeps its document, below the common data folder.
std::string PrivacyDocumentPath(const std::string& commonAppDataFolder);

}  // namespace kv
