"""A product whose version list file is nowhere: the welcome page says that no program reference exists,
next is disabled, and closing reports reason 5 at once, without the restart question."""
from kvharness import Harness
from kvproducts import QO_PARAMETERS, QO_REGISTRY, TEXTS, WIZARD_TITLE, expect_no_box, reachable, start

T = TEXTS["de"]

with Harness("outcome_no_version_list", lang="de") as h:
    reachable(h)
    h.import_reg(QO_REGISTRY.format(qoid="QO-4711"))
    run, wizard = start(h, QO_PARAMETERS)
    h.wait_shown(wizard, T["no_reference"], 10)
    h.wait_shown(wizard, "Online Update Assistenten", 5)
    assert not h.button(wizard, T["next"])["enabled"], "next is enabled without a version list file"
    h.screenshot("outcome_no_version_list")
    h.click(wizard, T["close"])
    h.wait_gone(title=WIZARD_TITLE, timeout=30)
    expect_no_box(h)
    h.the_report(run, 5)
    assert not h.host_path(r"C:\ProgramData\Karvell\QOFolio\QOOnline.lst").exists()
