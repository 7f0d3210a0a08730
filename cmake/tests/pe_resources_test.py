#!/usr/bin/env python3
"""Tests of pe-resources.py against a DLL of known resources (version_probe.dll,
built from version_probe.rc), and against damaged copies of it.
Usage: pe_resources_test.py PATH/TO/version_probe.dll"""
import contextlib
import io
import os
import struct
import sys
import tempfile
import types
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
# The reader's file name has a dash, so it is loaded by path, not imported.
_READER = os.path.join(HERE, "..", "pe-resources.py")
pe = types.ModuleType("pe_resources")
with open(_READER) as _source:
    exec(compile(_source.read(), _READER, "exec"), pe.__dict__)

PROBE = None  # set from the command line

PROBE_VERSION = [
    ("FixedFileVersion", "1.2.3.4"),
    ("FixedProductVersion", "5.6.65535.8"),
    ("FileType", "dll"),
    ("String.FileDescription", "A probe = with an equals sign"),
    ("String.FileVersion", "1.2.3.4"),
    ("String.Empty", ""),
    ("String.OriginalFilename", "version_probe.dll"),
]

PROBE_MANIFEST = [
    ("identity", "Probe.Assembly 1.2.3.4"),
    ("architecture", "x86"),
    ("description", "The probe"),
    ("dependency", "Some.Dependency 9.8.7.6"),
    ("requestedExecutionLevel", "highestAvailable"),
    ("supportedOS", "{00000000-0000-0000-0000-000000000001}"),
    ("supportedOS", "{00000000-0000-0000-0000-000000000002}"),
    ("activeCodePage", "UTF-8"),
    ("dpiAware", "true/pm"),
]


def run(command, data):
    """Runs the reader's main() on the bytes given: (exit code, stdout, stderr)."""
    with tempfile.NamedTemporaryFile(suffix=".dll", delete=False) as f:
        f.write(data)
        path = f.name
    out, err = io.StringIO(), io.StringIO()
    try:
        with contextlib.redirect_stdout(out), contextlib.redirect_stderr(err):
            code = pe.main(["pe-resources.py", command, path])
    finally:
        os.unlink(path)
    return code, out.getvalue(), err.getvalue()


def probe_bytes():
    with open(PROBE, "rb") as f:
        return f.read()


class ReaderOnTheProbe(unittest.TestCase):
    def test_reads_the_fixed_versions_the_type_and_the_first_string_table_exactly(self):
        self.assertEqual(pe.version_info(probe_bytes()), PROBE_VERSION)
        code, out, err = run("version", probe_bytes())
        self.assertEqual((code, err), (0, ""))
        self.assertEqual(out, "".join("%s=%s\n" % pair for pair in PROBE_VERSION))

    def test_reads_what_the_manifest_declares_whatever_its_namespaces(self):
        self.assertEqual(pe.manifest_summary(pe.manifest(probe_bytes())), PROBE_MANIFEST)
        with open(os.path.join(HERE, "version_probe.manifest"), encoding="utf-8") as f:
            self.assertEqual(run("manifest", probe_bytes())[1], f.read())

    def test_a_manifest_that_is_not_well_formed_or_not_an_assembly_is_refused(self):
        for text in ["<assembly><unclosed></assembly>", "", '<?xml version="1.0"?><other/>']:
            with self.subTest(text=text):
                with self.assertRaises(pe.PeError):
                    pe.manifest_summary(text)


class ReaderOnDamagedFiles(unittest.TestCase):
    def assert_refused(self, data, code, words):
        got, out, err = run("version", data)
        self.assertEqual(got, code, err)
        self.assertEqual(out, "")
        self.assertIn(words, err)
        self.assertNotIn("Traceback", err)

    def test_not_a_pe_file_an_empty_file_and_a_missing_file(self):
        self.assert_refused(b"plain text, no header at all", 2, "no MZ header")
        self.assert_refused(b"", 2, "no MZ header")
        err = io.StringIO()
        with contextlib.redirect_stderr(err):
            code = pe.main(["pe-resources.py", "version", os.path.join(HERE, "no-such-file.dll")])
        self.assertEqual(code, 2)
        self.assertIn("not a readable PE image", err.getvalue())

    def test_a_file_cut_anywhere_reads_in_full_or_is_refused_cleanly(self):
        data = probe_bytes()
        full = run("version", data)
        sections, rva, size = pe._sections(data)
        resource_start = pe._file_offset(sections, rva, size, data)
        blob = pe.resources(data, pe.RT_VERSION)[0][2]
        version_end = data.find(blob) + len(blob)
        self.assertGreater(version_end, resource_start)
        cuts = set(range(0, len(data), max(1, len(data) // 300)))
        cuts |= set(range(resource_start, version_end))
        refused = 0
        for cut in sorted(cuts):
            code, out, err = run("version", data[:cut])
            self.assertNotIn("Traceback", err)
            if code == 0:
                self.assertEqual((code, out, err), full, "cut at %d" % cut)
            else:
                self.assertIn(code, (1, 2), "cut at %d" % cut)
                self.assertEqual(out, "")
                if resource_start <= cut < version_end:
                    refused += 1
        # a cut between the resource directory and the end of the version data
        # always loses part of what the reader needs
        self.assertEqual(refused, version_end - resource_start)

    def test_a_wrong_fixed_info_signature_is_refused(self):
        data = bytearray(probe_bytes())
        at = data.find(struct.pack("<I", pe.FIXED_SIGNATURE))
        self.assertGreater(at, 0)
        data[at] ^= 0xFF
        self.assert_refused(bytes(data), 2, "signature")

    def test_an_image_without_a_resource_directory_has_no_version(self):
        data = bytearray(probe_bytes())
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        optional = pe_offset + 24
        self.assertEqual(struct.unpack_from("<H", data, optional)[0], 0x20B)
        struct.pack_into("<II", data, optional + 112 + 2 * 8, 0, 0)
        self.assert_refused(bytes(data), 1, "no resource directory")

    def test_a_directory_entry_pointing_outside_the_resources_is_refused(self):
        data = bytearray(probe_bytes())
        sections, rva, size = pe._sections(bytes(data))
        root = pe._file_offset(sections, rva, 16, bytes(data))
        named, numbered = struct.unpack_from("<HH", data, root + 12)
        for i in range(named + numbered):
            struct.pack_into("<I", data, root + 16 + 8 * i + 4, 0x80000000 | 0x7FFFFFF0)
        self.assert_refused(bytes(data), 2, "outside the resource section")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    PROBE = sys.argv.pop(1)
    unittest.main(verbosity=2)
