"""Fault matrix, the call parameters: too few (0, 1, 2: the error box, no window, no report), three (no list
file: no program reference, report 5 at once), nine (the extra ones are ignored), 10,000 characters, control
characters with "^", "§", "$" and non-ASCII letters, and a list file name with a path that must not let the
wizard read or write outside the product data folder."""
from kvharness import Harness
from kvproducts import (QO_LIST, QO_PARAMETERS, QO_REGISTRY, TEXTS, WIZARD_TITLE, court_product, reachable,
                        rows, start, expect_no_box)

T = TEXTS["de"]
PROGRAM_FOLDER = r"C:\Program Files (x86)\Karvell\QOFolio"


def too_few(count):
    def row(name):
        with Harness(name) as h:
            court_product(h)
            run = h.start_kvupdate(QO_PARAMETERS[:count])
            h.answer_box(caption="Fehler beim Programmaufruf", text="Update kann nicht direkt ausgeführt werden, "
                         "bitte starten Sie das Update im Hauptprogramm", timeout=60)
            h.no_report(run)
    return row


def no_reference(parameters, expected_lines=(), prepare=None):
    """The wizard finds no version list file: no program reference, next disabled, report 5 on close."""
    def row(name):
        with Harness(name) as h:
            reachable(h)
            h.import_reg(QO_REGISTRY.format(qoid="QO-4711"))
            kept = prepare(h) if prepare else {}
            run, wizard = start(h, parameters)
            h.wait_shown(wizard, T["no_reference"], 10)
            assert not h.button(wizard, T["next"])["enabled"], "next is enabled"
            h.click(wizard, T["close"])
            h.wait_gone(title=WIZARD_TITLE, timeout=30)
            expect_no_box(h)
            lines = h.the_report(run, 5)
            for expected in expected_lines:
                assert expected in lines, f"{expected!r} not in the report: {lines}"
            for path, before in kept.items():
                assert h.host_path(path).read_bytes() == before, f"{path} changed"
    return row


def welcome(parameters, expected_lines):
    """The product is found as usual; the close box sends report 19 with the cleaned parameters."""
    def row(name):
        with Harness(name) as h:
            before = court_product(h).read_bytes()
            run, wizard = start(h, parameters)
            h.wait_shown(wizard, T["welcome"] + " QO Folio Online Update Assistenten", 10)
            h.wait_shown(wizard, "8.1.9", 5)
            h.close(wizard)
            lines = h.the_report(run, 19)
            for expected in expected_lines:
                assert expected in lines, f"{expected!r} not in the report: {lines}"
            assert h.host_path(QO_LIST).read_bytes() == before
    return row


def outside_list_files(h):
    """Version list files outside the data folder that a path in the name would reach; each would ask
    for the useP correction write if it were read."""
    text = "[PName]\nname=QO Folio\n[QO Folio]\nverinfo=8.1.9\nprog=QO Folio\nuseP=1\n"
    paths = [r"C:\Program Files (x86)\Karvell\x.lst", PROGRAM_FOLDER + r"\sub\x.lst"]
    return {path: h.write_file(path, text).read_bytes() for path in paths}


LONG = "Q" * 10000  # two of them: a command line holds at most 32767 characters
rows([
    ("fault_parameters_none", too_few(0)),
    ("fault_parameters_one", too_few(1)),
    ("fault_parameters_two", too_few(2)),
    ("fault_parameters_three", no_reference(QO_PARAMETERS[:3], ["ParaINI: ", "ParaChar: u"])),
    ("fault_parameters_nine", welcome(QO_PARAMETERS + ["five", "6", "-7", "/8", "9"], ["ParaINI: QOOnline.lst"])),
    ("fault_parameters_10000_characters", no_reference([LONG, "QOFolio", "U" * 12, LONG + ".lst"],
                                                       ["ParaChar: " + "u" * 10, "ParaName: " + LONG.lower()])),
    ("fault_parameters_control_characters", welcome([" QO\tRIND§ ", "Q^O$Fölio", "\x01U\x02", "QOOnline.lst\x1f"],
                                                    ["ParaName: qorind", "ParaChar: u"])),
    ("fault_parameters_list_file_with_path", no_reference(["QORIND", "QOFolio", "U", r"..\x.lst"],
                                                          ["ParaINI: ..\\x.lst"], outside_list_files)),
    ("fault_parameters_list_file_in_subfolder", no_reference(["QORIND", "QOFolio", "U", "sub/x.lst"],
                                                             [], outside_list_files)),
])
