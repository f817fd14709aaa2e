#!/usr/bin/python3
# The peer of `zorvika-cli list --json` in bench_corpus: one Python process that lists the resources
# of every file named on its command line with pefile (Debian package python3-pefile), one JSON
# document a line: every type, name and language with its size. Only the headers and the resource
# directory are parsed (fast_load, then that one directory), as zorvika-cli reads only those.
import json
import sys

import pefile

RESOURCE = pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]


def identifier(entry):
    return entry.id if entry.name is None else str(entry.name)


def main():
    out = sys.stdout
    for path in sys.argv[1:]:
        try:
            pe = pefile.PE(path, fast_load=True)
            pe.parse_data_directories(directories=[RESOURCE])
        except Exception as error:  # not a PE file, or a broken one: said, and the run goes on
            out.write(json.dumps({"file": path, "error": str(error)}) + "\n")
            continue
        resources = []
        directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
        for t in directory.entries if directory is not None else []:
            for n in t.directory.entries:
                for lang in n.directory.entries:
                    resources.append({"type": identifier(t), "name": identifier(n), "language": lang.id,
                                      "size": lang.data.struct.Size})
        out.write(json.dumps({"file": path, "resources": resources}) + "\n")
        pe.close()


main()
