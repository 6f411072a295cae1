#!/usr/bin/python3
"""Compares the titles and versions a folder view showed for DLLs with what pefile reads from the same files.

Usage: check-versions.py <rows.json> <drive_c folder of the Wine prefix>

rows.json: [{"path": "C:\\windows\\system32\\x.dll", "title": ..., "version": ...}, ...], one per row the view
showed. Paths on C: are read under the prefix's drive_c, paths on Z: from the root. Checked: the rows are
exactly the folder's .dll files; each title is the first FileDescription of the file's version resource and
each version the fixed file version "a.b.c.d"; both empty when the file has no version resource.
Runs with Debian's /usr/bin/python3 and python3-pefile. Exits 1 when anything differs, listing every row.
"""
import json
import os
import sys

import pefile


def unix_path(windows_path, drive_c):
    drive, rest = windows_path[:2].upper(), windows_path[2:].replace("\\", "/")
    if drive == "C:":
        return drive_c + rest
    if drive == "Z:":
        return rest
    raise ValueError(f"no Unix folder for {windows_path}")


def resolve_case(path):
    """The file's real name: Windows paths ignore case, the Unix file system does not."""
    if os.path.exists(path):
        return path
    folder, name = os.path.split(path)
    folder = resolve_case(folder)
    for entry in os.listdir(folder):
        if entry.lower() == name.lower():
            return os.path.join(folder, entry)
    return path


def version_texts(path):
    """(first FileDescription, fixed file version) of the file; two empty texts without a version resource."""
    pe = pefile.PE(path, fast_load=True)
    try:
        pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
        if not hasattr(pe, "VS_FIXEDFILEINFO"):
            return "", ""
        fixed = pe.VS_FIXEDFILEINFO[0]
        version = "%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                                   fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
        title = ""
        found = False
        for file_info in getattr(pe, "FileInfo", []):
            for entry in file_info:
                for table in getattr(entry, "StringTable", []):
                    if not found and b"FileDescription" in table.entries:
                        title = table.entries[b"FileDescription"].decode("utf-8", "replace")
                        found = True
        return title, version
    finally:
        pe.close()


def main():
    rows_file, drive_c = sys.argv[1], sys.argv[2].rstrip("/")
    with open(rows_file, encoding="utf-8") as f:
        rows = json.load(f)
    problems = []
    folders = {os.path.dirname(unix_path(row["path"], drive_c)) for row in rows}
    if len(folders) != 1:
        problems.append(f"rows from {len(folders)} folders, expected one")
    else:
        folder = resolve_case(folders.pop())
        on_disk = sorted(name.lower() for name in os.listdir(folder)
                         if name.lower().endswith(".dll") and os.path.isfile(os.path.join(folder, name)))
        shown = sorted(row["path"].rsplit("\\", 1)[1].lower() for row in rows)
        if on_disk != shown:
            problems.append(f"files: missing {sorted(set(on_disk) - set(shown))}, "
                            f"extra {sorted(set(shown) - set(on_disk))}")
    for row in rows:
        title, version = version_texts(resolve_case(unix_path(row["path"], drive_c)))
        if (row["title"], row["version"]) != (title, version):
            problems.append(f"{row['path']}: shown {row['title']!r} {row['version']!r}, "
                            f"pefile {title!r} {version!r}")
    for problem in problems:
        print(problem)
    print(f"{len(rows)} rows, {len(problems)} differences")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
