"""The two boxes that end a check without an offer: an installed version at or below the outdated limit
(error box with the contact lines, report 7 on close) and one at the end of its updates (the update cycle
box naming the product, report 8 on close). Both offer "Beenden" and ask about the restart. The maker's
kvcatalog.exe, asked about the same catalogue and installed state, tells the same outcome, page and box."""
from kvharness import Harness
from kvproducts import (TEXTS, catalogue, check, close_and_decline_restart, court_product, explanation_agrees,
                        held_by_box, rows)

T = TEXTS["de"]


def outdated(name):
    with Harness(name, lang="de") as h:
        court_product(h)
        h.serve("/update.ini", catalogue(extra="OldSmalerNo=8.1.9\n"))
        run, wizard = check(h)
        held_by_box(h, wizard, "Fehler", [T["outdated"], "&" + T["finish"]], "box-outdated-over-its-page")
        shown = h.answer_box(caption="Fehler", timeout=60)
        assert shown["text"].startswith("Ihre Programmversion (8.1.9) ist leider zu veraltet"), shown
        assert "Vielen Dank für Ihr Verständnis." in shown["text"], shown
        h.wait_shown(wizard, T["outdated"], 10)
        explanation_agrees(h, wizard, "outdated", shown)
        assert not h.reports(), "a report before closing"
        close_and_decline_restart(h, wizard, T["finish"])
        h.the_report(run, 7)


def end_of_updates(name):
    with Harness(name, lang="de") as h:
        court_product(h)
        # The end of updates wins over the outdated limit.
        h.serve("/update.ini", catalogue(extra="NoMoreUp=8.1.9\nSINU=T\nOldSmalerNo=8.1.9\n"))
        run, wizard = check(h)
        held_by_box(h, wizard, "Online Update", [T["outdated"], "&" + T["finish"]], "box-end-of-updates-over-its-page")
        shown = h.answer_box(caption="Online Update", timeout=60)
        assert shown["text"] == ("Der Updatezyklus für Ihr Programm QO Folio ist abgelaufen. "
                                 "Weitere Updates stehen nicht mehr zur Verfügung."), shown
        h.wait_shown(wizard, T["outdated"], 10)
        explanation_agrees(h, wizard, "end-of-updates", shown)
        close_and_decline_restart(h, wizard, T["finish"])
        h.the_report(run, 8)


rows([("outcome_outdated", outdated), ("outcome_end_of_updates", end_of_updates)])
