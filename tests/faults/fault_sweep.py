#!/usr/bin/env python3
"""Runs every write path of tavro-cli with one failing file-system call, for every call in turn.

For each path the command first runs without a fault on a fresh copy of its data folder; that run gives
the new state of every file and the number of calls that can fail. Then, for every N (or a subset), the
folder is restored and the command runs with its N-th call failing. Each run must either succeed with
exactly the new state, or fail with status 1 (or succeed with a warning) and a Japanese message on stderr
that names the file and the reason of the error, leaving every file byte for byte its old or its new
content: a file is only new together with its new ".bak", and no temporary file is left behind. The
command then runs once more without a fault and must succeed.

With --probe, the saves of the windows are swept the same way through tests/faults/window_save_probe,
which opens a window (score entry and evaluation through 次へ and its lock, the roster and the settings
dialogs as their buttons do), edits it with keys and a paste and saves it: after each
save the files are checked as above; a failed save must be reported by the window naming the file and
the reason, with every edit still in the window, and the next save must write everything.
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
TEACHER = "井上和子"
SUBJECT = "国語"
COLLEAGUE = "江口由美"
REASONS = {
    "ENOSPC": "ディスクの空き容量が足りません",
    "EIO": "ディスクの読み書きでエラーが起きました",
    "EACCES": "権限がありません",
    "EROFS": "読み取り専用",
}
TEMP = re.compile(r"(\.\d+\.[0-9a-z]+\.tavro-tmp|^qt_temp\..*)$")


def worksheet_args(data):
    return ["--data", data, "--year", YEAR, "--grade", "1", "--subject", SUBJECT, "--teacher", TEACHER]


def lock_args(data):
    return ["lock", "--data", data, "--year", YEAR, "--grade", "1", "--subject", SUBJECT, "--teacher", TEACHER]


def worksheet_path(data):
    return os.path.join(data, TEACHER, YEAR + "1" + SUBJECT + ".dat")


class Path:
    """A write path: how its data folder is prepared and the command that writes."""

    def __init__(self, name, command, prepare=None, stdin=b"", empty=False, again="always"):
        self.name = name
        # When running the command once more must succeed: "always", or "failed" (only after a run that
        # failed, for commands that refuse to do their work twice).
        self.again = again
        self.command = command
        self.prepare = prepare
        self.stdin = stdin
        self.empty = empty


def edited_worksheet_json(ctx, data):
    dumped = json.loads(ctx.cli(["dump", worksheet_path(data)]).stdout)
    for score in dumped.get("scores", [])[:40]:
        if score.get("score", -1) >= 0:
            score["score"] = max(0, score["score"] - 1)
    dumped["items"][0]["name"] = "授業態度(修正)"
    path = os.path.join(ctx.work, "worksheet.json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump(dumped, f, ensure_ascii=False)
    return path


def colleague_worksheet(ctx, data):
    """The colleague's worksheet of the same subject, with items of other names."""
    dumped = json.loads(ctx.cli(["dump", worksheet_path(data)], check=True).stdout)
    for item in dumped["items"]:
        item["name"] = item["name"] + "(共通)"
    source = os.path.join(ctx.work, "colleague.json")
    with open(source, "w", encoding="utf-8") as f:
        json.dump(dumped, f, ensure_ascii=False)
    os.makedirs(os.path.join(data, COLLEAGUE), exist_ok=True)
    ctx.cli(["load", source, os.path.join(data, COLLEAGUE, YEAR + "1" + SUBJECT + ".dat")], check=True)


def take_lock(ctx, data):
    ctx.cli(lock_args(data)[:1] + ["acquire"] + lock_args(data)[1:], check=True)


def paths(ctx):
    w = worksheet_args
    paste = "\t".join(str(7 + i % 3) for i in range(4)) + "\r\n" + "\t".join("8" for _ in range(4)) + "\r\n"
    return [
        Path("load", lambda d: ["load", ctx.json, worksheet_path(d)], prepare=lambda d: setattr(
            ctx, "json", edited_worksheet_json(ctx, d))),
        Path("calc", lambda d: ["calc"] + w(d) + ["--period", "1", "--answer", "yes"]),
        Path("formulas", lambda d: ["formulas"] + w(d)),
        Path("estimate", lambda d: ["estimate"] + w(d)),
        Path("item", lambda d: ["item"] + w(d) + ["--item", "20", "--kind", "1", "--name", "ノート", "--full", "10"]),
        Path("paste", lambda d: ["paste"] + w(d) + ["--grid", "scores", "--at", "2,3"], stdin=paste.encode()),
        Path("clear", lambda d: ["clear"] + w(d) + ["--period", "1", "--answer", "yes"], again="failed"),
        Path("protect", lambda d: ["protect"] + w(d) + ["--upto", "3"]),
        Path("import-items", lambda d: ["import-items"] + w(d) + ["--from", COLLEAGUE, "--all"],
             prepare=lambda d: colleague_worksheet(ctx, d)),
        Path("passwd", lambda d: ["passwd", "--data", d, "--teacher", TEACHER, "--year", YEAR],
             stdin="abcd\nabcd\n".encode()),
        Path("passwd-admin", lambda d: ["passwd", "--data", d, "--admin"], stdin="root\nroot\n".encode()),
        Path("lock-acquire", lambda d: lock_args(d)[:1] + ["acquire"] + lock_args(d)[1:], again="failed"),
        Path("lock-take-over", lambda d: lock_args(d)[:1] + ["acquire"] + lock_args(d)[1:] + ["--take-over"],
             prepare=lambda d: take_lock(ctx, d)),
        Path("lock-release", lambda d: lock_args(d)[:1] + ["release"] + lock_args(d)[1:],
             prepare=lambda d: take_lock(ctx, d)),
        Path("demo", lambda d: ["demo", d, "--year", YEAR], empty=True, again="failed"),
    ]


class WindowPath:
    """A save of a window, made by the probe: its arguments before the data folder."""

    def __init__(self, name, argv, locked=True):
        self.name = name
        self.argv = argv
        self.locked = locked  # opened through 次へ: the lock is taken and its release reported
        self.empty = False


def window_paths():
    return [WindowPath("window-input", ["input"]), WindowPath("window-evaluation", ["evaluation"]),
            WindowPath("window-roster", ["roster"], locked=False),
            WindowPath("window-settings", ["settings"], locked=False),
            WindowPath("window-kanten", ["kanten"], locked=False),
            WindowPath("window-members", ["members"], locked=False),
            WindowPath("window-tanto", ["tanto"], locked=False),
            WindowPath("window-permission", ["permission"], locked=False)]


def stats(folder):
    """Every file and folder under `folder` with its size and modification time."""
    entries = {}
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            full = os.path.join(root, name)
            st = os.lstat(full)
            entries[os.path.relpath(full, folder)] = None if name in dirs else (st.st_size, st.st_mtime_ns)
    return entries


def snapshot(folder, initial=None):
    """The bytes of every file; with `initial` (the restored folder), unchanged files are not read."""
    state = {}
    for rel, st in stats(folder).items():
        if st is None:
            continue
        if initial and initial.stats.get(rel) == st:
            state[rel] = initial.old[rel]
            continue
        with open(os.path.join(folder, rel), "rb") as f:
            state[rel] = f.read()
    return state


class Initial:
    """The data folder a command starts from, kept aside, and restored cheaply: only what a run
    changed is removed or copied back (copies keep their modification times)."""

    def __init__(self, folder):
        self.folder = folder
        self.stats = stats(folder)
        self.old = snapshot(folder)

    def restore(self, data):
        if not os.path.isdir(data):
            shutil.copytree(self.folder, data, symlinks=True)
            return
        now = stats(data)
        for rel in sorted(now, key=len, reverse=True):
            if rel not in self.stats or (self.stats[rel] is None) != (now[rel] is None):
                full = os.path.join(data, rel)
                if now[rel] is None and not os.path.islink(full):
                    shutil.rmtree(full)
                else:
                    os.remove(full)
                del now[rel]
        for rel in sorted(self.stats, key=len):
            target = os.path.join(data, rel)
            if self.stats[rel] is None:
                os.makedirs(target, exist_ok=True)
            elif now.get(rel) != self.stats[rel]:
                if rel in now:
                    os.remove(target)  # it may be a second name of another file
                shutil.copy2(os.path.join(self.folder, rel), target)


def backup_of(rel):
    stem, ext = os.path.splitext(rel)
    return stem + ".bak" if ext and ext != ".bak" else None


def japanese(text):
    return any("\u3040" <= c <= "\u30ff" or "\u4e00" <= c <= "\u9fff" for c in text)


class Context:
    def __init__(self, args):
        self.cli_path = args.cli
        self.lib = args.lib
        self.work = tempfile.mkdtemp(prefix="tavro-faults-")
        self.data = os.path.join(self.work, "data")
        self.log = os.path.join(self.work, "fault.log")
        self.now = str(int(time.time()))
        self.reads = args.reads
        self.probe_path = args.probe

    def env(self, fault):
        env = dict(os.environ)
        env.pop("LD_PRELOAD", None)
        if fault is not None:
            n, err = fault
            env.update({"LD_PRELOAD": self.lib, "TAVRO_FAULT_DIR": self.data, "TAVRO_FAULT_AT": str(n),
                        "TAVRO_FAULT_ERRNO": err, "TAVRO_FAULT_LOG": self.log, "TAVRO_FAULT_TIME": self.now,
                        "TAVRO_FAULT_READS": "1" if self.reads else "0"})
            if os.path.exists(self.log):
                os.remove(self.log)
        return env

    def cli(self, argv, stdin=b"", fault=None, check=False):
        env = self.env(fault)
        r = subprocess.run([self.cli_path] + argv, input=stdin, capture_output=True, env=env, timeout=120)
        r.stdout = r.stdout.decode("utf-8", "replace")
        r.stderr = r.stderr.decode("utf-8", "replace")
        if check and r.returncode != 0:
            raise RuntimeError("%s: status %d\n%s" % (" ".join(argv), r.returncode, r.stderr))
        return r

    def probe(self, argv, fault, between):
        """Runs the window probe; `between(report)` runs after each save, before the next. Returns the
        exit status, the reports of the saves with what `between` returned for each, and stderr."""
        env = self.env(fault)
        env["QT_QPA_PLATFORM"] = "offscreen"
        steps = []
        with tempfile.TemporaryFile() as err:
            p = subprocess.Popen([self.probe_path] + argv + [self.data], stdin=subprocess.PIPE,
                                 stdout=subprocess.PIPE, stderr=err, env=env)
            watchdog = threading.Timer(120, p.kill)  # a window that never returns fails the run
            watchdog.start()
            for line in p.stdout:
                report = json.loads(line.decode("utf-8"))
                steps.append((report, between(report)))
                try:
                    p.stdin.write(b"\n")
                    p.stdin.flush()
                except BrokenPipeError:
                    break
            status = p.wait()
            watchdog.cancel()
            err.seek(0)
            stderr = err.read().decode("utf-8", "replace")
        return status, steps, stderr

    def fault_log(self):
        calls, injected = 0, None
        if os.path.exists(self.log):
            with open(self.log, encoding="utf-8", errors="replace") as f:
                for line in f:
                    if line.startswith("calls "):
                        calls = int(line.split()[1])
                    elif line.startswith("injected "):
                        injected = line.rstrip("\n").split(" ", 2)[1:]
        return calls, injected


def check_files(ctx, initial, new, failed, between=()):
    """The problems of the data folder after a faulted save: every file its old or its new content (or
    its content at one of the states `between` of the run without a fault), a new file only with its
    new ".bak", no temporary file."""
    problems = []
    old = initial.old
    now = snapshot(ctx.data, initial)
    temps = [p for p in now if TEMP.search(os.path.basename(p))]
    if temps:
        problems.append("temporary files left: " + ", ".join(temps))
    for rel in sorted(set(old) | set(new) | set(now)):
        if rel in temps:
            continue
        value = now.get(rel)
        if rel.endswith(".~lc") and value is None and failed:
            continue  # a stale lock taken over whose new lock could not be written: gone, reported
        if value != old.get(rel) and value != new.get(rel) and all(value != b.get(rel) for b in between):
            problems.append("%s is neither its old nor its new content" % rel)
    for rel in sorted(set(old) | set(new)):
        bak = backup_of(rel)
        if not bak or (bak not in old and bak not in new):
            continue
        if now.get(rel) == new.get(rel) != old.get(rel) and now.get(bak) != new.get(bak):
            problems.append("%s is new but %s is not" % (rel, bak))
    return problems, now


def check_message(text, injected, err, where="stderr"):
    """The problems of the report of a failure: Japanese, naming the file and the reason."""
    problems = []
    if not japanese(text):
        problems.append("no Japanese message on " + where)
    if injected and injected[0] == "open(read)":
        return problems  # readers refuse with their own message; what counts is that nothing is lost
    name = os.path.basename(TEMP.sub("", injected[1])) if injected else ""
    stem = os.path.splitext(name)[0]
    if name and name not in text and (stem + ".") not in text:
        problems.append("%s does not name %s" % (where, name))
    # A folder that could not be made shows as the missing folder of the file written into it.
    reasons = [REASONS[err]] + (["見つかりません"] if injected and injected[0].startswith("mkdir") else [])
    if not any(r in text for r in reasons):
        problems.append("%s lacks the reason 「%s」" % (where, REASONS[err]))
    if "Unknown error" in text or "原因のわからない" in text:
        problems.append("%s reports an unknown error" % where)
    return problems


def check_run(ctx, path, run, initial, new, injected, err):
    """The problems of one faulted run, as texts."""
    problems, now = check_files(ctx, initial, new, run.returncode == 1)
    if run.returncode == 0 and now == new:
        return problems  # the fault did no harm
    if run.returncode not in (0, 1):
        problems.append("exit status %d" % run.returncode)
    return problems + check_message(run.stderr, injected, err)


def sample(calls, limit, edges=0, stride=0):
    """The calls to fail: all, or with `stride` every call of the first and last `edges` and every
    stride-th between them, or else at most `limit` spread evenly, always with the last."""
    points = list(range(1, calls + 1))
    if stride > 1:
        return [n for n in points if n <= edges or n > calls - edges or (n - edges) % stride == 0]
    if limit and len(points) > limit:
        step = len(points) / limit
        points = sorted({points[int(i * step)] for i in range(limit)} | {points[-1]})
    return points


def sweep_path(ctx, path, errnos, limit, base, edges=0, stride=0):
    folder = os.path.join(ctx.work, "initial-" + path.name)
    if path.empty:
        os.makedirs(folder)
    else:
        shutil.copytree(base, folder, symlinks=True)
    if path.prepare:
        shutil.rmtree(ctx.data, ignore_errors=True)
        shutil.copytree(folder, ctx.data, symlinks=True)
        path.prepare(ctx.data)
        shutil.rmtree(folder)
        shutil.copytree(ctx.data, folder, symlinks=True)
    initial = Initial(folder)
    shutil.rmtree(ctx.data, ignore_errors=True)

    initial.restore(ctx.data)
    ref = ctx.cli(path.command(ctx.data), path.stdin, fault=(0, "EIO"))
    if ref.returncode != 0:
        raise RuntimeError("%s fails without a fault: %s" % (path.name, ref.stderr))
    calls, _ = ctx.fault_log()
    new = snapshot(ctx.data)
    if new == initial.old:
        raise RuntimeError("%s changes nothing" % path.name)

    points = sample(calls, limit, edges, stride)
    failures, injected_count = [], 0
    for err in errnos:
        for n in points:
            initial.restore(ctx.data)
            run = ctx.cli(path.command(ctx.data), path.stdin, fault=(n, err))
            _, injected = ctx.fault_log()
            if injected:
                injected_count += 1
            problems = check_run(ctx, path, run, initial, new, injected, err)
            if path.again == "always" or run.returncode != 0:
                again = ctx.cli(path.command(ctx.data), path.stdin)
                if again.returncode != 0:
                    problems.append("the next run fails: " + again.stderr.strip().replace("\n", " "))
                elif any(TEMP.search(os.path.basename(p)) for p in stats(ctx.data)):
                    problems.append("temporary files left after the next run")
            if problems:
                what = " ".join(injected) if injected else "no fault"
                failures.append("%s %s #%d (%s): %s\n    status %d, stderr: %s" % (
                    path.name, err, n, what, "; ".join(problems), run.returncode,
                    run.stderr.strip().replace("\n", " ")[:400]))
    return calls, injected_count, failures


def check_window_run(ctx, path, initial, new, ref, status, steps, injected, err, stderr):
    """The problems of one faulted run of the probe. After each save every file is its old or its new
    content; a save the window took for done left the files as in the run without a fault; a failed
    one was reported naming the file and kept every edit; the last save wrote everything."""
    problems = []
    if status != 0 or not steps:
        return ["probe status %d: %s" % (status, stderr.strip().replace("\n", " ")[:300])]
    if steps[0][0]["step"] == "open":
        report, (files_problems, _) = steps[0]
        problems += ["after open: %s" % p for p in files_problems]
        problems += check_message("\n".join(report["messages"]), injected, err, "the window")
        status, again, stderr = ctx.probe(path.argv, None, lambda r: None)
        if status != 0 or not again or again[-1][0]["failed"]:
            problems.append("the next opening fails: %s %s" % ([r for r, _ in again], stderr[:300]))
        elif snapshot(ctx.data, initial) != new:
            problems.append("after the next opening not every file is new")
        return problems
    # Files whose failure the window reported and may stay old: the lock's usage log (the lock is kept),
    # and the lock that could not be released.
    tolerated = set()
    if steps[-1][0]["step"] == "release":
        report = steps.pop()[0]
        if report["failed"]:
            problems += check_message("\n".join(report["messages"]), injected, err, "the release")
            tolerated.add(os.path.relpath(TEMP.sub("", injected[1]), ctx.data) if injected else "")
    elif path.locked:
        problems.append("no report of the lock's release")
    if injected and injected[1].endswith(".log"):
        told = [r for r, _ in steps if not check_message("\n".join(r["messages"]), injected, err)]
        if told:
            tolerated.add(os.path.relpath(injected[1], ctx.data))

    def differing(a, b):
        return sorted(rel for rel in set(a) | set(b) if a.get(rel) != b.get(rel) and rel not in tolerated)

    failed_before = False
    for report, (files_problems, now) in steps:
        step = report["step"]
        problems += ["after %s: %s" % (step, p) for p in files_problems]
        if not report["edits_kept"]:
            problems.append("the edits are lost after %s" % step)
        if not report["failed"]:
            if not failed_before and step in ref and differing(now, ref[step]):
                problems.append("%s reported no failure, but the files are not as without a fault: %s" % (
                    step, ", ".join(differing(now, ref[step]))))
            continue
        failed_before = True
        if not report["messages"]:
            problems.append("%s failed without a message" % step)
        else:
            problems += check_message("\n".join(report["messages"]), injected, err, "the window")
        if not report["unsaved"]:
            problems.append("the window has nothing left to save after the failed %s" % step)
    if steps[-1][0]["failed"] or steps[-1][0]["unsaved"]:
        problems.append("the last save (%s) did not write everything" % steps[-1][0]["step"])
    after = snapshot(ctx.data, initial)
    if differing(after, new):
        problems.append("at the end not every file is new: " + ", ".join(differing(after, new)))
    return problems


def sweep_window(ctx, path, errnos, limit, base):
    folder = os.path.join(ctx.work, "initial-" + path.name)
    shutil.copytree(base, folder, symlinks=True)
    initial = Initial(folder)
    shutil.rmtree(ctx.data, ignore_errors=True)
    initial.restore(ctx.data)
    status, steps, stderr = ctx.probe(path.argv, (0, "EIO"), lambda r: snapshot(ctx.data))
    if status != 0 or not steps or any(r["failed"] for r, _ in steps):
        raise RuntimeError("%s fails without a fault: %s %s" % (path.name, [r for r, _ in steps], stderr))
    ref = {r["step"]: state for r, state in steps}
    calls, _ = ctx.fault_log()
    new = snapshot(ctx.data)
    if new == initial.old:
        raise RuntimeError("%s changes nothing" % path.name)

    points = sample(calls, limit)
    failures, injected_count = [], 0
    for err in errnos:
        for n in points:
            initial.restore(ctx.data)
            status, steps, stderr = ctx.probe(path.argv, (n, err), lambda r: check_files(ctx, initial, new, True, ref.values()))
            _, injected = ctx.fault_log()
            if injected:
                injected_count += 1
            problems = check_window_run(ctx, path, initial, new, ref, status, steps, injected, err, stderr)
            if problems:
                what = " ".join(injected) if injected else "no fault"
                failures.append("%s %s #%d (%s): %s\n    reports: %s" % (
                    path.name, err, n, what, "; ".join(problems),
                    json.dumps([r for r, _ in steps], ensure_ascii=False)[:600]))
    return calls, injected_count, failures


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--lib", required=True)
    parser.add_argument("--probe", default="", help="window_save_probe: sweeps the windows' saves too")
    parser.add_argument("--errno", default="ENOSPC,EIO,EACCES,EROFS")
    parser.add_argument("--paths", default="", help="comma-separated path names (default: all)")
    parser.add_argument("--limit", type=int, default=0, help="at most this many N per path and errno")
    parser.add_argument("--demo-limit", type=int, default=0, help="the same for demo (default: --limit)")
    parser.add_argument("--demo-stride", type=int, default=0,
                        help="demo: every N in the first and last --demo-edges calls, every stride-th between")
    parser.add_argument("--demo-edges", type=int, default=100)
    parser.add_argument("--skip", default="", help="comma-separated path names to leave out")
    parser.add_argument("--reads", action="store_true", help="let opens for reading fail too")
    args = parser.parse_args()

    ctx = Context(args)
    try:
        base = os.path.join(ctx.work, "base")
        ctx.cli(["demo", base, "--year", YEAR], check=True)
        every = paths(ctx) + (window_paths() if args.probe else [])
        chosen = [p for p in every if (not args.paths or p.name in args.paths.split(","))
                  and p.name not in args.skip.split(",")]
        errnos = args.errno.split(",")
        all_failures = []
        print("%-16s %8s %10s %10s %9s" % ("path", "calls", "injected", "failures", "time"))
        for path in chosen:
            started = time.time()
            limit = args.demo_limit if path.empty and args.demo_limit else args.limit
            if isinstance(path, WindowPath):
                calls, injected, failures = sweep_window(ctx, path, errnos, limit, base)
            else:
                stride = args.demo_stride if path.empty else 0
                calls, injected, failures = sweep_path(ctx, path, errnos, limit, base, args.demo_edges, stride)
            print("%-16s %8d %10d %10d %8.1fs" % (path.name, calls, injected, len(failures), time.time() - started),
                  flush=True)
            all_failures += failures
        for f in all_failures:
            print(f)
        return 1 if all_failures else 0
    finally:
        shutil.rmtree(ctx.work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
