#!/usr/bin/env python3
"""Reads the version information and the manifest of a Windows .exe or .dll
on any system, straight from the file's resource section.

Usage:
  pe-resources.py version FILE    prints the VERSIONINFO, one "key=value" a line:
                                  FixedFileVersion=a.b.c.d, FixedProductVersion=a.b.c.d,
                                  FileType=app|dll|N, then String.<Name>=<value> for
                                  every string of the first string table
  pe-resources.py manifest FILE   prints the RT_MANIFEST resource's text
  pe-resources.py manifest-summary FILE
                                  parses that manifest as XML and prints what
                                  Windows reads from it, one "key=value" a line:
                                  identity (name and version), architecture
                                  (its processorArchitecture, when given),
                                  dependency (name and version),
                                  requestedExecutionLevel, supportedOS (one line
                                  each), and every windowsSettings element

Exit codes: 0 done, 1 the file has no such resource, 2 the file is not a
readable PE image (truncated, damaged or not a PE file at all).
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_VERSION = 16
RT_MANIFEST = 24
FIXED_SIGNATURE = 0xFEEF04BD


class PeError(Exception):
    """The file is not a PE image this reader can follow."""


class NotFound(Exception):
    """The image holds no resource of the kind asked for."""


def _unpack(fmt, data, offset):
    size = struct.calcsize(fmt)
    if offset < 0 or offset + size > len(data):
        raise PeError("truncated at offset %d (needs %d bytes)" % (offset, size))
    return struct.unpack_from(fmt, data, offset)


def _sections(data):
    """The section table as (virtual address, virtual size, raw offset, raw size),
    and the resource directory's RVA and size."""
    if data[:2] != b"MZ":
        raise PeError("no MZ header")
    (pe_offset,) = _unpack("<I", data, 0x3C)
    if data[pe_offset:pe_offset + 4] != b"PE\0\0":
        raise PeError("no PE signature")
    coff = pe_offset + 4
    _, section_count, _, _, _, optional_size, _ = _unpack("<HHIIIHH", data, coff)
    optional = coff + 20
    (magic,) = _unpack("<H", data, optional)
    if magic == 0x20B:  # PE32+
        directories = optional + 112
        (directory_count,) = _unpack("<I", data, optional + 108)
    elif magic == 0x10B:  # PE32
        directories = optional + 96
        (directory_count,) = _unpack("<I", data, optional + 92)
    else:
        raise PeError("unknown optional header magic 0x%x" % magic)
    if directory_count <= 2:
        raise NotFound("no resource directory")
    resource_rva, resource_size = _unpack("<II", data, directories + 2 * 8)
    table = optional + optional_size
    sections = []
    for i in range(section_count):
        entry = table + 40 * i
        vsize, vaddr, raw_size, raw_offset = _unpack("<IIII", data, entry + 8)
        sections.append((vaddr, max(vsize, raw_size), raw_offset, raw_size))
    return sections, resource_rva, resource_size


def _file_offset(sections, rva, length, data):
    for vaddr, vsize, raw_offset, raw_size in sections:
        if vaddr <= rva and rva + length <= vaddr + vsize:
            inside = rva - vaddr
            if inside + length > raw_size or raw_offset + inside + length > len(data):
                raise PeError("resource data at RVA 0x%x lies outside the file" % rva)
            return raw_offset + inside
    raise PeError("RVA 0x%x is in no section" % rva)


def resources(data, wanted_type):
    """Every resource of one numeric type, as (id, language, bytes), in
    directory order."""
    sections, root_rva, root_size = _sections(data)
    if root_rva == 0 or root_size == 0:
        raise NotFound("no resource directory")
    root = _file_offset(sections, root_rva, 16, data)

    def entries(directory):
        named, numbered = _unpack("<HH", data, directory + 12)
        for i in range(named + numbered):
            ident, target = _unpack("<II", data, directory + 16 + 8 * i)
            yield ident, target

    def subdirectory(target):
        if not target & 0x80000000:
            raise PeError("a directory entry points at data where a directory belongs")
        offset = target & 0x7FFFFFFF
        if offset >= root_size:
            raise PeError("resource directory entry points outside the resource section")
        return root + offset

    found = []
    for type_id, type_target in entries(root):
        if type_id != wanted_type:
            continue
        names = subdirectory(type_target)
        for name_id, name_target in entries(names):
            languages = subdirectory(name_target)
            for language, data_target in entries(languages):
                if data_target & 0x80000000:
                    raise PeError("a language entry points at a directory")
                if data_target >= root_size:
                    raise PeError("resource data entry outside the resource section")
                rva, size, _, _ = _unpack("<IIII", data, root + data_target)
                start = _file_offset(sections, rva, size, data)
                found.append((name_id, language, bytes(data[start:start + size])))
    if not found:
        raise NotFound("no resource of type %d" % wanted_type)
    return found


def _align4(offset):
    return (offset + 3) & ~3


def _block(data, offset, end):
    """One VS_VERSIONINFO-style block: (key, value offset, value length in
    bytes, wType, children offset, block end)."""
    length, value_length, kind = _unpack("<HHH", data, offset)
    block_end = offset + length
    if length < 6 or block_end > end:
        raise PeError("version block at %d overruns its parent" % offset)
    key_start = offset + 6
    key_end = key_start
    while True:
        if key_end + 2 > block_end:
            raise PeError("version block key is not terminated")
        if data[key_end:key_end + 2] == b"\0\0":
            break
        key_end += 2
    key = data[key_start:key_end].decode("utf-16-le")
    value = _align4(key_end + 2)
    # wValueLength counts words for text values (wType 1), bytes otherwise.
    value_bytes = value_length * 2 if kind == 1 else value_length
    if value + value_bytes > block_end:
        raise PeError("version value of %r overruns its block" % key)
    children = _align4(value + value_bytes)
    return key, value, value_bytes, kind, children, block_end


def _children(data, offset, end):
    while offset < end:
        block = _block(data, offset, end)
        yield block
        offset = _align4(block[5])


def version_info(data):
    """The first VERSIONINFO resource as a list of (key, value) pairs."""
    blob = resources(data, RT_VERSION)[0][2]
    key, value, value_bytes, _, children, end = _block(blob, 0, len(blob))
    if key != "VS_VERSION_INFO":
        raise PeError("version resource starts with %r" % key)
    if value_bytes < 52:
        raise PeError("no VS_FIXEDFILEINFO")
    fixed = _unpack("<13I", blob, value)
    if fixed[0] != FIXED_SIGNATURE:
        raise PeError("VS_FIXEDFILEINFO signature is 0x%08x" % fixed[0])

    def four(high, low):
        return "%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)

    file_type = {1: "app", 2: "dll"}.get(fixed[9], str(fixed[9]))
    pairs = [("FixedFileVersion", four(fixed[2], fixed[3])),
             ("FixedProductVersion", four(fixed[4], fixed[5])),
             ("FileType", file_type)]
    for child_key, _, _, _, tables, child_end in _children(blob, children, end):
        if child_key != "StringFileInfo":
            continue
        for _, _, _, _, strings, table_end in _children(blob, tables, child_end):
            for name, text, text_bytes, _, _, _ in _children(blob, strings, table_end):
                raw = blob[text:text + text_bytes].decode("utf-16-le")
                pairs.append(("String." + name, raw.rstrip("\0")))
            break  # the first string table only
    return pairs


def manifest(data):
    text = resources(data, RT_MANIFEST)[0][2]
    return text.decode("utf-8-sig")


def _local(tag):
    return tag.rsplit("}", 1)[-1]


def manifest_summary(text):
    """What a manifest declares, as (key, value) pairs."""
    try:
        root = ElementTree.fromstring(text.encode("utf-8"))
    except ElementTree.ParseError as e:
        raise PeError("the manifest is not well-formed XML: %s" % e)
    if _local(root.tag) != "assembly":
        raise PeError("the manifest's root is <%s>, not <assembly>" % _local(root.tag))

    def identity(element):
        return "%s %s" % (element.get("name", ""), element.get("version", ""))

    pairs = []
    for child in root:
        if _local(child.tag) == "assemblyIdentity":
            pairs.append(("identity", identity(child)))
            if child.get("processorArchitecture") is not None:
                pairs.append(("architecture", child.get("processorArchitecture")))
    for element in root.iter():
        name = _local(element.tag)
        if name == "description":
            pairs.append(("description", (element.text or "").strip()))
        elif name == "dependentAssembly":
            pairs += [("dependency", identity(child)) for child in element if _local(child.tag) == "assemblyIdentity"]
        elif name == "requestedExecutionLevel":
            pairs.append(("requestedExecutionLevel", element.get("level", "")))
        elif name == "supportedOS":
            pairs.append(("supportedOS", element.get("Id", "")))
        elif name == "windowsSettings":
            pairs += [(_local(setting.tag), (setting.text or "").strip()) for setting in element]
    return pairs


def main(argv):
    if len(argv) != 3 or argv[1] not in ("version", "manifest", "manifest-summary"):
        sys.stderr.write(__doc__)
        return 2
    try:
        with open(argv[2], "rb") as f:
            data = f.read()
        if argv[1] == "version":
            for key, value in version_info(data):
                print("%s=%s" % (key, value))
        elif argv[1] == "manifest":
            sys.stdout.write(manifest(data))
        else:
            for key, value in manifest_summary(manifest(data)):
                print("%s=%s" % (key, value))
        return 0
    except NotFound as e:
        sys.stderr.write("%s: %s\n" % (argv[2], e))
        return 1
    except (PeError, UnicodeDecodeError, OSError) as e:
        sys.stderr.write("%s: not a readable PE image: %s\n" % (argv[2], e))
        return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
