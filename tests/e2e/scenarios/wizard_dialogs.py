"""The wizard window's own dialogs under Wine: the About box from the menu and from the notice line, the
privacy dialog with its rich-text document (closed by its link, which deletes the document, and by its close
box, which leaves it), and the two ways of closing the wizard."""
import subprocess

from kvharness import Harness, ScenarioError, wait_until

WIZARD_TITLE = "Karvell Netrefresh Tool V 8.1.10"
PRIVACY_TITLE = "Karvell Datenschutzinformationen"
PARAMETERS = ["QORIND", "QOFolio", "U", "QOOnline.lst"]
DOCUMENT = r"C:\ProgramData\Karvell\erg2.rtf"
CLIENT_WIDTH, CLIENT_HEIGHT = 598, 432
FRAME_CAPTION_HALF = 10
NOTICE_LINE_POINT = (260, 362)        # inside Label22 on the welcome page
CLOSE_LINK_POINT = (548, 407)         # inside "Schließen" of the privacy dialog
LIST_ITEMS = [
    "Name der Software", "Seriennummer der Software", "Installationsort der Software",
    "Versionsinformationen zu Betriebssystem", "Landes- und Spracheinstellung des Systems",
    "Version des Online-Clients der Software", "Name oder Firmenname", "Adresse, E-Mail Adresse, Telefonnummer",
]
BOLD_PARAGRAPH_START = "Personenbezogene Daten werden nur erhoben"


def product(h):
    h.import_reg(r"""REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Karvell\QORIND]
"Path"="C:\\Program Files (x86)\\Karvell\\QOFolio"
"AppNamen"="QO Folio"
"VER"="8.1.9"
""")
    h.write_file(r"C:\ProgramData\Karvell\QOFolio\QOOnline.lst",
                 "[PName]\nname=QO Folio\n[QO Folio]\nverinfo=8.1.9\nprog=QO Folio\ndat=2025-01-15\n")


def xdotool(h, *args):
    return subprocess.run(["xdotool", *map(str, args)], env=h.env, check=True, capture_output=True,
                          text=True, timeout=30).stdout


def click_client_point(h, point):
    """A mouse click at a client point of a window of the wizard's client size centred on the screen (the
    wizard, and the privacy dialog centred on it), as the user clicks a label. Wine's top-level windows are
    no X windows of their own here, so the point is reckoned from the screen: the frame's caption lifts the
    client area by about half its height."""
    width, height = map(int, xdotool(h, "getdisplaygeometry").split())
    left = (width - CLIENT_WIDTH) // 2
    top = (height - CLIENT_HEIGHT) // 2 + FRAME_CAPTION_HALF
    x, y = point
    xdotool(h, "mousemove", left + x, top + y)
    xdotool(h, "click", "1")


def open_menu_item(h, wizard, index, screenshot=None):
    """Opens the menu by its button and picks an item by the keyboard."""
    h.click(wizard, "- Menü -")
    wait_until(lambda: h.windows(cls="#32768", visible=True), 10, "the menu")
    if screenshot:
        h.screenshot(screenshot)
    xdotool(h, "key", *(["Down"] * (index + 1)), "Return")


def expect_about_box(h):
    shown = h.answer_box(caption="Information", button="OK")
    if "Karvell Individualsoftware" not in shown["text"] or "Tool V 8.1.10" not in shown["text"]:
        raise ScenarioError(f"About box text {shown['text']!r}")
    return shown


def answer_no(h, caption):
    h.press_box_button(h.wait_window(cls="#32770", title=caption), ("Nein", "No"))


def privacy_dialog(h, wizard):
    open_menu_item(h, wizard, 1)
    dialog = h.wait_window(title=PRIVACY_TITLE)
    view = next((c for c in h.controls(dialog) if c["class"].lower().startswith("richedit")), None)
    if view is None:
        raise ScenarioError(f"no rich-text view in {h.controls(dialog)}")
    text = wait_until(lambda: h.text_of(view), 10, "the privacy text")
    return dialog, text


with Harness("wizard_dialogs", lang="de") as h:
    product(h)
    run = h.start_kvupdate(PARAMETERS)
    wizard = h.wait_window(title=WIZARD_TITLE, timeout=60)
    h.screenshot("wizard_dialogs-welcome")

    open_menu_item(h, wizard, 0, screenshot="wizard_dialogs-menu")
    from_menu = expect_about_box(h)
    click_client_point(h, NOTICE_LINE_POINT)
    from_line = expect_about_box(h)
    assert from_menu == from_line, (from_menu, from_line)

    dialog, text = privacy_dialog(h, wizard)
    h.screenshot("wizard_dialogs-privacy")
    for item in LIST_ITEMS:
        assert item in text, f"{item!r} not in the privacy text"
    assert BOLD_PARAGRAPH_START in text, text[:300]
    assert "{\\rtf" not in text, "the view shows the RTF source"
    assert h.host_path(DOCUMENT).exists()
    click_client_point(h, CLOSE_LINK_POINT)
    h.wait_gone(title=PRIVACY_TITLE)
    assert not h.host_path(DOCUMENT).exists(), "the close link leaves the document"

    dialog, _ = privacy_dialog(h, wizard)
    h.close(dialog)
    h.wait_gone(title=PRIVACY_TITLE)
    assert h.host_path(DOCUMENT).exists(), "the close box deletes the document"

    h.click(wizard, "Schließen")
    answer_no(h, "Programm starten...")
    wait_until(lambda: not run.running(), 30, "the end of the run after No")

with Harness("wizard_close_box", lang="de") as h:
    product(h)
    run = h.start_kvupdate(PARAMETERS)
    wizard = h.wait_window(title=WIZARD_TITLE, timeout=60)
    h.close(wizard)

    def ended_without_a_box():
        if h.windows(cls="#32770", exe="KVUpdate.exe", visible=True):
            raise ScenarioError("a question followed the close box")
        return not run.running()
    wait_until(ended_without_a_box, 30, "the end of the run")
