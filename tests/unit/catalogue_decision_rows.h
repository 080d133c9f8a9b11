#pragma once
#include <string>
#include <vector>

#include "catalogue/catalogue_decision.h"

// The catalogue decision's rules and their ties, row by row: what a product
// section decides for an installed court-register product. The decision's
// own test and the maker's tool's test run the same rows.
namespace kv::test {

struct InstalledRow {
    std::string version = "8.1.9";
    std::string edition = "b";
    bool court = false;  // a court-register product (special updates by PCode)
    int localAction = 0;
};

struct DecisionRow {
    const char* name;
    std::string section;  // the keys of section "qoonline" + edition
    InstalledRow installed;
    CatalogueOutcome expected;
};

// The installation's id, which the PCode targets name.
inline constexpr const char* DecisionQOId = "QO-4711-ABCDEFGH";

// A catalogue whose product section for `edition` holds `section`, behind a
// section of another product that must not be read.
inline std::string DecisionCatalogue(const std::string& section, const std::string& edition) {
    return "[other]\r\nverinfo=9.9.9\r\n[qoonline" + edition + "]\r\n" + section;
}

inline const std::vector<DecisionRow>& DecisionRows() {
    const std::string Offered = "verinfo=8.1.10\r\nprog=QO Folio\r\n";
    const InstalledRow Court{"8.1.9", "b", true, 3};
    static const std::vector<DecisionRow> rows = {
        {"digits only: 8.1.10 beats 8.1.9", Offered, {}, kv::CatalogueOutcome::Offer},
        {"digits only: 1.10 beats 2.0", "verinfo=1.10\r\nprog=QO Folio\r\n", {"2.0"}, kv::CatalogueOutcome::Offer},
        {"equal, SU F", "verinfo=8.1.9\r\nprog=QO Folio\r\nSU=F\r\n", {}, kv::CatalogueOutcome::NoUpdate},
        {"equal, SU T", "verinfo=8.1.9\r\nprog=QO Folio\r\nSU=T\r\n", {}, kv::CatalogueOutcome::Offer},
        {"SU TRUE keeps TR only", "verinfo=8.1.9\r\nprog=QO Folio\r\nSU=TRUE\r\n", {}, kv::CatalogueOutcome::NoUpdate},
        {"title differs in case", "verinfo=8.1.10\r\nprog=QO folio\r\n", {}, kv::CatalogueOutcome::NoUpdate},
        {"title differs, SU T", "verinfo=8.1.10\r\nprog=QO folio\r\nSU=T\r\n", {}, kv::CatalogueOutcome::Offer},
        {"no prog", "verinfo=8.1.10\r\n", {}, kv::CatalogueOutcome::NoUpdate},
        {"NoMoreUp reached, SINU T", Offered + "NoMoreUp=8.1.9\r\nSINU=T\r\n", {},
         kv::CatalogueOutcome::EndOfUpdates},
        {"NoMoreUp above, SINU T", Offered + "NoMoreUp=8.2.0\r\nSINU=T\r\n", {},
         kv::CatalogueOutcome::EndOfUpdates},
        {"NoMoreUp reached, SINU F", Offered + "NoMoreUp=8.1.9\r\nSINU=F\r\n", {},
         kv::CatalogueOutcome::Offer},
        {"NoMoreUp reached, SINU TR", Offered + "NoMoreUp=8.1.9\r\nSINU=TR\r\n", {},
         kv::CatalogueOutcome::Offer},
        {"NoMoreUp below", Offered + "NoMoreUp=8.1.8\r\nSINU=T\r\n", {}, kv::CatalogueOutcome::Offer},
        {"edition a never ends", Offered + "NoMoreUp=8.1.9\r\nSINU=T\r\n", {"8.1.9", "a", true},
         kv::CatalogueOutcome::Offer},
        {"edition an never ends", Offered + "NoMoreUp=8.1.9\r\nSINU=T\r\n", {"8.1.9", "an", true},
         kv::CatalogueOutcome::Offer},
        {"edition ab ends", Offered + "NoMoreUp=8.1.9\r\nSINU=T\r\n", {"8.1.9", "ab", true},
         kv::CatalogueOutcome::EndOfUpdates},
        {"OldSmalerNo reached", Offered + "OldSmalerNo=8.1.9\r\n", {}, kv::CatalogueOutcome::Outdated},
        {"OldSmalerNo reached, SU T", Offered + "OldSmalerNo=8.1.9\r\nSU=T\r\n", {},
         kv::CatalogueOutcome::Offer},
        {"OldSmalerNo and NoMoreUp reached",
         Offered + "OldSmalerNo=8.1.9\r\nNoMoreUp=8.1.9\r\nSINU=T\r\n", {},
         kv::CatalogueOutcome::EndOfUpdates},
        {"empty installed version, limits 0",
         Offered + "OldSmalerNo=0\r\nNoMoreUp=\r\nSINU=T\r\n", {""}, kv::CatalogueOutcome::Offer},
        {"empty installed version, OldSmalerNo 1", Offered + "OldSmalerNo=1\r\n", {""},
         kv::CatalogueOutcome::Outdated},
        {"target with equal action number", Offered + "ActS=3\r\nPCode1=QO-4711-ABCDEFGH\r\n", Court,
         kv::CatalogueOutcome::Offer},
        {"target with newer action number", "verinfo=8.1.9\r\nActS=5\r\nPCode1=QO-4711-ABCDEFGH\r\n", Court,
         kv::CatalogueOutcome::SpecialUpdate},
        {"special wins over a newer version", Offered + "ActS=5\r\nPCode1=QO-4711-ABCDEFGH\r\n", Court,
         kv::CatalogueOutcome::SpecialUpdate},
        {"end of updates wins over special",
         Offered + "ActS=5\r\nPCode1=QO-4711-ABCDEFGH\r\nNoMoreUp=9.0.0\r\nSINU=T\r\n", Court,
         kv::CatalogueOutcome::EndOfUpdates},
        {"target differs in case", "verinfo=8.1.9\r\nActS=5\r\nPCode1=qo-4711-abcdefgh\r\n", Court,
         kv::CatalogueOutcome::NoUpdate},
        {"list cut by empty key", "verinfo=8.1.9\r\nActS=5\r\nPCode1=A\r\nPCode2=\r\nPCode3=QO-4711-ABCDEFGH\r\n",
         Court, kv::CatalogueOutcome::NoUpdate},
        {"list cut by X", "verinfo=8.1.9\r\nActS=5\r\nPCode1=A\r\nPCode2=X\r\nPCode3=QO-4711-ABCDEFGH\r\n", Court,
         kv::CatalogueOutcome::NoUpdate},
        {"list cut by a gap", "verinfo=8.1.9\r\nActS=5\r\nPCode1=A\r\nPCode3=QO-4711-ABCDEFGH\r\n", Court,
         kv::CatalogueOutcome::NoUpdate},
        {"ActS not a number", "verinfo=8.1.9\r\nActS=5a\r\nPCode1=QO-4711-ABCDEFGH\r\n", Court,
         kv::CatalogueOutcome::NoUpdate},
        {"error page", "", {}, kv::CatalogueOutcome::NoUpdate},
    };
    return rows;
}

}  // namespace kv::test
