"""Prints the benchmark table from the lines "name value" that scripts/bench.sh
collected: each figure the median of the rounds with its range (min-max),
ratios against the yardsticks of the same run, and each figure against its
target ("ok" or "MISSED")."""
import statistics
import sys
from collections import defaultdict


def load(path):
    values = defaultdict(list)
    with open(path) as lines:
        for line in lines:
            name, _, value = line.strip().partition(" ")
            if value:
                values[name].append(value)
    return values


def numbers(values, name):
    return [float(v) for v in values.get(name, []) if v not in ("", "nan")]


def median(values, name):
    found = numbers(values, name)
    return statistics.median(found) if found else None


def spread(values, name, scale=1.0, digits=2, unit="", offset=0.0):
    """The median and, over several rounds, the range: "12.47 s (12.10-13.02)"."""
    found = [n * scale + offset for n in numbers(values, name)]
    if not found:
        return ""
    text = f"{statistics.median(found):.{digits}f}{unit}"
    if len(found) > 1:
        text += f" ({min(found):.{digits}f}-{max(found):.{digits}f})"
    return text


def verdict(ok):
    return "" if ok is None else ("ok" if ok else "MISSED")


def main():
    values = load(sys.argv[1])
    size_mib = sys.argv[2]
    own = "b-" + sys.argv[3]
    rows = []

    def row(figure, value, ratio="", target="", ok=None):
        rows.append((figure, value, ratio, target, verdict(ok)))

    a = median(values, "a")
    a_cpu = median(values, "a.cpu")
    loops = sorted(name for name in values if name.startswith("b-") and "." not in name)
    # The synchronous hand-overs alone, without a window to update.
    plain = [name for name in loops if "+" not in name]
    fastest = min(plain, key=lambda name: median(values, name)) if plain else None
    fastest_time = median(values, fastest) if fastest else None

    def timed(figure, name, yardstick, yardstick_name, note="", target="", ok=None):
        t, cpu = median(values, name), median(values, name + ".cpu")
        ratio = f"{t / yardstick:.2f} x {yardstick_name}"
        if cpu is not None:
            ratio += f", CPU {cpu:.1f} s = {cpu / a_cpu:.2f} x (a)"
        row(figure, spread(values, name, unit=" s"), ratio + note, target, ok)

    row(f"1 download of {size_mib} MiB (nginx $request_time; CPU incl. wineserver)", "", "", "")
    row("  (c) curl on Linux", spread(values, "curl", digits=3, unit=" s"), f"{median(values, 'curl') / a:.3f} x (a)")
    timed("  (a) bare WinINet loop, 1025-byte reads", "a", a, "(a)")
    for name in loops:
        updates = median(values, name + ".updates")
        note = f", {updates:.0f} control updates" if "+" in name and updates is not None else ""
        marks = [m for m, on in (("the program's", name == own), ("fastest here", name == fastest)) if on]
        timed(f"  (b) {name[2:]}" + (f" ({', '.join(marks)})" if marks else ""), name, a, "(a)", note)
    wizard = median(values, "wizard")
    if wizard is not None:
        welcome_ticks, done_ticks = median(values, "ticks.welcome"), median(values, "ticks.downloaded")
        if welcome_ticks is not None and done_ticks is not None:
            values["wizard.cpu"] = [str((done_ticks - welcome_ticks) / 100)]
        timed("  wizard, installer download", "wizard", fastest_time, "fastest (b)", "",
              "<= 1.10 x fastest (b)", wizard <= 1.10 * fastest_time)
        label, bar = median(values, "wizard.label_rate"), median(values, "wizard.bar_rate")
        row("  progress label updates per second", spread(values, "wizard.label_rate", digits=1), "", "10 .. 60",
            label is not None and 10 <= label <= 60)
        row("  progress bar updates per second", spread(values, "wizard.bar_rate", digits=1), "", "10 .. 60",
            bar is not None and 10 <= bar <= 60)
        signature = median(values, "signature")
        row("  signature check of the downloaded installer", spread(values, "signature", unit=" s"),
            f"{signature / wizard:.3f} x wizard download", "<= 0.25 x wizard download", signature <= 0.25 * wizard)
        answer = median(values, "wizard.answer_max_ms")
        row("  window answers during the download (max)", spread(values, "wizard.answer_max_ms", digits=0,
                                                                    unit=" ms"), "", "<= 100 ms", answer <= 100)

    minimal = median(values, "startup.minimal")
    row("2 start-up to the visible window", "", "", "")
    row("  minimal Win32 window", spread(values, "startup.minimal", digits=0, unit=" ms"), "1.00 x minimal")
    started = median(values, "startup.wizard")
    if started is not None:
        row("  wizard, welcome page", spread(values, "startup.wizard", digits=0, unit=" ms"),
            f"{started / minimal:.2f} x minimal", "<= 1.5 x minimal", started <= 1.5 * minimal)

    curl_ms = median(values, "catalogue.curl_ms")
    row("3 check: nginx answers update.ini to curl", spread(values, "catalogue.curl_ms", digits=1, unit=" ms"))
    # The wizard evaluates the catalogue 1500 ms after it arrived: a round that
    # saw the offer sooner measured something else and is dropped.
    impossible = [v for v in numbers(values, "wizard.offer_ms") if v < 1500]
    values["wizard.offer_ms"] = [v for v in values.get("wizard.offer_ms", []) if v in ("", "nan") or float(v) >= 1500]
    if impossible:
        print(f"dropped {len(impossible)} round(s) that saw the offer before the pause ended: "
              + ", ".join(f"{v:.0f} ms" for v in impossible), file=sys.stderr)
    offer = median(values, "wizard.offer_ms")
    if offer is not None:
        check = offer - 1500
        row("  wizard: next to the offer, minus 1500 ms",
            spread(values, "wizard.offer_ms", digits=0, unit=" ms", offset=-1500),
            f"+{check - curl_ms:.0f} ms over curl (after the pause)", "<= +300 ms", check - curl_ms <= 300)

    mib = 1 / 1024
    yardstick = median(values, "hwm.minimal_libraries")
    welcome, offer_hwm = median(values, "hwm.welcome"), median(values, "hwm.offer")
    downloaded = median(values, "hwm.downloaded")
    row("4 peak working set (VmHWM)", "", "", "")
    if yardstick is not None:
        row("  minimal window with the wizard's libraries", spread(values, "hwm.minimal_libraries", mib, 1, " MiB"),
            "1.00 x minimal")
    if welcome is not None:
        ratio = f"{welcome / yardstick:.2f} x minimal" if yardstick else ""
        row("  wizard, welcome page", spread(values, "hwm.welcome", mib, 1, " MiB"), ratio, "<= 1.5 x minimal",
            welcome <= 1.5 * yardstick if yardstick else None)
    if offer_hwm is not None and downloaded is not None:
        row("  offer page (after the catalogue transfer)", spread(values, "hwm.offer", mib, 1, " MiB"),
            f"+{(offer_hwm - welcome) / 1024:.2f} MiB over the welcome page")
        row("  after the download", spread(values, "hwm.downloaded", mib, 1, " MiB"),
            f"+{(downloaded - offer_hwm) / 1024:.2f} MiB over the offer page", "<= +1 MiB",
            downloaded - offer_hwm <= 1024)

    size = median(values, "size.bytes")
    if size is not None:
        foreign = values["size.foreign"][0]
        row("5 size of the i686 KVUpdate.exe", f"{size / 1024:.0f} KiB", "", "<= 1024 KiB", size <= 1024 * 1024)
        row("  DLLs beyond the system's", foreign, "", "none", foreign == "none")

    header = ("Figure", "Value", "Ratio", "Target", "")
    widths = [max(len(r[i]) for r in rows + [header]) for i in range(5)]
    for r in [header] + rows:
        print("  ".join(cell.ljust(w) for cell, w in zip(r, widths)).rstrip())
    missed = [r[0].strip() for r in rows if r[4] == "MISSED"]
    if missed:
        print("targets missed: " + "; ".join(missed))


if __name__ == "__main__":
    main()
