#!/usr/bin/env python3
"""Times vellum against the Debian ID3v1 tools on 1,000 tiny MP3 files.

Each tool, in one process per job, sets song, artist and album on every file (first on
untagged files, then on tagged ones) and lists them all. Tools take turns within each
round so that they share the machine's state; the medians of the rounds are printed with
each tool's time as a multiple of vellum's.

usage: run.py [--vellum PATH] [--files N] [--rounds N] [--workdir DIR]
"""
import argparse
import math
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import wave

SONG, ARTIST, ALBUM = "Benchmark Song", "Benchmark Artist", "Benchmark Album"
RETAG = ("Second Song Title Here", "Second Artist", "Second Album")


def tools(vellum):
    # name -> (set command for (song, artist, album), list command); files are appended.
    return {
        "vellum": (lambda s, a, b: [vellum, "-s", s, "-a", a, "-b", b], [vellum, "-l"]),
        "id3": (lambda s, a, b: ["id3", "-t", s, "-a", a, "-A", b], ["id3", "-l"]),
        "id3tool": (lambda s, a, b: ["id3tool", "-t", s, "-r", a, "-a", b], ["id3tool"]),
        "id3v2 -1": (lambda s, a, b: ["id3v2", "-1", "-t", s, "-a", a, "-A", b], ["id3v2", "-l"]),
    }


def make_songs(folder, count):
    """Encodes count distinct tiny songs (a tenth of a second each) with lame."""
    songs = []
    wav = os.path.join(folder, "tone.wav")
    for i in range(count):
        freq = 200 + i
        with wave.open(wav, "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(8000)
            w.writeframes(b"".join(
                struct.pack("<h", int(8000 * math.sin(2 * math.pi * freq * n / 8000)))
                for n in range(800)))
        path = os.path.join(folder, "song%04d.mp3" % i)
        subprocess.run(["lame", "--quiet", "-b", "8", wav, path], check=True)
        with open(path, "rb") as f:
            songs.append(f.read())
    os.remove(wav)
    return songs


def write_files(folder, songs):
    paths = []
    for i, data in enumerate(songs):
        path = os.path.join(folder, "song%04d.mp3" % i)
        with open(path, "wb") as f:
            f.write(data)
        paths.append(path)
    return paths


def timed(command):
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit("failed (%d): %s ...\n%s" % (result.returncode, " ".join(command[:8]),
                                               result.stderr.decode(errors="replace")[:500]))
    return elapsed * 1000.0


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--vellum", default=os.environ.get("VELLUM", "vellum"))
    parser.add_argument("--files", type=int, default=1000)
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--workdir", default=None)
    args = parser.parse_args()
    for program in (args.vellum, "lame", "id3", "id3tool", "id3v2"):
        if shutil.which(program) is None:
            sys.exit("missing program: %s" % program)

    work = args.workdir or tempfile.mkdtemp(prefix="vellum-bench-")
    os.makedirs(work, exist_ok=True)
    source = os.path.join(work, "source")
    os.makedirs(source, exist_ok=True)
    print("encoding %d songs with lame in %s ..." % (args.files, work), flush=True)
    songs = make_songs(source, args.files)

    table = tools(args.vellum)
    folders = {}
    for name in table:
        folders[name] = os.path.join(work, name.replace(" ", "_"))
        os.makedirs(folders[name], exist_ok=True)

    jobs = ["tag untagged", "re-tag tagged", "list tagged"]
    times = {job: {name: [] for name in table} for job in jobs}
    names = list(table)
    for round_no in range(args.rounds):
        order = names[round_no % len(names):] + names[:round_no % len(names)]
        for name in order:
            set_command, list_command = table[name]
            paths = write_files(folders[name], songs)
            times["tag untagged"][name].append(timed(set_command(SONG, ARTIST, ALBUM) + paths))
            times["re-tag tagged"][name].append(timed(set_command(*RETAG) + paths))
            times["list tagged"][name].append(timed(list_command + paths))

    # Every tool must have written the same ID3v1 fields (a check that each did the job).
    for name in names:
        with open(os.path.join(folders[name], "song0000.mp3"), "rb") as f:
            tag = f.read()[-128:]
        if tag[:3] != b"TAG" or not tag[3:33].startswith(RETAG[0].encode()):
            print("warning: %s left no proper ID3v1 tag" % name)

    print("\n%d files, %d rounds, median milliseconds per job (x = time / vellum's)\n"
          % (args.files, args.rounds))
    print("%-14s" % "job" + "".join("%18s" % n for n in names))
    worst = 0.0
    for job in jobs:
        medians = {n: statistics.median(times[job][n]) for n in names}
        base = medians["vellum"]
        cells = []
        for n in names:
            cells.append("%9.2f (%5.2fx)" % (medians[n], medians[n] / base))
        print("%-14s" % job + "".join("%18s" % c for c in cells))
        fastest_other = min(medians[n] for n in names if n != "vellum")
        worst = max(worst, base / fastest_other)
    print("\nvellum / fastest other tool, worst job: %.2f (target: at most 1.00)" % worst)
    if not args.workdir:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
