"""Prints the benchmark table from the lines "name value" that scripts/bench.sh
collected: medians over the rounds, ratios against the yardsticks of the same
run, and each figure against its target."""
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


def median(values, name):
    numbers = [float(v) for v in values.get(name, []) if v not in ("", "nan")]
    return statistics.median(numbers) if numbers else None


def verdict(ok):
    return "" if ok is None else ("ok" if ok else "MISSED")


def main():
    values = load(sys.argv[1])
    size_mib = sys.argv[2]
    chosen = "b-" + sys.argv[3]
    rows = []

    def row(figure, value, ratio="", target="", ok=None):
        rows.append((figure, value, ratio, target, verdict(ok)))

    a = median(values, "a")
    loops = sorted(name for name in values if name.startswith("b-") and "." not in name)
    plain = [name for name in loops if "+" not in name]
    fastest = min(plain, key=lambda name: median(values, name)) if plain else None
    # The hand-over the program uses: the cheapest one that every message
    # loop serves, modal ones included.
    best = chosen if chosen in plain else fastest
    best_time = median(values, best) if best else None

    a_cpu = median(values, "a.cpu")

    def timed(figure, name, yardstick, yardstick_name, note="", target="", ok=None):
        t, cpu = median(values, name), median(values, name + ".cpu")
        ratio = f"{t / yardstick:.2f} x {yardstick_name}"
        if cpu is not None:
            ratio += f", CPU {cpu:.1f} s = {cpu / a_cpu:.2f} x (a)"
        row(figure, f"{t:.2f} s", ratio + note, target, ok)

    row(f"1 download of {size_mib} MiB (nginx $request_time; CPU incl. wineserver)", "", "", "")
    row("  (c) curl on Linux", f"{median(values, 'curl'):.3f} s", f"{median(values, 'curl') / a:.3f} x (a)")
    timed("  (a) bare WinINet loop, 1025-byte reads", "a", a, "(a)")
    for name in loops:
        updates = median(values, name + ".updates")
        note = f", {updates:.0f} control updates" if "+" in name and updates is not None else ""
        mark = " (best: the program's)" if name == best else " (fastest here)" if name == fastest else ""
        timed(f"  (b) {name[2:]}{mark}", name, a, "(a)", note)
    wizard = median(values, "wizard")
    if wizard is not None:
        welcome_ticks, done_ticks = median(values, "ticks.welcome"), median(values, "ticks.downloaded")
        if welcome_ticks is not None and done_ticks is not None:
            values["wizard.cpu"] = [str((done_ticks - welcome_ticks) / 100)]
        timed("  wizard, installer download", "wizard", best_time, "best (b)", "", "<= 1.25 x best (b)",
              wizard <= 1.25 * best_time)
        label, bar = median(values, "wizard.label_rate"), median(values, "wizard.bar_rate")
        row("  progress label updates per second", f"{label or 0:.1f}", "", "10 .. 60",
            label is not None and 10 <= label <= 60)
        row("  progress bar updates per second", f"{bar or 0:.1f}", "", "10 .. 60",
            bar is not None and 10 <= bar <= 60)
        signature = median(values, "signature")
        row("  signature check of the downloaded installer", f"{signature:.2f} s",
            f"{signature / wizard:.3f} x wizard download", "<= 0.25 x wizard download", signature <= 0.25 * wizard)
        answer = median(values, "wizard.answer_max_ms")
        row("  window answers during the download (max)", f"{answer:.0f} ms", "", "<= 100 ms", answer <= 100)

    minimal = median(values, "startup.minimal")
    row("2 start-up to the visible window", "", "", "")
    row("  minimal Win32 window", f"{minimal:.0f} ms", "1.00 x minimal")
    started = median(values, "startup.wizard")
    if started is not None:
        row("  wizard, welcome page", f"{started:.0f} ms", f"{started / minimal:.2f} x minimal",
            "<= 1.5 x minimal", started <= 1.5 * minimal)

    curl_ms = median(values, "catalogue.curl_ms")
    row("3 check: nginx answers update.ini to curl", f"{curl_ms:.1f} ms")
    offer = median(values, "wizard.offer_ms")
    if offer is not None:
        check = offer - 1500
        row("  wizard: next to the offer, minus 1500 ms", f"{check:.0f} ms", f"+{check - curl_ms:.0f} ms over curl",
            "<= +300 ms", check - curl_ms <= 300)

    welcome, downloaded = median(values, "hwm.welcome"), median(values, "hwm.downloaded")
    offer_hwm = median(values, "hwm.offer")
    if welcome is not None and downloaded is not None:
        row("4 peak working set (VmHWM), welcome page", f"{welcome / 1024:.1f} MiB")
        if offer_hwm is not None:
            row("  offer page (after the catalogue transfer)", f"{offer_hwm / 1024:.1f} MiB",
                f"+{(offer_hwm - welcome) / 1024:.2f} MiB")
        row("  after the download", f"{downloaded / 1024:.1f} MiB", f"+{(downloaded - welcome) / 1024:.2f} MiB",
            "<= +4 MiB", downloaded - welcome <= 4096)

    size = median(values, "size.bytes")
    if size is not None:
        foreign = values["size.foreign"][0]
        row("5 size of the i686 KVUpdate.exe", f"{size / 1024:.0f} KiB", "", "<= 1024 KiB", size <= 1024 * 1024)
        row("  DLLs beyond the system's", foreign, "", "none", foreign == "none")

    widths = [max(len(r[i]) for r in rows + [("Figure", "Value", "Ratio", "Target", "")]) for i in range(5)]
    header = ("Figure", "Value", "Ratio", "Target", "")
    for r in [header] + rows:
        print("  ".join(cell.ljust(w) for cell, w in zip(r, widths)).rstrip())
    missed = [r[0].strip() for r in rows if r[4] == "MISSED"]
    if missed:
        print("targets missed: " + "; ".join(missed))


if __name__ == "__main__":
    main()
