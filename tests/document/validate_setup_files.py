#!/usr/bin/env python3
"""Checks setup files against data/orvela-setup.schema.json: every file the setup-file tests
save (the tests run with ORVELA_SCHEMA_SAMPLES pointing at a fresh folder) and every example.

usage: validate_setup_files.py <document test binary> <schema> <examples folder>
"""
import copy
import json
import os
import pathlib
import subprocess
import sys
import tempfile

import jsonschema


def main():
    tests, schema_path, examples = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    schema = json.loads(schema_path.read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)

    with tempfile.TemporaryDirectory() as samples:
        subprocess.run([tests, "--gtest_filter=SetupFile.*:SetupDocument.*"], check=True,
                       stdout=subprocess.DEVNULL, env=dict(os.environ, ORVELA_SCHEMA_SAMPLES=samples))
        saved = sorted(pathlib.Path(samples).glob("*.orvela"))
        files = saved + sorted(examples.glob("*.orvela"))
        if len(saved) < 2 or not any(f.parent == examples for f in files):
            print(f"too few files to check: {[str(f) for f in files]}")
            return 1
        failures = 0
        documents = []
        for f in files:
            doc = json.loads(f.read_text(encoding="utf-8"))
            documents.append(doc)
            for error in validator.iter_errors(doc):
                failures += 1
                print(f"{f.name}: /{'/'.join(map(str, error.absolute_path))}: {error.message}")

    # The schema is no blank cheque: what the reader refuses, it refuses too.
    full = next(d for d in documents if d.get("teeth") and "geometry" in d["teeth"][0])
    broken = []
    for change in (lambda d: d.update(version=3), lambda d: d.update(extra=1),
                   lambda d: d["wires"][0].update(bends=[{"kind": "V", "position": 1, "angle": 0.1}]),
                   lambda d: d["wires"][0].update(bends=[{"kind": "step", "position": 0.5}]),
                   lambda d: d["teeth"][0].update(type=37),
                   lambda d: d["teeth"][0]["geometry"]["cusp"].append(0),
                   lambda d: d["teeth"][0].update(angulation=3),
                   lambda d: d["wires"][0]["ends"].pop()):
        doc = copy.deepcopy(full)
        change(doc)
        broken.append(doc)
    for i, doc in enumerate(broken):
        if validator.is_valid(doc):
            failures += 1
            print(f"broken document {i} passes the schema")
    print(f"{len(files)} files checked, {failures} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
