#!/usr/bin/env python3
"""Two (and three) workstations through a teacher's day on one data folder, each a tavro-cli process.

Teacher A (国語) and teacher B (数学) of grade 1 take the lock of their subject, paste scores, calculate
the first period and release the lock, round after round at the same time. Meanwhile the head of the
grade aggregates the grade again and again and prints the grade list (評定一覧) once a round. Between
the rounds A's two workstations ask for the lock of 国語 at the same moment: exactly one gets it, the
other is told that the data is in use.

Afterwards `tavro-cli check` finds every file whole, no lock and no temporary file is left, every line
of the lock logs is whole, and the worksheets, the result files, the aggregation and the printed list
hold exactly what the same day gives when it is run one step after the other on a copy of the folder.
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

YEAR = "2024"
GRADE = "1"
PERIOD = "1"
IN_USE = "他のコンピュータで使用中です"
TEMP = re.compile(r"(\.tavro-tmp|^qt_temp\.)")
LOG_LINE = re.compile(r"^\d{4}/\d{2}/\d{2} \d{1,2}:\d{2}:\d{2} \S+ \S+@\S+$")


class Teacher:
    def __init__(self, name, subject):
        self.name = name
        self.subject = subject

    def worksheet(self, data):
        return os.path.join(data, self.name, YEAR + GRADE + self.subject + ".dat")

    def args(self, data):
        return ["--data", data, "--year", YEAR, "--grade", GRADE, "--subject", self.subject,
                "--teacher", self.name]


A = Teacher("井上和子", "国語")
B = Teacher("江口由美", "数学")


class Failure(Exception):
    pass


class Cli:
    def __init__(self, path):
        self.path = path

    def run(self, argv, stdin=b""):
        env = dict(os.environ, LC_ALL="C.UTF-8")
        return subprocess.run([self.path] + argv, input=stdin, capture_output=True, env=env, timeout=60)

    def ok(self, argv, stdin=b""):
        r = self.run(argv, stdin)
        if r.returncode != 0:
            raise Failure("%s: status %d\n%s" % (" ".join(argv[:1] + argv[2:3]), r.returncode,
                                                 r.stderr.decode("utf-8", "replace")))
        return r


def scores(teacher, round_):
    """What a teacher pastes in a round: the first item (full score 10) of four students."""
    base = 3 if teacher is A else 5
    return "".join("%d\r\n" % ((base + round_ + r) % 11) for r in range(4)).encode()


def session(cli, teacher, data, round_, lock=True):
    """What a workstation does with its subject in a round; False when the lock was refused."""
    if lock:
        r = cli.run(["lock", "acquire"] + teacher.args(data))
        if r.returncode != 0:
            return False
    try:
        cli.ok(["paste"] + teacher.args(data) + ["--grid", "scores", "--at", "%d,3" % (2 + round_ % 4)],
               scores(teacher, round_))
        cli.ok(["calc"] + teacher.args(data) + ["--period", PERIOD, "--answer", "yes"])
    finally:
        if lock:
            cli.ok(["lock", "release"] + teacher.args(data))
    return True


def aggregate(cli, data):
    r = cli.ok(["aggregate", "--data", data, "--year", YEAR, "--grade", GRADE, "--period", PERIOD, "--json"])
    doc = json.loads(r.stdout)
    if doc.get("messages"):
        raise Failure("aggregation reported: %s" % doc["messages"])
    return doc


def print_list(cli, data, pdf):
    """The head's 評定一覧 of the grade as a PDF; the layout of what was drawn."""
    layout = pdf + ".json"
    argv = ["print", "ichiran", "--data", data, "--year", YEAR, "--grade", GRADE, "--period", PERIOD,
                "--now", "2024-07-19T15:00:00", "--pdf", pdf, "--layout", layout]
    cli.ok(argv)
    with open(pdf, "rb") as f:
        bytes_ = f.read()
    if not bytes_.startswith(b"%PDF") or not bytes_.rstrip().endswith(b"%%EOF"):
        raise Failure("torn PDF: " + pdf)
    with open(layout, encoding="utf-8") as f:
        return json.load(f)


def without_times(value):
    """A document without the calculation date-times, which differ from run to run."""
    if isinstance(value, dict):
        return {k: without_times(v) for k, v in value.items() if k not in ("dateTime", "dateTimes")}
    if isinstance(value, list):
        return [without_times(v) for v in value]
    return value


def prepare(cli, data):
    cli.ok(["demo", data, "--year", YEAR])
    # B's worksheet of 数学: A's 国語 worksheet as a start.
    sheet = os.path.join(os.path.dirname(data), "sheet.json")
    with open(sheet, "wb") as f:
        f.write(cli.ok(["dump", A.worksheet(data)]).stdout)
    os.makedirs(os.path.dirname(B.worksheet(data)), exist_ok=True)
    cli.ok(["load", sheet, B.worksheet(data)])


def result_files(data):
    folder = os.path.join(data, YEAR, "Hyoutei")
    return sorted(os.path.join(folder, n) for n in os.listdir(folder)
                  if n.endswith(".dat") and (A.subject in n or B.subject in n))


def state(cli, data):
    """The worksheets and result files of both teachers and the aggregation, without date-times."""
    files = {}
    for path in [A.worksheet(data), B.worksheet(data)] + result_files(data):
        files[os.path.relpath(path, data)] = without_times(json.loads(cli.ok(["dump", path]).stdout))
    return files, without_times(aggregate(cli, data))


def run_in_parallel(jobs):
    """Runs the callables in threads started together; returns their results or raises the first error."""
    results = [None] * len(jobs)
    errors = []
    start = threading.Barrier(len(jobs))

    def body(i, job):
        try:
            start.wait()
            results[i] = job()
        except Exception as e:  # reported by the caller
            errors.append(e)

    threads = [threading.Thread(target=body, args=(i, job)) for i, job in enumerate(jobs)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    if errors:
        raise errors[0]
    return results


def check_whole(cli, data):
    r = cli.run(["check", "--data", data, "--year", YEAR])
    if r.returncode != 0:
        raise Failure("check found damaged files:\n" + r.stdout.decode() + r.stderr.decode())
    for root, _, names in os.walk(data):
        for name in names:
            path = os.path.join(root, name)
            if TEMP.search(name):
                raise Failure("temporary file left: " + path)
            if name.endswith(".~lc"):
                raise Failure("lock left: " + path)
            if name.endswith(".log") and os.path.basename(root) == "~temp":
                with open(path, "rb") as f:
                    lines = f.read().decode("cp932").split("\r\n")
                if lines[-1] != "" or not all(LOG_LINE.match(line) for line in lines[:-1]):
                    raise Failure("torn lock log: %s\n%r" % (path, lines))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--rounds", type=int, default=8)
    args = parser.parse_args()
    cli = Cli(args.cli)

    with tempfile.TemporaryDirectory() as tmp:
        data = os.path.join(tmp, "data")
        prepare(cli, data)
        serial = os.path.join(tmp, "serial")
        shutil.copytree(data, serial)
        before, _ = state(cli, serial)

        refusals = 0
        aggregations = 0
        overlapped = 0  # rounds in which the two teachers' sessions ran at the same time
        for round_ in range(args.rounds):
            done = threading.Event()

            def head():
                count = 0
                while not done.is_set() or count == 0:
                    aggregate(cli, data)
                    if count == 0:
                        print_list(cli, data, os.path.join(tmp, "list.pdf"))
                    count += 1
                return count

            def teacher(t):
                def job():
                    try:
                        began = time.monotonic()
                        if not session(cli, t, data, round_):
                            raise Failure("%s was refused the free lock of %s" % (t.name, t.subject))
                        return began, time.monotonic()
                    finally:
                        if t is B:
                            done.set()
                return job

            # Different subjects in parallel while the head aggregates.
            a, b, count = run_in_parallel([teacher(A), teacher(B), head])
            aggregations += count
            overlapped += a[0] < b[1] and b[0] < a[1]
            # The same subject from two workstations: one gets the lock, the other is refused.
            attempts = run_in_parallel([lambda: cli.run(["lock", "acquire"] + A.args(data)) for _ in range(2)])
            granted = [r for r in attempts if r.returncode == 0]
            refused = [r for r in attempts if r.returncode != 0]
            if len(granted) != 1:
                raise Failure("round %d: %d of two workstations got the lock of %s" %
                              (round_, len(granted), A.subject))
            message = refused[0].stderr.decode("utf-8", "replace")
            if refused[0].returncode != 1 or IN_USE not in message:
                raise Failure("round %d: the refusal says\n%s" % (round_, message))
            refusals += 1
            # The winner works on while the other keeps trying; every try is refused until it is released.
            session(cli, A, data, round_ + 100, lock=False)
            if cli.run(["lock", "acquire"] + A.args(data)).returncode == 0:
                raise Failure("round %d: the lock of %s was taken while in use" % (round_, A.subject))
            cli.ok(["lock", "release"] + A.args(data))

            # The same day one step after the other.
            for t, r in ((A, round_), (B, round_), (A, round_ + 100)):
                session(cli, t, serial, r)

        if overlapped == 0:
            raise Failure("the two workstations never worked at the same time")
        check_whole(cli, data)
        got_files, got_aggregate = state(cli, data)
        want_files, want_aggregate = state(cli, serial)
        if sorted(got_files) != sorted(want_files):
            raise Failure("result files differ: %s against %s" % (sorted(got_files), sorted(want_files)))
        for name in want_files:
            if got_files[name] != want_files[name]:
                raise Failure("%s differs from the day run step by step" % name)
        if want_files == before:
            raise Failure("the day changed nothing")
        if got_aggregate != want_aggregate:
            raise Failure("the aggregation differs from the day run step by step")
        got_list = print_list(cli, data, os.path.join(tmp, "got.pdf"))
        if got_list != print_list(cli, serial, os.path.join(tmp, "want.pdf")):
            raise Failure("the printed list differs from the day run step by step")
        print("%d rounds (%d overlapping), %d aggregations, %d refusals, %d files compared" %
              (args.rounds, overlapped, aggregations, refusals, len(want_files)))


if __name__ == "__main__":
    try:
        main()
    except Failure as e:
        print("FAIL: %s" % e, file=sys.stderr)
        sys.exit(1)
