#!/usr/bin/env python3
"""Reads CTest's JUnit results of a Windows test run and decides which
failures are Wine's own and may have one second try.

Usage:
  test-retries.py select RESULTS.xml CONSOLE_LOG RETRY_FILE
      Prints every failed test with why it failed (CONSOLE_LOG: what ctest
      printed, which alone tells a timeout from a failure). Writes to RETRY_FILE a CTest
      regular expression matching exactly the failures that may be tried once
      more. Exit 0 when every failure may be retried (or none failed), 1 when
      some failure is the test's own (no second try: the run has failed).
  test-retries.py report FIRST.xml CONSOLE_LOG SECOND.xml LOG
      Appends to LOG one line for each test that needed its second try: its
      name, why the first try failed and how the second ended. Exit 0 when
      every retried test passed its second try, 1 otherwise.

A second try is given to two kinds of failure only, both outside the code
under test: Wine's client lost its connection to the wine server ("wine
client error", "Connection reset by peer", "wineserver" going away), and a
test process that printed its passing verdict and then did not exit before
its time ran out. Every other failure (a failed expectation, a crash, a
timeout while the test was still working) fails the run at once.
"""
import re
import sys
import xml.etree.ElementTree as ElementTree

WINE_DROPS = (
    "wine client error",
    "Connection reset by peer",
    "wineserver: could not",
    "could not connect to wineserver",
)
CTEST_REGEX_SPECIALS = re.compile(r"([.^$*+?()\[\]{}|\\])")


def results(path):
    """(name, status, output) for every test case of a JUnit file."""
    tree = ElementTree.parse(path)
    cases = []
    for case in tree.iter("testcase"):
        status = case.get("status", "run")
        output = "".join((element.text or "") for element in case if element.tag in ("system-out", "failure"))
        if case.find("failure") is not None and status == "run":
            status = "fail"
        cases.append((case.get("name", ""), status, output))
    return cases


def failed(cases):
    return [(name, status, output) for name, status, output in cases if status not in ("run", "notrun", "disabled")]


def timed_out(console):
    """The names of the tests ctest reported as timed out."""
    with open(console, errors="replace") as f:
        return set(re.findall(r"Test +#\d+: (\S+) \.*\*+Timeout", f.read()))


def why(status, output, timeout):
    """Why a failure may be tried again, or None when it is the test's own."""
    for sign in WINE_DROPS:
        if sign in output:
            return "Wine's connection to its server dropped (%s)" % sign
    if timeout and "[  PASSED  ]" in output and "[  FAILED  ]" not in output:
        return "the test passed, then its process did not exit before the time-out"
    return None


def last_line(output):
    lines = [line for line in output.strip().splitlines() if line.strip()]
    return lines[-1].strip() if lines else "(no output)"


def select(first, console, retry_file):
    own = 0
    names = []
    timeouts = timed_out(console)
    for name, status, output in failed(results(first)):
        reason = why(status, output, name in timeouts)
        if reason:
            print("  may be tried again: %s: %s" % (name, reason))
            names.append(name)
        else:
            print("  FAILED: %s (%s): %s" % (name, "timeout" if name in timeouts else status, last_line(output)))
            own += 1
    with open(retry_file, "w") as f:
        if names:
            f.write("^(%s)$" % "|".join(CTEST_REGEX_SPECIALS.sub(r"\\\1", name) for name in names))
    return 1 if own else 0


def report(first, console, second, log):
    timeouts = timed_out(console)
    reasons = {name: why(status, output, name in timeouts) for name, status, output in failed(results(first))}
    again = {name: status for name, status, _ in results(second)}
    bad = 0
    with open(log, "a") as f:
        for name, reason in sorted(reasons.items()):
            if reason is None or name not in again:
                continue
            passed = again[name] == "run"
            bad += 0 if passed else 1
            f.write("%s: second try %s; first try: %s\n" % (name, "passed" if passed else "FAILED too", reason))
    return 1 if bad else 0


def main(argv):
    if len(argv) == 5 and argv[1] == "select":
        return select(argv[2], argv[3], argv[4])
    if len(argv) == 6 and argv[1] == "report":
        return report(argv[2], argv[3], argv[4], argv[5])
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
