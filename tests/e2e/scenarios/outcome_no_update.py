"""No update, in German and in English: the check page says so with the program's name and version, the one
report (reason 1) goes at once, and closing afterwards asks about the restart but sends no second report."""
from kvharness import Harness
from kvproducts import (PROGRAM_NAME, TEXTS, catalogue, check, close_and_decline_restart, court_product, rows)


def no_update(lang):
    def row(name):
        t = TEXTS[lang]
        with Harness(name, lang=lang) as h:
            court_product(h, version="8.1.10")
            h.serve("/update.ini", catalogue(version="8.1.10"))
            run, wizard = check(h, lang)
            h.wait_shown(wizard, t["none"], 60)
            for text in (t["current"], "8.1.10", "QO Folio"):
                h.wait_shown(wizard, text, 5)
            assert not h.button(wizard, t["install"])["enabled"], "install is enabled without an offer"
            h.wait_until(lambda: len(h.reports()) == 1, 15, "the report sent at the check")
            h.screenshot(name)
            close_and_decline_restart(h, wizard, t["close"], lang)
            h.the_report(run, 1)
    return row


rows([("outcome_no_update_de", no_update("de")), ("outcome_no_update_en", no_update("en"))])
