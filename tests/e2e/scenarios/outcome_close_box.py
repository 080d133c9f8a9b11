"""Closing the wizard by its close box on the welcome page: no question, one report with reason 19."""
from kvharness import Harness
from kvproducts import QO_LIST, WIZARD_TITLE, court_product, expect_no_box, start

with Harness("outcome_close_box", lang="de") as h:
    before = court_product(h).read_bytes()
    run, wizard = start(h)
    h.close(wizard)
    h.wait_gone(title=WIZARD_TITLE, timeout=30)
    expect_no_box(h)
    h.the_report(run, 19)
    assert h.host_path(QO_LIST).read_bytes() == before, "the version list file changed"
    assert not [r for r in h.requests() if "update.ini" in r], "the catalogue was fetched without next"
