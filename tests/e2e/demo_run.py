"""The demo's run: a court-register product "QO Folio" at version 8.1.9 finds the update 8.1.10 on the local
update server, downloads the (test) installer and starts it; the report arrives at the local report server.
The program is the secure one: both servers over HTTPS ("https://localhost", certified by the tests' own root,
which only the demo's Wine prefix trusts), and the installer signed by the expected signer, checked before it
starts. Driven automatically, the demo then offers the same update with an unsigned installer, which is refused.

    python3 demo_run.py OUTPUT_FOLDER           # driven automatically, a screenshot per page
    python3 demo_run.py OUTPUT_FOLDER --display :0   # the user clicks through on that display

Needs the peers running (scripts/demo.sh starts and stops them) and KV_BUILD_DIR naming the win64 build.
"""
import argparse
import shutil
import subprocess
from pathlib import Path

from kvharness import Harness, report_lines, wait_until
from kvproducts import QO_DATA, QO_INSTALLER, TEXTS, WIZARD_TITLE, court_product, start
from kvsecure import secure, signed

T = TEXTS["de"]
# The demo's catalogue as a maker would publish it; scripts/demo.sh checks it with kvcatalog first.
DEMO_CATALOGUE = (Path(__file__).parent / "demo_update.ini").read_bytes()


def prepare(h):
    secure(h)
    court_product(h)
    h.serve("/update.ini", DEMO_CATALOGUE)
    h.serve(QO_INSTALLER, signed(h, "signed-good.exe"))


def picture(h, out, name):
    """The screen cut to the program's windows (the display's empty background trimmed away)."""
    # Without the time stamps ImageMagick writes, an unchanged page gives the same file.
    subprocess.run(["convert", str(h.screenshot(f"demo-{name}")), "-trim", "+repage", "-strip",
                    "-define", "png:exclude-chunks=date,time", str(out / f"{name}.png")], check=True)


def driven(h, out):
    run, wizard = start(h)
    h.wait_shown(wizard, T["welcome"] + " QO Folio Online Update Assistenten", 10)
    picture(h, out, "1-welcome")
    h.click(wizard, T["next"])
    h.wait_shown(wizard, T["offer"], 60)
    h.wait_shown(wizard, "Neue Formulare 2025", 10, part=True)
    picture(h, out, "2-offer")
    h.click(wizard, T["install"])
    h.wait_window(cls="#32770", title=" Information", timeout=60)
    picture(h, out, "3-downloaded")
    h.answer_box(caption=" Information")
    record = h.host_path(QO_DATA + r"\kvinstaller-run.txt")
    # No picture of the start: the wizard waits without repainting until it closes.
    wait_until(record.exists, 60, "the installer's start")
    h.wait_gone(title=WIZARD_TITLE, timeout=30)
    return run


def refused(h, out):
    """The same update with an unsigned installer: what the user sees when the check fails."""
    h.serve(QO_INSTALLER, signed(h, "unsigned.exe"))
    run, wizard = start(h)
    h.click(wizard, T["next"])
    h.wait_shown(wizard, T["offer"], 60)
    h.click(wizard, T["install"])
    h.wait_window(cls="#32770", title=" Fehler", timeout=60)
    h.wait_shown(wizard, "Die geladene Update-Datei trägt keine gültige Signatur", 10, part=True)
    picture(h, out, "4-refused")
    h.answer_box(caption=" Fehler")
    h.finish(run)


def by_hand(h):
    run = h.start_kvupdate(["QORIND", "QOFolio", "U", "QOOnline.lst"])
    print("demo: the wizard is on your display; click through it (Weiter, Update laden) or close it.", flush=True)
    run.wait(3600)
    return run


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("output")
    parser.add_argument("--display")
    args = parser.parse_args()
    out = Path(args.output)
    out.mkdir(parents=True, exist_ok=True)
    with Harness("demo", lang="de", display=args.display) as h:
        prepare(h)
        run = by_hand(h) if args.display else driven(h, out)
        run.wait(30)
        reports = wait_until(lambda: h.reports(), 10, "the report at the report server") if not args.display \
            else h.reports()
        text = "\n".join("\n".join(report_lines(r)) for r in reports)
        (out / "report.txt").write_text(text + "\n", encoding="utf-8")
        record = h.host_path(QO_DATA + r"\kvinstaller-run.txt")
        if record.exists():
            shutil.copy(record, out / "installer-started.txt")
        print(f"demo: {len(reports)} report(s) received; pictures and report in {out}", flush=True)
        if not args.display:
            refused(h, out)


if __name__ == "__main__":
    main()
