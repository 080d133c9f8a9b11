#pragma once

namespace kv {

// Why a report was sent. The report server sorts runs by this number, so the
// values are fixed.
enum class ReportReason {
    NoUpdate = 1,
    InstallerStarted = 2,
    DownloadAborted = 4,
    ClosedBeforeDownload = 5,
    OutdatedProgram = 7,
    NoFurtherUpdate = 8,
    ClosedByCloseBox = 19,
    DownloadedNotStarted = 22,
    SignatureNotValid = 23,
};

}  // namespace kv
