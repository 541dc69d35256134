#!/usr/bin/env python3
"""Turns the benchmark's records into the table: medians over the rounds,
each figure beside its floor from the same rounds."""
import argparse
import os
import statistics
import subprocess
import sys

PAUSE_MS = 2000
MIB = 1024 * 1024

# Goals: the installer's cost beyond its floor.
GOAL_WORK_RATIO = 1.5
GOAL_RUN_OVERHEAD_MS = 100
GOAL_PEAK_DIFFERENCE = 4 * MIB
GOAL_OVERSHOOT_MS = 2
GOAL_STUB_BYTES = 128 * 1024


def read_record(path):
    with open(path) as f:
        return {name: int(value) for name, value in (line.split() for line in f if line.strip())}


def load_round(folder, r):
    rec = {}
    for kind, suffix in (("installer", "txt"), ("installer_launch", "launch"), ("floor", "txt"),
                         ("floor_launch", "launch"), ("floor_rsrc", "txt"), ("floor_rsrc_launch", "launch"),
                         ("copy", "txt"), ("product_launch", "launch")):
        program = kind.replace("_launch", "")
        path = os.path.join(folder, f"{program}-{r}.{suffix}")
        if not os.path.exists(path):
            sys.exit(f"summarise: round {r}: {program} left no record ({path})")
        rec[kind] = read_record(path)
    for kind in ("installer", "installer_launch", "floor_launch", "floor_rsrc_launch", "product_launch"):
        if rec[kind].get("exit") != 0:
            sys.exit(f"summarise: round {r}: {kind} ended with exit {rec[kind].get('exit')}")
    return rec


def figures(rec):
    ms = 1000.0 / rec["installer_launch"]["ticks_per_second"]
    i, il, f, fl, c, pl = (rec[k] for k in ("installer", "installer_launch", "floor", "floor_launch",
                                            "copy", "product_launch"))
    fr = rec["floor_rsrc"]
    writes = sorted(int(k[5:-6]) for k in i if k.startswith("write") and k.endswith("_start"))
    last = writes[-1]
    out = {
        "work": (i["box"] - i["pause_end"]) * ms,
        "copy": (c["copy_end"] - c["copy_start"]) * ms,
        "copy_flush": (c["flush_end"] - c["copy_end"]) * ms,
        "run": (i["box"] - il["launch"]) * ms - PAUSE_MS,
        "floor_run": (f["box"] - fl["launch"]) * ms,
        "product_run_seen": (pl["box_seen"] - pl["launch"]) * ms - PAUSE_MS,
        "floor_run_seen": (fl["box_seen"] - fl["launch"]) * ms,
        "overshoot_clock": i["pause_clock_ms"] - PAUSE_MS,
        "overshoot_qpc": (i["pause_end"] - i["pause_start"]) * ms - PAUSE_MS,
        "pause_passes": i["pause_reads"] - 1,
        "to_entered": (i["entered"] - il["launch"]) * ms,
        "to_assembled": (i["assembled"] - i["entered"]) * ms,
        "to_pause": (i["pause_start"] - i["assembled"]) * ms,
        "fetches": sum(i[f"write{n}_start"] - i[f"write{n - 1}_end"] for n in writes[1:]) * ms,
        "folders": (i["write0_start"] - i["pause_end"]) * ms,
        "writes": (i[f"write{last}_end"] - i["write0_start"]) * ms,
        "after_writes": (i["box"] - i[f"write{last}_end"]) * ms,
        "peak": i["peak_ws_box"],

        "peak_pause": i["peak_ws_pause"],
        "floor_rsrc_peak": fr["peak_ws_box"],
        "floor_rsrc_run": (fr["box"] - rec["floor_rsrc_launch"]["launch"]) * ms,
        "floor_peak": f["peak_ws_box"],
        "product_peak_seen": pl["peak_ws_seen"],
        "floor_peak_seen": fl["peak_ws_seen"],
    }
    for n in writes:
        out[f"write{n}"] = (i[f"write{n}_end"] - i[f"write{n}_start"]) * ms
        out[f"peak_before{n}"] = i[f"write{n}_peak_before"]
        out[f"peak_after{n}"] = i[f"write{n}_peak_after"]
    return out


def sections(objdump, exe):
    lines = subprocess.run([objdump, "-h", exe], check=True, capture_output=True, text=True).stdout
    found = {}
    for line in lines.splitlines():
        parts = line.split()
        if len(parts) >= 3 and parts[0].isdigit() and parts[1].startswith("."):
            found[parts[1]] = int(parts[2], 16)
    return found


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--records", required=True)
    ap.add_argument("--rounds", type=int, required=True)
    ap.add_argument("--exe", required=True)
    ap.add_argument("--floor-exe", required=True)
    ap.add_argument("--objdump", required=True)
    ap.add_argument("--payload", nargs="+", required=True, help="the embedded payload files")
    ap.add_argument("--window-picture", required=True)
    args = ap.parse_args()

    rounds = [figures(load_round(args.records, r)) for r in range(1, args.rounds + 1)]

    def med(key):
        return statistics.median(r[key] for r in rounds)

    def span(key, fmt):
        values = [r[key] for r in rounds]
        return f"{fmt(min(values))}..{fmt(max(values))}"

    def verdict(ok):
        return "met" if ok else "NOT met"

    ms = lambda v: f"{v:.1f} ms"
    mib = lambda v: f"{v / MIB:.2f} MiB"
    rows = []

    work, copy = med("work"), med("copy")
    rows.append(("Install work (pause end -> success box)", ms(work), f"plain copy {ms(copy)}",
                 f"{work / copy:.2f}x", f"<= {GOAL_WORK_RATIO}x", verdict(work <= GOAL_WORK_RATIO * copy)))
    run, floor_run = med("run"), med("floor_run")
    rows.append(("Whole run - 2000 ms (start -> success box)", ms(run), f"trivial box {ms(floor_run)}",
                 f"{run / floor_run:.2f}x, +{run - floor_run:.1f} ms", f"< +{GOAL_RUN_OVERHEAD_MS} ms",
                 verdict(run - floor_run < GOAL_RUN_OVERHEAD_MS)))
    seen, floor_seen = med("product_run_seen"), med("floor_run_seen")
    rows.append(("  same, product exe, box seen from outside", ms(seen), f"trivial box {ms(floor_seen)}",
                 f"{seen / floor_seen:.2f}x, +{seen - floor_seen:.1f} ms", "", ""))
    over = med("overshoot_clock")
    rows.append(("Pause overshoot, by timeGetTime", f"{over:.0f} ms", "-", "-", f"< {GOAL_OVERSHOOT_MS} ms",
                 verdict(over < GOAL_OVERSHOOT_MS)))
    rows.append(("  same, by QueryPerformanceCounter", ms(med("overshoot_qpc")), "-", "-", "", ""))
    peak, floor_peak = med("peak"), med("floor_peak")
    rows.append(("Peak working set at the success box", mib(peak), f"trivial box {mib(floor_peak)}",
                 f"+{mib(peak - floor_peak)}", f"<= +{mib(GOAL_PEAK_DIFFERENCE)}",
                 verdict(peak - floor_peak <= GOAL_PEAK_DIFFERENCE)))
    pseen, fseen = med("product_peak_seen"), med("floor_peak_seen")
    rows.append(("  same, product exe, read from outside", mib(pseen), f"trivial box {mib(fseen)}",
                 f"+{mib(pseen - fseen)}", "", ""))

    exe_size = os.path.getsize(args.exe)
    payload = sum(os.path.getsize(p) for p in args.payload)
    stub = exe_size - payload
    found = sections(args.objdump, args.exe)
    floor_size = os.path.getsize(args.floor_exe)
    rows.append(("Size: exe", f"{exe_size:,} B", f"trivial box {floor_size:,} B", "-", "", ""))
    rows.append(("Size: stub (exe - embedded files)", f"{stub:,} B", f"trivial box {floor_size:,} B",
                 f"{stub / 1024:.1f} KiB, +{(stub - floor_size) / 1024:.1f} KiB", f"< {GOAL_STUB_BYTES // 1024} KiB", verdict(stub < GOAL_STUB_BYTES)))

    headers = ("Figure", "Installer", "Floor", "Ratio / difference", "Goal", "")
    widths = [max(len(str(row[k])) for row in rows + [headers]) for k in range(len(headers))]
    print(f"Medians over {args.rounds} rounds (one installer, trivial box, plain copy and product run each)")
    print()
    for n, row in enumerate([headers] + rows):
        print("| " + " | ".join(str(cell).ljust(w) for cell, w in zip(row, widths)) + " |")
        if n == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")

    print()
    print("Where the installer's time goes (medians):")
    print(f"  process start -> wWinMain             {ms(med('to_entered'))}   (trivial box: start -> box {ms(floor_run)};")
    print(f"                                        carrying the resource section {ms(med('floor_rsrc_run'))})")
    print(f"  wWinMain -> platform assembled        {ms(med('to_assembled'))}   (COM, winmm, platform objects)")
    print(f"  platform assembled -> pause start     {ms(med('to_pause'))}   (window built and shown)")
    print(f"  pause: {med('pause_passes'):.0f} passes of pump + clock, range of overshoot by QPC "
          f"{span('overshoot_qpc', ms)}")
    print(f"  pause end -> first write              {ms(med('folders'))}   (folder lookup, two existence tests)")
    writes = sorted(k for k in rounds[0] if k.startswith("write") and k[5:].isdigit())
    for k in writes:
        print(f"    write of file {k[5:]}                       {ms(med(k))}")
    print(f"  fetches between the writes            {ms(med('fetches'))}")
    print(f"  first write start -> last write end   {ms(med('writes'))}   (plain copy of the same files {ms(copy)},")
    print(f"                                        then flushing the copies to disk {ms(med('copy_flush'))})")
    print(f"  last write -> success box             {ms(med('after_writes'))}   (beep)")
    print()
    print("Where the installer's memory goes (peak working set, medians):")
    print(f"  trivial box                              {mib(floor_peak)}")
    print(f"  trivial box carrying the installer's resource section {mib(med('floor_rsrc_peak'))}")
    print(f"  installer, window shown, pause starting  {mib(med('peak_pause'))}")
    for k in writes:
        n = k[5:]
        print(f"  installer, fetched file {n}, before its write {mib(med('peak_before' + n))},"
              f" after it {mib(med('peak_after' + n))}")
    print(f"  installer, at the success box            {mib(peak)}   (every payload fetched and written)")
    print()
    print(f"Size, by section (embedded files {payload:,} B):")
    for name, size in found.items():
        print(f"  {name:8} {size:>10,} B")
    print(f"  of which the window picture in the program's data: {os.path.getsize(args.window_picture):,} B")


if __name__ == "__main__":
    main()
