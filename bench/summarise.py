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

# The one payload the installer holds at a time: the largest file.
HELD_PAYLOAD = 3_543_392

# Goals: the installer's cost beyond its floor, and beside the peer.
GOAL_WORK_RATIO = 1.5  # of the plain copy plus its flush
GOAL_RUN_OVERHEAD_MS = 100
GOAL_PEAK_DIFFERENCE = 4 * MIB
GOAL_PRIVATE_DIFFERENCE = 1 * MIB  # beyond the trivial box plus the held payload
GOAL_OVERSHOOT_MS = 2
GOAL_STUB_BYTES = 64 * 1024
STRETCH_STUB_BYTES = 48 * 1024
PEERS = ("stored", "lzma", "empty")


def read_record(path):
    with open(path) as f:
        return {name: int(value) for name, value in (line.split() for line in f if line.strip())}


def load_round(folder, r):
    rec = {}
    for kind, suffix in (("installer", "txt"), ("installer_launch", "launch"), ("floor", "txt"),
                         ("floor_launch", "launch"), ("floor_rsrc", "txt"), ("floor_rsrc_launch", "launch"),
                         ("copy", "txt"), ("product_launch", "launch"),
                         *((f"peer_{v}_launch", "launch") for v in PEERS)):
        program = kind.replace("_launch", "")
        path = os.path.join(folder, f"{program}-{r}.{suffix}")
        if not os.path.exists(path):
            sys.exit(f"summarise: round {r}: {program} left no record ({path})")
        rec[kind] = read_record(path)
    for kind in ("installer", "installer_launch", "floor_launch", "floor_rsrc_launch", "product_launch",
                 *(f"peer_{v}_launch" for v in PEERS)):
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
        # The files are on disk once the last write has returned, and before the box.
        "files": (i[f"write{last}_end"] - il["launch"]) * ms - PAUSE_MS,
        "product_files_seen": (pl["box_seen"] - pl["launch"]) * ms - PAUSE_MS,
        "work": (i["box"] - i["pause_end"]) * ms,
        "copy": (c["copy_end"] - c["copy_start"]) * ms,
        "copy_flush": (c["flush_end"] - c["copy_end"]) * ms,
        "copy_and_flush": (c["flush_end"] - c["copy_start"]) * ms,
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
        "private": max([i["private_box"]] + [i[f"write{n}_private_before"] for n in writes]),
        "floor_private": f["private_box"],
        "product_peak_sampled": pl["peak_ws_sampled"],
        "product_private_sampled": pl["peak_private_sampled"],
        "floor_peak_sampled": fl["peak_ws_sampled"],
        "floor_private_sampled": fl["peak_private_sampled"],

        "peak_pause": i["peak_ws_pause"],
        "private_pause": i["private_pause"],
        "private_box": i["private_box"],
        "floor_rsrc_peak": fr["peak_ws_box"],
        "floor_rsrc_run": (fr["box"] - rec["floor_rsrc_launch"]["launch"]) * ms,
        "floor_peak": f["peak_ws_box"],
        "product_peak_seen": pl["peak_ws_seen"],
        "floor_peak_seen": fl["peak_ws_seen"],
    }
    # A silent peer has its files on disk when it ends.
    for v in PEERS:
        pr = rec[f"peer_{v}_launch"]
        out[f"peer_{v}_files"] = (pr["ended"] - pr["launch"]) * ms
        out[f"peer_{v}_peak"] = pr["peak_ws_sampled"]
        out[f"peer_{v}_private"] = pr["peak_private_sampled"]
    for v in ("stored", "lzma"):
        out[f"peer_{v}_work"] = out[f"peer_{v}_files"] - out["peer_empty_files"]
    for n in writes:
        out[f"write{n}"] = (i[f"write{n}_end"] - i[f"write{n}_start"]) * ms
        out[f"peak_before{n}"] = i[f"write{n}_peak_before"]
        out[f"peak_after{n}"] = i[f"write{n}_peak_after"]
        out[f"private_before{n}"] = i[f"write{n}_private_before"]
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
    ap.add_argument("--peer-exe", nargs="+", required=True, metavar="VARIANT=EXE",
                    help="the peer installers: stored, lzma and empty")
    ap.add_argument("--objdump", required=True)
    ap.add_argument("--payload", nargs="+", required=True, help="the embedded payload files")
    ap.add_argument("--window-picture", required=True)
    args = ap.parse_args()
    peer_exes = dict(item.split("=", 1) for item in args.peer_exe)

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
    size = lambda v: f"{v:,} B"
    rows = []

    # Start to files on disk: the timing build's stamps, and the peer's end.
    files, stored_files, lzma_files = med("files"), med("peer_stored_files"), med("peer_lzma_files")
    floor_run = med("floor_run")
    rows.append(("Start -> files on disk (ours - 2000 ms pause)", ms(files), ms(stored_files), ms(lzma_files),
                 f"trivial box {ms(floor_run)}", f"{files / stored_files:.2f}x the stored peer",
                 "< stored peer", verdict(files < stored_files)))
    rows.append(("  same, product exe, box seen from outside", ms(med("product_files_seen")), "", "",
                 f"trivial box {ms(med('floor_run_seen'))}", "", "", ""))

    work, copy, copy_flush = med("work"), med("copy"), med("copy_and_flush")
    rows.append(("Install work (ours: pause end -> success box)", ms(work), ms(med("peer_stored_work")),
                 ms(med("peer_lzma_work")), f"copy + flush {ms(copy_flush)}", f"{work / copy_flush:.2f}x",
                 f"<= {GOAL_WORK_RATIO}x", verdict(work <= GOAL_WORK_RATIO * copy_flush)))
    rows.append(("  against the plain copy alone", "", "", "", f"plain copy {ms(copy)}", f"{work / copy:.2f}x",
                 "", ""))

    run = med("run")
    rows.append(("Whole run - 2000 ms (start -> success box)", ms(run), "", "", f"trivial box {ms(floor_run)}",
                 f"{run / floor_run:.2f}x, +{run - floor_run:.1f} ms", f"< +{GOAL_RUN_OVERHEAD_MS} ms",
                 verdict(run - floor_run < GOAL_RUN_OVERHEAD_MS)))
    over = med("overshoot_clock")
    rows.append(("Pause overshoot, by timeGetTime", f"{over:.0f} ms", "", "", "-", "-", f"< {GOAL_OVERSHOOT_MS} ms",
                 verdict(over < GOAL_OVERSHOOT_MS)))
    rows.append(("  same, by QueryPerformanceCounter", ms(med("overshoot_qpc")), "", "", "-", "-", "", ""))

    # Memory: every program sampled from outside by the launcher, one way for all.
    peak, floor_peak = med("product_peak_sampled"), med("floor_peak_sampled")
    rows.append(("Peak working set, sampled from outside", mib(peak), mib(med("peer_stored_peak")),
                 mib(med("peer_lzma_peak")), f"trivial box {mib(floor_peak)}", f"+{mib(peak - floor_peak)}", "", ""))
    peak_in, floor_peak_in = med("peak"), med("floor_peak")
    rows.append(("  same, timing build at its success box", mib(peak_in), "", "", f"trivial box {mib(floor_peak_in)}",
                 f"+{mib(peak_in - floor_peak_in)}", f"<= +{mib(GOAL_PEAK_DIFFERENCE)}",
                 verdict(peak_in - floor_peak_in <= GOAL_PEAK_DIFFERENCE)))
    private = med("product_private_sampled")
    private_floor = med("floor_private_sampled") + HELD_PAYLOAD
    rows.append(("Peak private bytes, sampled from outside", mib(private), mib(med("peer_stored_private")),
                 mib(med("peer_lzma_private")), f"box + held payload {mib(private_floor)}",
                 f"{private - private_floor:+,.0f} B", f"<= +{mib(GOAL_PRIVATE_DIFFERENCE)}",
                 verdict(private - private_floor <= GOAL_PRIVATE_DIFFERENCE)))
    private_in, private_floor_in = med("private"), med("floor_private") + HELD_PAYLOAD
    rows.append(("  same, timing build, before each write and at the box", mib(private_in), "", "",
                 f"box + held payload {mib(private_floor_in)}", f"{private_in - private_floor_in:+,.0f} B", "", ""))

    exe_size = os.path.getsize(args.exe)
    payload = sum(os.path.getsize(p) for p in args.payload)
    stub = exe_size - payload
    peer_size = {v: os.path.getsize(peer_exes[v]) for v in PEERS}
    peer_stub = peer_size["stored"] - payload
    lzma_data = peer_size["lzma"] - peer_size["empty"]
    floor_size = os.path.getsize(args.floor_exe)
    rows.append(("Size: exe", size(exe_size), size(peer_size["stored"]), size(peer_size["lzma"]),
                 f"trivial box {size(floor_size)}", "", "", ""))
    rows.append(("Size: stub (exe - the five files)", size(stub), size(peer_stub), "-",
                 f"empty peer {size(peer_size['empty'])}", f"{stub / peer_stub:.2f}x the stored peer's",
                 f"<= {GOAL_STUB_BYTES // 1024} KiB", verdict(stub <= GOAL_STUB_BYTES)))
    rows.append(("Size: the five files as carried", size(payload), "as they are",
                 f"~{lzma_data:,} B, {payload / lzma_data:.1f}x smaller", "", "ours must hold their exact bytes",
                 "", ""))

    found = sections(args.objdump, args.exe)
    headers = ("Figure", "QuillfernFaces", "Peer, stored", "Peer, LZMA", "Floor", "Ours against the floor",
               "Goal", "")
    widths = [max(len(str(row[k])) for row in rows + [headers]) for k in range(len(headers))]
    print(f"Medians over {args.rounds} rounds (each round runs every program once)")
    print()
    for n, row in enumerate([headers] + rows):
        print("| " + " | ".join(str(cell).ljust(w) for cell, w in zip(row, widths)) + " |")
        if n == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    print()
    print(f"Stub stretch goal <= {STRETCH_STUB_BYTES // 1024} KiB: {verdict(stub <= STRETCH_STUB_BYTES)}."
          f" The LZMA peer's files take its exe less the empty peer's ({size(peer_size['empty'])});"
          f" the whole LZMA exe is {payload / peer_size['lzma']:.1f}x smaller than the files.")

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
    print("The peer's time (medians, start -> end of its silent run):")
    for v in PEERS:
        print(f"  {v:6} {ms(med(f'peer_{v}_files')):>10}   (range {span(f'peer_{v}_files', ms)})")
    print("  its install work is each run less the empty peer's")
    print()
    print("Where the installer's memory goes (peak working set, medians):")
    print(f"  trivial box                              {mib(med('floor_peak'))}")
    print(f"  trivial box carrying the installer's resource section {mib(med('floor_rsrc_peak'))}")
    print(f"  installer, window shown, pause starting  {mib(med('peak_pause'))}")
    for k in writes:
        n = k[5:]
        print(f"  installer, fetched file {n}, before its write {mib(med('peak_before' + n))},"
              f" after it {mib(med('peak_after' + n))}")
    print(f"  installer, at the success box            {mib(peak_in)}   (every payload fetched and written)")
    print("Private bytes (medians):")
    print(f"  trivial box at its box {mib(med('floor_private'))}, sampled from outside"
          f" {mib(med('floor_private_sampled'))}")
    print(f"  installer, window shown, pause starting  {mib(med('private_pause'))}")
    for k in writes:
        n = k[5:]
        print(f"  installer, fetched file {n}, before its write {mib(med('private_before' + n))}")
    print(f"  installer, at the success box            {mib(med('private_box'))}"
          f"   (the largest payload, {HELD_PAYLOAD:,} B, still held)")
    print()
    print(f"Size, by section (embedded files {payload:,} B):")
    for name, nbytes in found.items():
        print(f"  {name:8} {nbytes:>10,} B")
    print(f"  of which the window picture in the program's data: {os.path.getsize(args.window_picture):,} B")


if __name__ == "__main__":
    main()
